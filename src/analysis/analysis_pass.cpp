// analysis_pass.cpp: the batch pass behind the analyse button, and the threads that read ahead of it.
#include "analysis/analysis_pass.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/file_head.h"
#include "analysis/module1.h"

namespace kavren {
namespace {

// All that the workers touch, in one block that each of them holds: a
// worker that a stopped pass leaves behind in a read keeps it alive until
// the read returns, and then finds the pass gone. The answers are a byte
// per row: 0 while the row's file is unread, else its code + 1. Rows are
// handed out in order of index.
struct SharedReads {
  SharedReads(const RowList& list, FileReader reader, int workers)
      : count(list.RowCount()),
        read(std::move(reader)),
        answers(std::make_unique<std::atomic<std::uint8_t>[]>(static_cast<std::size_t>(count))),
        files(list),
        workers(static_cast<std::size_t>(workers)),
        copying(std::make_unique<Flag[]>(this->workers)) {}

  // `worker` is the reading thread's index, or kPassThread.
  // `path` is the reader's own buffer for the row's path: a copy, since the
  // list may go while the read still waits, and one that is reused, since
  // an allocation a row costs a warm pass a twentieth of its time.
  bool ReadNext(int worker, std::wstring& path) noexcept;
  // The rows no thread has begun to read.
  [[nodiscard]] RowIndex Untaken() const noexcept { return count - std::min(next.load(), count); }
  // From now on no worker touches the caller's list; returns once none does.
  void LetGoOfFiles() noexcept;

  static constexpr int kPassThread = -1;

  const RowIndex count;
  const FileReader read;
  std::unique_ptr<std::atomic<std::uint8_t>[]> answers;
  std::atomic<RowIndex> next = 0;
  std::atomic<int> allowed = 0;  // workers with a lower index may read on
  std::atomic<bool> over = false;
  std::atomic<std::int64_t> reads = 0;
  std::atomic<std::int64_t> read_ns = 0;   // the reads' time, all added up
  std::atomic<RowIndex> awaited = kNoRow;  // the row the pass's own thread sleeps for
  std::mutex answered_mutex;
  std::condition_variable answered;
  std::mutex failures_mutex;
  RowNotes failures;
  // The caller's List1, which the window may clear once the pass has
  // returned. Each worker raises its own flag while it copies a row's path
  // and looks at `over` only then; the pass sets `over` and then waits for
  // the flags to fall, which takes no longer than a copy. A flag a worker
  // of its own, on a line of its own: one lock for all would cost every
  // row of a warm pass a contended round trip.
  const RowList& files;
  const std::size_t workers;
  struct alignas(64) Flag {
    std::atomic<bool> up = false;
  };
  class FlagUp {
   public:
    explicit FlagUp(Flag* flag) noexcept : flag_(flag) {
      if (flag_) flag_->up.store(true);
    }
    FlagUp(const FlagUp&) = delete;
    FlagUp& operator=(const FlagUp&) = delete;
    ~FlagUp() {
      if (flag_) flag_->up.store(false);
    }

