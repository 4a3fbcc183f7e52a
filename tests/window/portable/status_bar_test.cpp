// status_bar_test.cpp: where the status bar's texts go in its rows, and what is cut to fit.
#include "window/portable/status_bar.h"

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
  // Each layout, and what the bar's rows 0 to 2 then show: row 0's texts and its first tip, row 1's the same, and
  // row 2's texts.
  const std::tuple<const char*, StatusLines, std::vector<LabelCount>, int, std::vector<std::wstring>, std::wstring,
                   std::vector<std::wstring>, std::wstring, std::vector<std::wstring>>
      rows[] = {
          {"both counts fit above", done, two, 300, {done.state}, L"", {L"UTF8：3", L"ANSI：2"}, utf8_tip, {}},
          {"a count that does not fit goes beside the state, which says it in brief, cut at its end",
           done,
           two,
           100,
           {L"用时 …", L"ANSI：2"},
           done.state,
           {L"UTF8：3"},
           utf8_tip,
           {}},
          {"a waiting name is cut in its middle, keeping its extension and the Esc hint",
           {L"正在分析：1 / 2 个文件（50%）", L"1 / 2", waiting, L"", 5, 16},
           {},
           250,
           {L"正在分析：1 / 2 个文件（50%）"},
           L"",
           {L"正在等待：一….txt（4 秒）。按 Esc 停止"},
           waiting,
           {}},
          {"the ANSI files' details fill a row of their own, which a label's count that does not fit leaves alone",
           done,
           {{L"Unicode", 3}, {L"ANSI", 2}, {L"含 NUL", 1}, {L"空文件", 1}},
           130,
           {L"用时 1.2…", L"ANSI：2"},
           done.state,
           {L"Unicode：3"},
           L"共 3 个 Unicode 文件。点击选中下一个。",
           {L"含 NUL：1", L"空文件：1"}},
      };
  for (const auto& [what, lines, counts, width, state_row, state_tip, upper_row, upper_tip, details_row] : rows) {
    const auto laid_out = LayOutStatus(lines, counts, width, TenEach);
    EXPECT_EQ(std::tuple(Texts(laid_out[0]), laid_out[0].front().tip, Texts(laid_out[1]), laid_out[1].front().tip),
              std::tuple(state_row, state_tip, upper_row, upper_tip))
        << what;
    EXPECT_EQ(Texts(laid_out[2]), details_row) << what;
  }
}

}  // namespace
}  // namespace kavren
