// analysis_pass.cpp: the batch pass behind the analyse button.
#include "analysis/analysis_pass.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>
#include <vector>

#include "analysis/module1.h"

namespace kavren {
namespace {

// The answers of one pass, a byte per row: 0 while the row's file is unread,
// else its code + 1. Rows are handed out in order of index, to the workers
// and to the pass itself, which reads the next row whenever the one it waits
// for has not been taken yet; so with no worker at all it reads serially.
class ReadAhead {
 public:
  ReadAhead(const RowList& files, int threads)
      : files_(files), answers_(std::make_unique<std::atomic<std::uint8_t>[]>(files.RowCount())) {
    for (int i = 0; i < threads; ++i) {
      try {
        workers_.emplace_back([this](const std::stop_token& stop) {
          while (!stop.stop_requested() && ReadNext()) continue;
        });
      } catch (const std::system_error&) {
        break;  // the pass goes on with the threads it has, down to none
      }
    }
  }

  [[nodiscard]] EncodingCode Answer(RowIndex row) {
    while (next_.load() <= row && ReadNext()) continue;
    if (answers_[row].load() == 0) {
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
  bool ReadNext() noexcept {
    const RowIndex row = next_.fetch_add(1);
    if (row >= files_.RowCount()) return false;
    EncodingCode code = EncodingCode::Unreadable;
    ReadFailure failure{FailureKind::kOther};
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

void RunAnalysisPass(RowList& List1, RowList& List2, CommandButton& Command2, const PassProgress& progress,
                     int read_ahead_threads, UnreadableRows* unreadable) {
  const RowIndex count = List1.RowCount();
  List2.Reserve(count);
  ReadAhead files(List1, count > 1 ? static_cast<int>(std::min<RowIndex>(read_ahead_threads, count)) : 0);
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
