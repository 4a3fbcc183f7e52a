// analysis_pass.cpp: the batch pass behind the analyse button, and the threads that read ahead of it.
#include "analysis/analysis_pass.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/file_access.h"
#include "analysis/module1.h"

namespace kavren {
namespace {

// All that the workers touch, in one block that each of them holds: a
// worker that a stopped pass leaves behind in a read keeps it alive until
// the read returns, and then finds the pass gone. The answers are a byte
// per row: 0 while the row's file is unread, else its code + 1 in the low
// three bits, its content verdict above them, and kNoted set when the row
// has a note. Rows are handed out in order of index.
struct SharedReads {
  SharedReads(PassPaths files, FileReader reader)
      : paths(std::move(files)),
        count(static_cast<RowIndex>(paths->size())),
        read(std::move(reader)),
        answers(std::make_unique<std::atomic<std::uint8_t>[]>(static_cast<std::size_t>(count))) {}

  // Reads the next row nobody has taken; false once there is none, or the pass is over.
  bool ReadNext();
  // The rows no thread has begun to read.
  [[nodiscard]] RowIndex Untaken() const noexcept { return count - std::min(next.load(), count); }

  static constexpr std::uint8_t kNoted = 0x80;
  static constexpr std::uint8_t kHeadOnly = 0x40;
  static constexpr int kContentShift = 3;
  static constexpr std::uint8_t kCodeBits = 0x07;

