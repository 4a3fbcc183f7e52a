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

// While the pass waits for a file, it looks at its stop this often.
inline constexpr std::chrono::milliseconds kPassWaitSlice{100};

// What examines one file; GetFileEncoding unless told otherwise.
using FileReader = std::function<EncodingCode(const std::wstring& path, ReadFailure& failure, ContentVerdict& content)>;

// kReadAheadPool where opens on several threads overlap; where they cannot
// (under Wine, whose one wineserver process performs every open), its first
// size only, since a larger pool would cost its threads' starts for nothing.
[[nodiscard]] ReadAheadPool DefaultReadAheadPool() noexcept;

// The paths a pass examines, taken as it starts: a worker stuck in a read
// holds them, and the window's list may change or go meanwhile.
using PassPaths = std::shared_ptr<const std::vector<std::wstring>>;
[[nodiscard]] PassPaths PathsOf(const RowList& list);

// What a pass found since the window last took it.
struct PassFindings {
  std::vector<EncodingCode> codes;       // of the rows after those taken before, in order
  std::vector<ContentVerdict> contents;  // of the same rows
  RowNotes notes;                        // of those rows
};

// The pass on a thread of its own, for a window that must never wait on
// it. Where the system has no thread to give, for the pass or for its
// readers, it ends before its first file, starved, rather than read on a
// thread that Esc or a close would then wait for.
class BackgroundPass : public BackgroundWork<PassFindings> {
 public:
  // Examines the files of `paths` in order of index. Its own thread never
  // reads a file: the workers of the pool read ahead of it, and it waits
  // for the row it needs no longer than kPassWaitSlice at a time. At the
  // end of a full pass no worker outlives it. A stopped pass tells of no
  // row past the first one not yet read, and leaves behind any worker still
  // stuck in a read: it holds only the paths and a block of its own, and
  // its answer is dropped.
  BackgroundPass(PassPaths paths, ReadAheadPool pool, FileReader read, std::function<void()> over);
};

// The pass behind Command2: a BackgroundPass over List1's paths, and
// Command2 disabled, since the run's one pass is used from the moment it
// starts. The caller takes what it finds and writes it with LabelRows.
[[nodiscard]] std::unique_ptr<BackgroundPass> RunAnalysisPass(const RowList& List1, RowList& List2,
                                                              CommandButton& Command2, ReadAheadPool pool,
                                                              FileReader read, std::function<void()> over);

// Writes `codes` after List2's last row as the pass does: each row of List1
// becomes current (its selection handler runs) when `follow`, then its
// label is written as that row of List2.
void LabelRows(RowList& List1, RowList& List2, const std::vector<EncodingCode>& codes, bool follow);

// RunAnalysisPass for a caller that may wait for it (a test, a benchmark):
// until its end, then everything it found written, its notes to `notes` if
// given. Returns the rows labelled.
RowIndex RunAnalysisPassToEnd(RowList& List1, RowList& List2, CommandButton& Command2,
                              ReadAheadPool pool = DefaultReadAheadPool(), FileReader read = {},
                              RowNotes* notes = nullptr);

}  // namespace kavren
