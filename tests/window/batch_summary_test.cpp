// batch_summary_test.cpp: the status bar's counts, the way from a count to the next file with its label, and
// what it says of a pass under way.
#include "window/batch_summary.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

TEST(BatchSummary, CountsEachLabelInTheListsOrderAndFindsTheNextRowWithOneGoingRoundPastTheEnd) {
  RowList labels;
  for (const wchar_t* label : {L"ANSI", L"UTF8", L"仅联机", L"UTF8", L"UUnicodeBigEndian"}) labels.AppendRow(label);
  const std::vector<std::pair<std::wstring_view, RowIndex>> expected = {
      {L"UTF8", 2}, {L"UUnicodeBigEndian", 1}, {L"ANSI", 1}, {L"仅联机", 1}};
  std::vector<std::pair<std::wstring_view, RowIndex>> counted;
  for (const LabelCount& count : CountLabels(labels)) counted.emplace_back(count.label, count.count);
  EXPECT_EQ(counted, expected);

  // From the selected row (or none), the label looked for, the row found.
  const std::tuple<RowIndex, std::wstring_view, RowIndex> steps[] = {
      {kNoRow, L"UTF8", 1}, {1, L"UTF8", 3}, {3, L"UTF8", 1}, {4, L"ANSI", 0}, {0, L"ANSI", 0}, {2, L"Unicode", kNoRow},
  };
  for (const auto& [after, label, row] : steps) {
    EXPECT_EQ(NextRowWithLabel(labels, after, label), row) << after << " " << std::wstring(label);
  }
  EXPECT_EQ(NextRowWithLabel(RowList(), kNoRow, L"UTF8"), kNoRow);
}

TEST(BatchSummary, SaysWhereTheBatchStandsInEachStateWithThousandsSeparators) {
  BatchState pass{.files = 1'234'567, .done = 12'345, .elapsed_ms = 900, .running = true};
  BatchState waiting{.files = 40'000, .done = 10'000, .elapsed_ms = 2'000, .running = true};
  waiting.waiting_for = L"第500章.txt";
  waiting.waited_ms = 5'400;
  const BatchState stopped{
      .files = 6, .analysed = 3, .pass_run = true, .pass_ms = 1'500, .pass_files = 6, .stopped = true};
  const BatchState walking{.files = 1'000, .walking = true, .listed = 1'000};
  const BatchState walk_stopped{.files = 1'500, .listed = 1'000, .walk_stopped = true};
  // Each state, and the lines it must show: where the batch stands, then what to do next.
  const std::tuple<BatchState, std::wstring, std::wstring> states[] = {
      {pass, L"正在分析：12,345 / 1,234,567 个文件（0%）", L"已用 0 秒。按 Esc 停止"},
      {BatchState{.files = 40'000, .done = 10'000, .elapsed_ms = 2'000, .running = true},
       L"正在分析：10,000 / 40,000 个文件（25%）", L"已用 2 秒，约剩 6 秒。按 Esc 停止"},
      {waiting, L"正在分析：10,000 / 40,000 个文件（25%）", L"正在等待：第500章.txt（5 秒）。按 Esc 停止"},
      {stopped, L"已停止：已分析 3 / 6 个文件，用时 1.5 秒", L""},
      {walking, L"正在添加文件：已列出 1,000 个", L"按 Esc 停止"},
      {walk_stopped, L"已停止添加：列出了 1,000 个文件，不是拖入的全部文件",
       L"点击“分析编码方式”查看每个文件的编码方式"},
      {BatchState{.files = 100}, L"共 100 个文件", L"点击“分析编码方式”查看每个文件的编码方式"},
      {BatchState{.files = 999'999, .analysed = 999'999, .pass_run = true, .pass_ms = 599'999},
       L"已分析 999,999 个文件，用时 9 分 59 秒", L""},
      {BatchState{.files = 3, .analysed = 2, .pass_run = true, .pass_ms = 700},
       L"已分析 2 个文件，用时 0.7 秒；之后加入的 1 个未分析", L""},
      {BatchState{.files = 4, .analysed = 4, .pass_run = true, .pass_ms = 40, .empty = 1},
       L"已分析 4 个文件，用时不到 0.1 秒，其中 1 个是空文件", L""},
      {BatchState{.pass_run = true}, L"没有文件",
       L"每次运行只分析一次：现在加入的文件只会列出，不会分析；要分析它们，请重新启动程序"},
      {BatchState{.walk_empty = true}, L"没有加入文件：拖入或打开的项目中没有 .txt 文件",
       L"点击“选择Txt文件”，或把 .txt 文件、文件夹拖到窗口上"},
  };
  for (const auto& [batch, state, next] : states) {
    EXPECT_EQ(StatusText(batch).state, state);
    EXPECT_EQ(StatusText(batch).next, next) << state;
  }
  EXPECT_EQ(StatusText(stopped).brief, L"已停止：3 / 6");
  // A Latin label keeps a space on each side, a Chinese one its quotes.
  EXPECT_EQ(CountTip({L"ANSI", 480}) + NextLabelMenuText(L"无法读取"),
            L"共 480 个 ANSI 文件。点击选中下一个。下一个“无法读取”文件");
}

}  // namespace
}  // namespace kavren
