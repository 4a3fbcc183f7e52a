// analysis_pass.h: runs the detector down the file list and writes one label per file.
#pragma once

#include <chrono>
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

// How many worker threads read files ahead of the pass: `first` start with
// it. Whenever the pass finds the file it needs still being read, and reads
// take `slow_read` or longer on average (they wait on the storage, not on a
// processor), the pool doubles, up to `most` and never past the files not
// yet taken; a step that reads no faster is taken back, and growing stops.
// Files in the page cache keep the first few; a share or a disk that
// answers many opens at once, each after a round trip, gets the most.
// pass_bench measures the choice. `most` is bounded by the 32-bit program's
// address space: each thread reserves a 1 MB stack there.
struct ReadAheadPool {
  int first;
  int most;
  std::chrono::microseconds slow_read = std::chrono::microseconds(100);
};
inline constexpr ReadAheadPool kReadAheadPool = {8, 48};

// kReadAheadPool where opens on several threads overlap; where they cannot
// (under Wine, whose one wineserver process performs every open), its first
// size only, since a larger pool would cost its threads' starts for nothing.
[[nodiscard]] ReadAheadPool DefaultReadAheadPool() noexcept;

// Row i of List1 becomes current (its selection handler runs), its file is
// examined, and the label is written as row i of List2, row after row on the
// caller's thread. The worker threads of `pool` read the files ahead, in
// order of index; none outlives the call, none starts for fewer than two
// rows, and with none the caller reads every file itself. List1
// must not change while the pass runs. Command2 is disabled at the end, also
// when List1 was empty. `unreadable`, if given, becomes the reasons for
// the rows labelled unreadable.
void RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassProgress& progress = {},
                     ReadAheadPool pool = DefaultReadAheadPool(), UnreadableRows* unreadable = nullptr);

}  // namespace kavren
