// analysis_pass.h: runs the detector down the file list and writes one label per file.
#pragma once

#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "analysis/label_texts.h"
#include "analysis/pool_sizing.h"
#include "common/background_work.h"
#include "common/command_button.h"
#include "common/encoding_code.h"
#include "common/row_list.h"

namespace kavren {

// Told after each row is labelled, how many rows are done of how many; and
// while the pass waits for a file, at least every kPassWaitSlice, with the
// same count: the file of row `done` is the one that keeps it waiting.
using PassProgress = std::function<void(RowIndex done, RowIndex total)>;
inline constexpr std::chrono::milliseconds kPassWaitSlice{100};

// What examines one file; GetFileEncoding unless told otherwise.
using FileReader = std::function<EncodingCode(const std::wstring& path, ReadFailure& failure, ContentVerdict& content)>;

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

// The paths a pass examines, taken as it starts: a worker stuck in a read
// holds them, and the window's list may change or go meanwhile.
using PassPaths = std::shared_ptr<const std::vector<std::wstring>>;
[[nodiscard]] PassPaths PathsOf(const RowList& list);

// Told of each row in order of index, as soon as it and every row before it
// are examined: its code, its note if it needs one, and what its first
// bytes hold if it has no mark.
using RowLabelled =
    std::function<void(RowIndex row, EncodingCode code, const ReadFailure* note, ContentVerdict content)>;

// Examines the files of `paths` in order of index, on the caller's thread,
// which never reads a file itself: the worker threads of the pool read them
// ahead. Where none can be started (or the pool allows none), the pass ends
// there, as if stopped. At the end of a full pass none outlives the call. A stopped pass
// tells of no row past the first one not yet read, and leaves behind any
// worker still stuck in a read: it holds only the paths and a block of its
// own, and its answer is dropped. Returns the rows told of.
RowIndex ReadMarks(const PassPaths& paths, const PassOptions& options, const RowLabelled& labelled);

// Writes what the pass found of row `row` as the pass does: row `row` of
// List1 becomes current (its selection handler runs) when `follow`, then the
// label is written as row `row` of List2.
void LabelRow(RowList& List1, RowList& List2, RowIndex row, EncodingCode code, bool follow = true);

// The pass behind Command2 on the caller's thread: ReadMarks over List1's
// paths, each row labelled by LabelRow. Command2 is disabled at the end,
// also when List1 was empty or the pass was stopped. Returns the rows
// labelled.
RowIndex RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassOptions& options = {});

// What a pass found since the window last took it.
struct PassFindings {
  std::vector<EncodingCode> codes;       // of the rows after those taken before, in order
  std::vector<ContentVerdict> contents;  // of the same rows
  RowNotes notes;                        // of those rows
};

// ReadMarks on a thread of its own, for a window that must never wait on
// it. Where the system has no thread to give, for the pass or for its
// readers, it ends before its first file, starved, rather than read on a
// thread that Esc or a close would then wait for.
class BackgroundPass : public BackgroundWork<PassFindings> {
 public:
  BackgroundPass(PassPaths paths, ReadAheadPool pool, FileReader read, std::function<void()> over);
};

}  // namespace kavren