  // Set before any worker starts; read by all.
  const PassPaths paths;
  const RowIndex count;
  const FileReader read;
  // Each row's byte is stored once, by the worker that read it; read by the pass's thread.
  std::unique_ptr<std::atomic<std::uint8_t>[]> answers;
  std::atomic<RowIndex> next = 0;  // taken and moved on by each worker
  // Set by the pass's thread as the pool grows or shrinks; workers with a
  // lower index may read on.
  std::atomic<int> allowed = 0;
  std::atomic<bool> over = false;          // set once, by the pass's thread, as it lets the workers go
  std::atomic<std::int64_t> reads = 0;     // added to by each worker after each read
  std::atomic<std::int64_t> read_ns = 0;   // the same, with the read's time
  std::atomic<RowIndex> awaited = kNoRow;  // set and cleared by the pass's thread, the row it sleeps for
  std::mutex answered_mutex;               // with `answered`, wakes the pass's thread
  std::condition_variable answered;
  std::mutex notes_mutex;  // guards `notes`
  RowNotes notes;          // added to by the worker that read the row; read by the pass's thread
};

bool SharedReads::ReadNext() {
  if (over.load()) return false;
  const RowIndex row = next.fetch_add(1);
  if (row >= count) return false;
  EncodingCode code = EncodingCode::kUnreadable;
  ReadFailure failure;
  ContentVerdict content;
  const auto start = std::chrono::steady_clock::now();
  bool noted = false;
  try {
    // The full path the row was chosen with, not its bare name: the
    // current directory says nothing about where a file came from.
    code = read ? read((*paths)[static_cast<std::size_t>(row)], failure, content)
                : GetFileEncoding((*paths)[static_cast<std::size_t>(row)], failure, &content);
    // Few rows fail, are empty or online only, so one lock for them costs the others nothing.
    if (code == EncodingCode::kUnreadable || failure.kind != FailureKind::kNone) {
      const std::lock_guard lock(notes_mutex);
      notes.emplace(row, failure);
      noted = true;
    }
  } catch (...) {
    // Out of memory for a path's conversion: that file was not read.
    code = EncodingCode::kUnreadable;
  }
  read_ns.fetch_add((std::chrono::steady_clock::now() - start).count(), std::memory_order_relaxed);
  reads.fetch_add(1, std::memory_order_relaxed);
  answers[row].store(static_cast<std::uint8_t>((static_cast<int>(code) + 1) |
                                               (static_cast<int>(content.kind) << kContentShift) |
                                               (content.head_only ? kHeadOnly : 0) | (noted ? kNoted : 0)));
  // The waiter names its row before it checks the answer, and the answer
  // is stored before the name is read: either it sees the answer, or it
  // is seen waiting, and the lock then wakes it no sooner than it sleeps.
  if (awaited.load() == row) {
    const std::lock_guard lock(answered_mutex);
    answered.notify_one();
  }
  return true;
}

// How often the pass's thread yields to the workers before it sleeps until its row is read.
constexpr int kTurnsBeforeSleep = 16;

// The pass's side of the read-ahead. Only the pass's own thread starts,
// counts, retires, joins and leaves the workers.
class ReadAhead {
 public:
  ReadAhead(PassPaths paths, ReadAheadPool pool, FileReader read)
      : pool_(Sized(pool)), shared_(std::make_shared<SharedReads>(std::move(paths), std::move(read))) {
    workers_.reserve(static_cast<std::size_t>(pool_.most));
    Grow(pool_.first);
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  ~ReadAhead() { LetGo(false); }

  // After a full pass every worker is about to end and is joined; after a
  // stop none is waited for: a worker may be stuck in a read.
  void LetGo(bool full) {
    shared_->over.store(true);
    for (std::thread& worker : workers_) {
      if (!worker.joinable()) continue;
      if (full) {
        worker.join();
      } else {
        worker.detach();
      }
    }
  }

  // False once no worker is left to read, none could be started, or none
  // was allowed: the pass's own thread never reads, since a read could keep
  // it, and so Esc or a close, waiting for as long as the storage likes.
  [[nodiscard]] bool Reading() const noexcept { return active_ > 0; }

  // The code of `row`, or nullopt if it is not read within `slice`; the
  // row's note, if it has one, goes to `note`, and its verdict to `content`.
  [[nodiscard]] std::optional<EncodingCode> Answer(RowIndex row, std::chrono::milliseconds slice, ReadFailure& note,
                                                   ContentVerdict& content) {
    SharedReads& reads = *shared_;
    // Files in the page cache are read in microseconds: giving the processor
    // to the workers a few times costs less than a sleep and a wake-up.
    for (int turn = 0; turn < kTurnsBeforeSleep && reads.answers[row].load() == 0; ++turn) std::this_thread::yield();
    if (reads.answers[row].load() == 0) {
      Adapt();
      // Not std::atomic::wait: MinGW's C++ library loses a wake-up there
      // now and then (GCC bug 106183), and has no timed form.
      std::unique_lock lock(reads.answered_mutex);
      reads.awaited.store(row);
      const bool read = reads.answered.wait_for(lock, slice, [&] { return reads.answers[row].load() != 0; });
      reads.awaited.store(kNoRow);
      if (!read) return std::nullopt;
    }
    const std::uint8_t answer = reads.answers[row].load();
    if (answer & SharedReads::kNoted) {
      const std::lock_guard lock(reads.notes_mutex);
      note = reads.notes.at(row);
    }
    content = {static_cast<ContentKind>((answer & ~(SharedReads::kNoted | SharedReads::kHeadOnly)) >>
                                        SharedReads::kContentShift),
               (answer & SharedReads::kHeadOnly) != 0};
    return static_cast<EncodingCode>((answer & SharedReads::kCodeBits) - 1);
  }

 private:
  // The labels have caught up with the reads: the pool may change size.
  void Adapt() {
    const SharedReads& reads = *shared_;
    const std::int64_t count = reads.reads.load(std::memory_order_relaxed);
    const std::int64_t ns = reads.read_ns.load(std::memory_order_relaxed);
    const ReadSpan now = {active_, count - since_.reads, ns - since_.ns};
    const PoolStep step = NextPoolStep(pool_, now, before_, reads.Untaken());
    if (step.settled) {
      // The workers past the step end after the file each is reading.
      active_ = step.threads;
      shared_->allowed.store(active_, std::memory_order_relaxed);
      pool_.most = active_;
    } else if (step.threads > active_) {
      before_ = now;
      Grow(step.threads - active_);
      since_ = {active_, reads.reads.load(std::memory_order_relaxed), reads.read_ns.load(std::memory_order_relaxed)};
    }
  }

  // Starts up to `more` workers, but no more than `most` in all nor than
  // the rows nobody has taken yet.
  void Grow(int more) {
    SharedReads& reads = *shared_;
    more = static_cast<int>(std::min<RowIndex>({more, pool_.most - active_, reads.Untaken()}));
    reads.allowed.store(active_ + more, std::memory_order_relaxed);
    for (int i = 0; i < more; ++i) {
      try {
        workers_.emplace_back([shared = shared_, index = active_] {
          while (index < shared->allowed.load(std::memory_order_relaxed) && shared->ReadNext()) continue;
        });
        ++active_;
      } catch (const std::system_error&) {
        // The pass goes on with the threads it has, down to none.
        pool_.most = active_;
        reads.allowed.store(active_, std::memory_order_relaxed);
        return;
      }
    }
  }

  static ReadAheadPool Sized(ReadAheadPool pool) noexcept {
    pool.first = std::max(pool.first, 0);
    pool.most = std::max(pool.most, pool.first);
    return pool;
  }

  ReadAheadPool pool_;
  std::shared_ptr<SharedReads> shared_;
  int active_ = 0;   // workers not retired
  ReadSpan since_;   // the counts when the pool last grew
  ReadSpan before_;  // what the reads took at the size before
  std::vector<std::thread> workers_;
};

}  // namespace

ReadAheadPool DefaultReadAheadPool() noexcept {
  return OpensOverlap() ? kReadAheadPool : ReadAheadPool{kReadAheadPool.first, kReadAheadPool.first};
}

PassPaths PathsOf(const RowList& list) {
  auto paths = std::make_shared<std::vector<std::wstring>>();
  paths->reserve(static_cast<std::size_t>(list.RowCount()));
  for (RowIndex row = 0; row < list.RowCount(); ++row) paths->push_back(*list.GetPath(row));
  return paths;
}

BackgroundPass::BackgroundPass(PassPaths paths, ReadAheadPool pool, FileReader read, std::function<void()> over)
    : BackgroundWork(
          [paths = std::move(paths), pool, read = std::move(read)](std::stop_token stop, Outbox& outbox) {
            const auto count = static_cast<RowIndex>(paths->size());
            ReadAhead files(paths, pool, read);
            RowIndex done = 0;
            while (done < count && !stop.stop_requested() && files.Reading()) {
              ReadFailure note;
              ContentVerdict content;
              if (const std::optional<EncodingCode> code = files.Answer(done, kPassWaitSlice, note, content)) {
                outbox.Put([&](PassFindings& found) {
                  found.codes.push_back(*code);
                  found.contents.push_back(content);
                  if (note.kind != FailureKind::kNone) found.notes.emplace(done, note);
                });
                ++done;
              }
            }
            files.LetGo(done == count);
            // Short of the end, neither stopped nor reading: no reader could start.
            return done < count && !stop.stop_requested();
          },
          std::move(over), AtStop::kWait) {}

std::unique_ptr<BackgroundPass> RunAnalysisPass(const RowList& List1, RowList& List2, CommandButton& Command2,
                                                ReadAheadPool pool, FileReader read, std::function<void()> over) {
  List2.Reserve(List1.RowCount());
  Command2.SetEnabled(false);
  return std::make_unique<BackgroundPass>(PathsOf(List1), pool, std::move(read), std::move(over));
}

void LabelRows(RowList& List1, RowList& List2, const std::vector<EncodingCode>& codes, bool follow) {
  for (const EncodingCode code : codes) {
    const RowIndex row = List2.RowCount();
    // Moving the selection raises List1's handler, whose mirror into List2
    // finds no row yet and fails quietly; the pass does not care.
    if (follow) (void)List1.SelectRow(row);
    (void)List2.SetRow(row, LabelForCode(code));
  }
}

RowIndex RunAnalysisPassToEnd(RowList& List1, RowList& List2, CommandButton& Command2, ReadAheadPool pool,
                              FileReader read, RowNotes* notes) {
  std::promise<void> ended;
  const std::unique_ptr<BackgroundPass> pass =
      RunAnalysisPass(List1, List2, Command2, pool, std::move(read), [&ended] { ended.set_value(); });
  ended.get_future().wait();
  BackgroundPass::Taken taken = pass->Take();
  const RowIndex before = List2.RowCount();
  LabelRows(List1, List2, taken.found.codes, true);
  if (notes) *notes = std::move(taken.found.notes);
  return List2.RowCount() - before;
}

}  // namespace kavren
