// analysis_pass.cpp: the batch pass behind the analyse button.
#include "analysis/analysis_pass.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/file_head.h"
#include "analysis/module1.h"

namespace kavren {
namespace {

// A larger pool is kept only if it reads this much faster than the one before.
constexpr double kWorthwhileGain = 1.25;

// The answers of one pass, a byte per row: 0 while the row's file is unread,
// else its code + 1. Rows are handed out in order of index, to the workers
// and to the pass itself, which reads the next row whenever the one it waits
// for has not been taken yet; so with no worker at all it reads serially.
// Only the pass's own thread starts, counts, retires and joins the workers.
class ReadAhead {
 public:
  ReadAhead(const RowList& files, ReadAheadPool pool)
      : files_(files), answers_(std::make_unique<std::atomic<std::uint8_t>[]>(files.RowCount())), pool_(pool) {
    // Fewer than two rows: the pass reads what there is sooner than a thread starts.
    if (files.RowCount() < 2) pool_ = {0, 0};
    workers_.reserve(static_cast<std::size_t>(std::max(pool_.first, pool_.most)));
    Grow(pool_.first);
  }

  [[nodiscard]] EncodingCode Answer(RowIndex row) {
    while (next_.load() <= row && ReadNext()) continue;
    if (answers_[row].load() == 0) {
      Adapt();
      // Not std::atomic::wait: MinGW's C++ library loses a wake-up there
      // now and then (GCC bug 106183), and the pass then waits for ever.
      std::unique_lock lock(answered_mutex_);
      awaited_.store(row);
      answered_.wait(lock, [&] { return answers_[row].load() != 0; });
      awaited_.store(kNoRow);
    }
    return static_cast<EncodingCode>(answers_[row].load() - 1);
  }

  // Why each unreadable row was not read, once every worker has stopped.
  [[nodiscard]] UnreadableRows TakeFailures() {
    workers_.clear();
    return std::move(failures_);
  }

 private:
  // What the reads took while the pool had one size.
  struct Span {
    int threads = 0;
    std::int64_t reads = 0;
    std::int64_t ns = 0;
    [[nodiscard]] double Latency() const noexcept { return static_cast<double>(ns) / static_cast<double>(reads); }
    [[nodiscard]] double Throughput() const noexcept { return threads / Latency(); }
  };

  // The labels have caught up with the reads. If reads wait on the storage
  // (a round trip to a share, a seek) rather than on a processor, more of
  // them at once are answered in the time of one: the pool grows, and goes
  // on growing while each step reads faster. Where reads queue for one
  // server or a disk that answers one at a time, a step gains nothing: it
  // is taken back, and growing stops.
  void Adapt() {
    if (active_ == 0 || active_ >= pool_.most) return;
    const Span now = {active_, reads_.load(std::memory_order_relaxed) - since_.reads,
                      read_ns_.load(std::memory_order_relaxed) - since_.ns};
    // Too few reads at this size to tell; or reads too quick to wait on
    // anything but a processor, where more threads would only queue.
    if (now.reads < active_ || now.Latency() < std::chrono::nanoseconds(pool_.slow_read).count()) return;
    if (before_.threads > 0 && now.Throughput() < kWorthwhileGain * before_.Throughput()) {
      active_ = before_.threads;
      allowed_.store(active_, std::memory_order_relaxed);
      pool_.most = active_;
      return;
    }
    before_ = now;
    Grow(active_);
    since_ = {active_, reads_.load(std::memory_order_relaxed), read_ns_.load(std::memory_order_relaxed)};
  }

  // Starts up to `more` workers, but no more than `most` in all nor than
  // the rows nobody has taken yet: a thread that would find nothing to read
  // costs its start and its stack for nothing.
  void Grow(int more) {
    const RowIndex untaken = std::max<RowIndex>(files_.RowCount() - next_.load(), 0);
    more = std::min({more, pool_.most - active_, static_cast<int>(untaken)});
    allowed_.store(active_ + more, std::memory_order_relaxed);
    for (int i = 0; i < more; ++i) {
      try {
        // A worker retired by Adapt ends after the file it is reading.
        workers_.emplace_back([this, index = active_](const std::stop_token& stop) {
          while (!stop.stop_requested() && index < allowed_.load(std::memory_order_relaxed) && ReadNext()) continue;
        });
        ++active_;
      } catch (const std::system_error&) {
        // The pass goes on with the threads it has, down to none.
        pool_.most = active_;
        allowed_.store(active_, std::memory_order_relaxed);
        return;
      }
    }
  }

