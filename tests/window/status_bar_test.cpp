// status_bar_test.cpp: where the status bar's texts go in its rows, and what is cut to fit.
#include "window/status_bar.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

// Ten units a character, whatever the character: the widths are then plain to read off the texts.
int TenEach(std::wstring_view text) { return static_cast<int>(text.size()) * 10; }

std::vector<std::wstring> Texts(const std::vector<StatusPart>& parts) {
  std::vector<std::wstring> texts;
  for (const StatusPart& part : parts) texts.push_back(part.text);
  return texts;
}

TEST(LayOutStatus, KeepsCountsTogetherAboveCutsANameInItsMiddleAndSaysWhatWasCutInItsTip) {
  const std::wstring waiting = L"正在等待：一个很长很长很长的文件名.txt（4 秒）。按 Esc 停止";
  const StatusLines done = {L"已分析 5 个文件，用时 1.2 秒", L"用时 1.2 秒", L""};
  const std::vector<LabelCount> two = {{L"UTF8", 3}, {L"ANSI", 2}};
  const std::wstring utf8_tip = L"共 3 个 UTF8 文件。点击选中下一个。";
  struct Row {
    const char* what;
    StatusLines lines;
    std::vector<LabelCount> counts;
    int width;
    std::vector<std::wstring> state_row;
    std::wstring state_tip;
    std::vector<std::wstring> upper_row;
    std::wstring upper_tip;
    std::vector<std::wstring> details_row{};
  };
  const std::vector<LabelCount> detailed = {{L"Unicode", 3}, {L"ANSI", 2}, {L"含 NUL", 1}, {L"空文件", 1}};
  const std::wstring unicode_tip = L"共 3 个 Unicode 文件。点击选中下一个。";
  const Row rows[] = {
      {"both counts fit above", done, two, 300, {done.state}, L"", {L"UTF8：3", L"ANSI：2"}, utf8_tip},
      {"a count that does not fit goes beside the state, which says it in brief, cut at its end",
       done,
       two,
       100,
       {L"用时 …", L"ANSI：2"},
       done.state,
       {L"UTF8：3"},
       utf8_tip},
      {"a waiting name is cut in its middle, keeping its extension and the Esc hint",
       {L"正在分析：1 / 2 个文件（50%）", L"1 / 2", waiting, L"", 5, 16},
       {},
       250,
       {L"正在分析：1 / 2 个文件（50%）"},
       L"",
       {L"正在等待：一….txt（4 秒）。按 Esc 停止"},
       waiting},
      {"the ANSI files' details fill a row of their own, which a label's count that does not fit leaves alone",
       done,
       detailed,
       130,
       {L"用时 1.2…", L"ANSI：2"},
       done.state,
       {L"Unicode：3"},
       unicode_tip,
       {L"含 NUL：1", L"空文件：1"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const auto laid_out = LayOutStatus(row.lines, row.counts, row.width, TenEach);
    EXPECT_EQ(Texts(laid_out[0]), row.state_row);
    EXPECT_EQ(laid_out[0].front().tip, row.state_tip);
    EXPECT_EQ(Texts(laid_out[1]), row.upper_row);
    EXPECT_EQ(laid_out[1].front().tip, row.upper_tip);
    EXPECT_EQ(Texts(laid_out[2]), row.details_row);
  }
}

}  // namespace
}  // namespace kavren
