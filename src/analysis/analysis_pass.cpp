// analysis_pass.cpp: the batch pass behind the analyse button.
#include "analysis/analysis_pass.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
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
    answers_[row].wait(0);
    return static_cast<EncodingCode>(answers_[row].load() - 1);
  }

 private:
  bool ReadNext() noexcept {
    const RowIndex row = next_.fetch_add(1);
    if (row >= files_.RowCount()) return false;
    EncodingCode code = EncodingCode::Unreadable;
    try {
      // The full path the row was chosen with, not its bare name: the
      // current directory says nothing about where a file came from.
      if (const std::wstring* path = files_.GetPath(row)) code = GetFileEncoding(*path);
    } catch (...) {
      // Out of memory for a path's conversion: that file was not read.
    }
    answers_[row].store(static_cast<std::uint8_t>(static_cast<int>(code) + 1));
    answers_[row].notify_one();
    return true;
  }

  const RowList& files_;
  std::unique_ptr<std::atomic<std::uint8_t>[]> answers_;
  std::atomic<RowIndex> next_ = 0;
  // Last, so that the workers are stopped and joined before the rest goes.
  std::vector<std::jthread> workers_;
};

}  // namespace

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
                     int read_ahead_threads) {
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
  Command2.SetEnabled(false);
}

}  // namespace kavren
