// analysis_pass.h: runs the detector down the file list and writes one label per file.
#pragma once

#include <functional>
#include <map>
#include <stop_token>
#include <string>

#include "analysis/label_texts.h"
#include "analysis/pool_sizing.h"
#include "common/command_button.h"
#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// The rows of a pass that need a word beside their label, by index: why
// each unreadable file was not read, and which files were empty.
using RowNotes = std::map<RowIndex, ReadFailure>;

// Told after each row is labelled, how many rows are done of how many; and
// while the pass waits for a file, at least every kPassWaitSlice, with the
// same count: the file of row `done` is the one that keeps it waiting.
using PassProgress = std::function<void(RowIndex done, RowIndex total)>;
inline constexpr std::chrono::milliseconds kPassWaitSlice{100};

// What examines one file; GetFileEncoding unless told otherwise.
using FileReader = std::function<EncodingCode(const std::wstring& path, ReadFailure& failure)>;

// kReadAheadPool where opens on several threads overlap; where they cannot
// (under Wine, whose one wineserver process performs every open), its first
// size only, since a larger pool would cost its threads' starts for nothing.
[[nodiscard]] ReadAheadPool DefaultReadAheadPool() noexcept;

struct PassOptions {
  PassProgress progress;
  ReadAheadPool pool = DefaultReadAheadPool();
  // If given, becomes the notes of the rows labelled.
  RowNotes* notes = nullptr;
  // Once requested, the pass ends within kPassWaitSlice, whatever the file
  // it waits for is doing.
  std::stop_token stop;
  FileReader read;
};

// Row i of List1 becomes current (its selection handler runs), its file is
// examined, and the label is written as row i of List2, row after row on the
// caller's thread, which never reads a file itself: the worker threads of
// the pool read them ahead, in order of index. At the end of a full pass
// none outlives the call. A stopped pass labels no row past the first one
// not yet read, and leaves behind any worker still stuck in a read: it
// touches nothing of the caller's, and its answer is dropped. List1 must
// not change while the pass runs. Command2 is disabled at the end, also
// when List1 was empty or the pass was stopped. Returns the rows labelled.
RowIndex RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassOptions& options = {});

}  // namespace kavren
