// batch_summary_test.cpp: the status bar's counts, the way from a count to the next file with its label, and
// what it says of a pass under way.
#include "window/batch_summary.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

TEST(BatchSummary, CountsEachLabelInTheListsOrderAndFindsTheNextRowWithOneGoingRoundPastTheEnd) {
  RowList labels;
  for (const wchar_t* label : {L"ANSI", L"UTF8", L"无法读取", L"UTF8", L"UUnicodeBigEndian"}) labels.AppendRow(label);
  const std::vector<std::pair<std::wstring_view, RowIndex>> expected = {
      {L"UTF8", 2}, {L"UUnicodeBigEndian", 1}, {L"ANSI", 1}, {L"无法读取", 1}};
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
      {BatchState{.files = 3, .analysed = 2, .pass_run = true}, L"之后加入的 1 个文件未分析（每次运行只分析一次）",
       L""},
  };
  for (const auto& [batch, state, next] : states) {
    EXPECT_EQ(StatusText(batch).state, state);
    EXPECT_EQ(StatusText(batch).next, next) << state;
  }
  EXPECT_EQ(StatusText(stopped).brief, L"已停止：3 / 6");
}

}  // namespace
}  // namespace kavren
