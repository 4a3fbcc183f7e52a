// analysis_pass.h: runs the detector down the file list and writes one label per file.
#pragma once

#include <functional>
#include <map>
#include <string_view>

#include "common/command_button.h"
#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The text shown in the result list for a code.
[[nodiscard]] StaticText LabelForCode(EncodingCode code) noexcept;

// One or two sentences on what a label of LabelForCode means; empty for
// any other text.
[[nodiscard]] std::wstring_view LabelMeaning(std::wstring_view label) noexcept;

// Why a file was unreadable, in a sentence; for kOther only a general one,
// since the system's message for the error belongs to the platform.
[[nodiscard]] std::wstring_view FailureText(FailureKind kind) noexcept;

// The unreadable rows of a pass, by index, and why each was not read.
using UnreadableRows = std::map<RowIndex, ReadFailure>;

// Told after each row is labelled: how many rows are done, of how many.
using PassProgress = std::function<void(RowIndex done, RowIndex total)>;

// How many files a pass reads at once, besides the window's thread. Disks,
// USB sticks and shares answer many requests at once far sooner than one
// after another, and under Wine the round trips to wineserver overlap; sized
// for that, not for cores (pass_bench and window_bench measure the choice).
inline constexpr int kReadAheadThreads = 8;

// Row i of List1 becomes current (its selection handler runs), its file is
// examined, and the label is written as row i of List2, row after row on the
// caller's thread. Up to `read_ahead_threads` worker threads read the files
// ahead, in order of index; none outlives the call, none starts for fewer
// than two rows, and with none the caller reads every file itself. List1
// must not change while the pass runs. Command2 is disabled at the end, also
// when List1 was empty. `unreadable`, if given, becomes the reasons for
// the rows labelled unreadable.
void RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassProgress& progress = {},
                     int read_ahead_threads = kReadAheadThreads, UnreadableRows* unreadable = nullptr);

}  // namespace kavren