   private:
    Flag* flag_;
  };
  std::unique_ptr<Flag[]> copying;
};

void SharedReads::LetGoOfFiles() noexcept {
  over.store(true);
  for (std::size_t i = 0; i < workers; ++i) {
    while (copying[i].up.load()) std::this_thread::yield();
  }
}

bool SharedReads::ReadNext(int worker, std::wstring& path) noexcept {
  if (over.load()) return false;
  const RowIndex row = next.fetch_add(1);
  if (row >= count) return false;
  EncodingCode code = EncodingCode::Unreadable;
  ReadFailure failure;
  const auto start = std::chrono::steady_clock::now();
  try {
    // The full path the row was chosen with, not its bare name: the
    // current directory says nothing about where a file came from.
    bool chosen_path = false;
    bool gone = false;
    {
      // Both stores and both loads are sequentially consistent: either this
      // sees `over`, or the pass sees the flag up and waits for it to fall,
      // which it does on every path out of here, a failed copy included.
      const FlagUp up(worker == kPassThread ? nullptr : &copying[static_cast<std::size_t>(worker)]);
      gone = over.load();
      const std::wstring* chosen = gone ? nullptr : files.GetPath(row);
      if (chosen) path.assign(*chosen);
      chosen_path = chosen != nullptr;
    }
    if (gone) return false;
    if (chosen_path) {
      code = read ? read(path, failure) : GetFileEncoding(path, failure);
    } else {
      failure.kind = FailureKind::kOther;
    }
    // Few rows fail, are empty or online only, so one lock for them costs the others nothing.
    if (code == EncodingCode::Unreadable || failure.kind != FailureKind::kNone) {
      const std::lock_guard lock(failures_mutex);
      failures.emplace(row, failure);
    }
  } catch (...) {
    // Out of memory for a path's copy or conversion: that file was not read.
    code = EncodingCode::Unreadable;
    failure.kind = FailureKind::kOther;
  }
  read_ns.fetch_add((std::chrono::steady_clock::now() - start).count(), std::memory_order_relaxed);
  reads.fetch_add(1, std::memory_order_relaxed);
  answers[row].store(static_cast<std::uint8_t>(static_cast<int>(code) + 1));
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
  ReadAhead(const RowList& files, ReadAheadPool pool, FileReader read)
      : pool_(Sized(pool)), shared_(std::make_shared<SharedReads>(files, std::move(read), pool_.most)) {
    workers_.reserve(static_cast<std::size_t>(pool_.most));
    Grow(pool_.first);
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;
  ~ReadAhead() { LetGo(false); }

  // The code of `row`, or nullopt if it is not read within `slice`.
  [[nodiscard]] std::optional<EncodingCode> Answer(RowIndex row, std::chrono::milliseconds slice) {
    SharedReads& reads = *shared_;
    if (active_ == 0) {
      // No thread could be started: the pass reads on by itself.
      std::wstring path;
      while (reads.next.load() <= row && reads.ReadNext(SharedReads::kPassThread, path)) continue;
    }
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
    return static_cast<EncodingCode>(reads.answers[row].load() - 1);
  }

  // Ends the read-ahead once `done` rows are labelled, and returns the notes
  // of those rows.
  [[nodiscard]] RowNotes Finish(RowIndex done) {
    SharedReads& reads = *shared_;
    LetGo(done == reads.count);
    const std::lock_guard lock(reads.failures_mutex);
    RowNotes failures;
    for (auto it = reads.failures.begin(); it != reads.failures.end() && it->first < done; ++it) {
      failures.insert(*it);
    }
    return failures;
  }

 private:
  // After a full pass every worker is about to end and is joined; after a
  // stop none is waited for.
  void LetGo(bool full) {
    shared_->LetGoOfFiles();
    for (std::thread& worker : workers_) {
      if (!worker.joinable()) continue;
      if (full) {
        worker.join();
      } else {
        worker.detach();
      }
    }
  }

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
          std::wstring path;
          while (index < shared->allowed.load(std::memory_order_relaxed) && shared->ReadNext(index, path)) continue;
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

  // One worker at least: a read on the pass's own thread could keep it from
  // the window for as long as the storage likes.
  static ReadAheadPool Sized(ReadAheadPool pool) noexcept {
    pool.first = std::max(pool.first, 1);
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

RowIndex RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassOptions& options) {
  const RowIndex count = List1.RowCount();
  List2.Reserve(count);
  ReadAhead files(List1, options.pool, options.read);
  RowIndex done = 0;
  while (done < count && !options.stop.stop_requested()) {
    if (const std::optional<EncodingCode> code = files.Answer(done, kPassWaitSlice)) {
      // Moving the selection raises List1's handler, whose mirror into List2
      // finds no row yet and fails quietly; the pass does not care.
      (void)List1.SelectRow(done);
      (void)List2.SetRow(done, LabelForCode(*code));
      ++done;
    }
    if (options.progress) options.progress(done, count);
  }
  RowNotes failures = files.Finish(done);
  if (options.notes) *options.notes = std::move(failures);
  Command2.SetEnabled(false);
  return done;
}

}  // namespace kavren
