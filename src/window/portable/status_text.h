// status_text.h: what the status bar says of the batch and of the long work, in each state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/row_list.h"
#include "window/portable/long_work.h"

namespace kavren {

// Why files stay unanalysed once the run's one pass is used: said in the
// status bar and where the mouse rests on the greyed 分析编码方式.
inline constexpr std::wstring_view kOnePassEachRun = L"每次运行只分析一次：要分析未分析的文件，请重新启动程序";

// Where the batch stands in the lists, as the status bar shows it.
struct BatchState {
  RowIndex files = 0;           // rows of the file list
  RowIndex analysed = 0;        // labels written by the pass (rows of the label list with a label)
  bool pass_used = false;       // this run's one pass is used
  std::wstring_view current{};  // during the pass, the name of the file it is on
  std::wstring_view copied{};   // what the last copy put on the clipboard, until the next change
  RowIndex repeated = 0;        // of the last drop or choice, the files already listed, so not listed again
  std::int64_t now_ms = 0;
};

// The status bar's two lines: where the batch stands (in full, and in brief
// for when it does not fit beside the counts), and either what to do next
// or, after a pass, nothing: the counts stand there. `why`, if any, is said
// where the mouse rests on the state. `next` may name a file, at
// `name_at` for `name_size` characters: what is cut first where the line
// does not fit.
struct StatusLines {
  std::wstring state;
  std::wstring brief;
  std::wstring next;
  std::wstring why{};
  std::size_t name_at = 0;
  std::size_t name_size = 0;
  bool operator==(const StatusLines&) const = default;
};
[[nodiscard]] StatusLines StatusText(const BatchState& batch, const WorkState& work);

}  // namespace kavren