  bool ReadNext() noexcept {
    const RowIndex row = next_.fetch_add(1);
    if (row >= files_.RowCount()) return false;
    EncodingCode code = EncodingCode::Unreadable;
    ReadFailure failure{FailureKind::kOther};
    const auto start = std::chrono::steady_clock::now();
    try {
      // The full path the row was chosen with, not its bare name: the
      // current directory says nothing about where a file came from.
      if (const std::wstring* path = files_.GetPath(row)) code = GetFileEncoding(*path, failure);
      // Few rows fail, so one lock for them costs the others nothing.
      if (code == EncodingCode::Unreadable) {
        const std::lock_guard lock(failures_mutex_);
        failures_.emplace(row, failure);
      }
    } catch (...) {
      // Out of memory for a path's conversion: that file was not read.
    }
    read_ns_.fetch_add((std::chrono::steady_clock::now() - start).count(), std::memory_order_relaxed);
    reads_.fetch_add(1, std::memory_order_relaxed);
    answers_[row].store(static_cast<std::uint8_t>(static_cast<int>(code) + 1));
    // The waiter names its row before it checks the answer, and the answer
    // is stored before the name is read: either it sees the answer, or it
    // is seen waiting, and the lock then wakes it no sooner than it sleeps.
    if (awaited_.load() == row) {
      const std::lock_guard lock(answered_mutex_);
      answered_.notify_one();
    }
    return true;
  }

  const RowList& files_;
  std::unique_ptr<std::atomic<std::uint8_t>[]> answers_;
  ReadAheadPool pool_;
  int active_ = 0;                // workers not retired
  std::atomic<int> allowed_ = 0;  // workers with a lower index may read on
  Span since_;                    // the counts when the pool last grew
  Span before_;                   // what the reads took at the size before
  std::atomic<std::int64_t> reads_ = 0;
  std::atomic<std::int64_t> read_ns_ = 0;  // the reads' time, all added up
  std::atomic<RowIndex> next_ = 0;
  std::atomic<RowIndex> awaited_ = kNoRow;  // the row the pass's own thread sleeps for
  std::mutex answered_mutex_;
  std::condition_variable answered_;
  std::mutex failures_mutex_;
  UnreadableRows failures_;
  // Last, so that the workers are stopped and joined before the rest goes.
  std::vector<std::jthread> workers_;
};

}  // namespace

// What the user reads over a label: which mark was found and what Notepad
// calls that encoding today (and, for the UTF-16 ones, what its older
// versions called it, which is where the labels come from).
std::wstring_view LabelMeaning(std::wstring_view label) noexcept {
  if (label == LabelForCode(EncodingCode::Utf8).view()) {
    return L"文件以 UTF-8 的字节顺序标记（BOM，EF BB BF）开头。记事本称之为“带有 BOM 的 UTF-8”。";
  }
  if (label == LabelForCode(EncodingCode::Utf16LittleEndian).view()) {
    return L"文件以 UTF-16 小端的字节顺序标记（BOM，FF FE）开头。记事本称之为“UTF-16 LE”，旧版记事本称“Unicode”。";
  }
  if (label == LabelForCode(EncodingCode::Utf16BigEndian).view()) {
    return L"文件以 UTF-16 大端的字节顺序标记（BOM，FE FF）开头。记事本称之为“UTF-16 BE”，旧版记事本称“Unicode big "
           L"endian”。";
  }
  if (label == LabelForCode(EncodingCode::NoMark).view()) {
    return L"文件开头没有字节顺序标记（BOM）：可能是 GBK 或其他本地代码页，也可能是不带 BOM 保存的 "
           L"UTF-8。本工具只读取这个标记。";
  }
  return {};
}

std::wstring_view FailureText(FailureKind kind) noexcept {
  switch (kind) {
    case FailureKind::kNone:
      return {};
    case FailureKind::kNotFound:
      return L"找不到文件：文件或它所在的文件夹已不存在。";
    case FailureKind::kAccessDenied:
      return L"拒绝访问：没有读取这个文件的权限。";
    case FailureKind::kInUse:
      return L"文件正被另一个程序使用，且不允许其他程序读取。";
    case FailureKind::kNotPlainFile:
      return L"这不是普通文件，而是文件夹、设备、管道或系统保留的名称。";
    case FailureKind::kPathTooLong:
      return L"路径太长：Windows 无法打开超过 32767 个字符的路径。";
    default:
      return L"读取时出错。";
  }
}

StaticText LabelForCode(EncodingCode code) noexcept {
  switch (code) {
    case EncodingCode::Utf8:
      return StaticText(L"UTF8");
    case EncodingCode::Utf16LittleEndian:
      return StaticText(L"Unicode");
    case EncodingCode::Utf16BigEndian:
      return StaticText(L"UUnicodeBigEndian");
    case EncodingCode::Unreadable:
      return StaticText(L"无法读取");
    default:
      return StaticText(L"ANSI");
  }
}

ReadAheadPool DefaultReadAheadPool() noexcept {
  return OpensOverlap() ? kReadAheadPool : ReadAheadPool{kReadAheadPool.first, kReadAheadPool.first};
}

void RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassProgress& progress,
                     ReadAheadPool pool, UnreadableRows* unreadable) {
  const RowIndex count = List1.RowCount();
  List2.Reserve(count);
  ReadAhead files(List1, pool);
  for (RowIndex i = 0; i < count; ++i) {
    // Moving the selection raises List1's handler, whose mirror into List2
    // finds no row i yet and fails quietly; the pass does not care.
    (void)List1.SelectRow(i);
    (void)List2.SetRow(i, LabelForCode(files.Answer(i)));
    if (progress) progress(i + 1, count);
  }
  if (unreadable) *unreadable = files.TakeFailures();
  Command2.SetEnabled(false);
}

}  // namespace kavren
