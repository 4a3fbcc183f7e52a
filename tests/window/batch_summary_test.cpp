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

TEST(BatchSummary, SaysHowFarAPassHasGotWithThousandsSeparatorsAndWhatIsLeftOnceASecondHasPassed) {
  BatchState pass;
  pass.running = true;
  pass.files = 1'234'567;
  pass.done = 12'345;
  pass.elapsed_ms = 900;
  EXPECT_EQ(StatusText(pass).state, L"正在分析：12,345 / 1,234,567 个文件（0%）");
  EXPECT_EQ(StatusText(pass).next, L"已用 0 秒");
  pass.files = 40'000;
  pass.done = 10'000;
  pass.elapsed_ms = 2'000;
  EXPECT_EQ(StatusText(pass).next, L"已用 2 秒，约剩 6 秒");
}

}  // namespace
}  // namespace kavren
