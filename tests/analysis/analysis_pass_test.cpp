// analysis_pass_test.cpp: the pass over model lists wired as the window wires them.
#include "analysis/analysis_pass.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kavren {
namespace {

struct PairedLists {
  RowList List1, List2;
  CommandButton Command2;
  std::vector<RowIndex> list1_saw;
  int list2_calls = 0;

  PairedLists() {
    List1.SetSelectionHandler([this] {
      list1_saw.push_back(List1.CurrentRow());
      (void)List2.SelectRow(List1.CurrentRow());
    });
    List2.SetSelectionHandler([this] { ++list2_calls, (void)List1.SelectRow(List2.CurrentRow()); });
  }
};

TEST(RunAnalysisPass, LabelsEachFileWhereItWasChosenAndEndsOnTheLastFile) {
  kavren::testing::TempDir dir;
  PairedLists lists;
  const std::pair<const wchar_t*, std::vector<unsigned char>> files[] = {
      {L"a.txt", {0xFF, 0xFE, 0x41}}, {L"b.txt", {0xEF, 0xBB, 0xBF}}, {L"c.txt", {0x61, 0x62}},
      {L"d.txt", {0xFE, 0xFF}},       {L"A/same.txt", {0xEF, 0xBB, 0xBF}}, {L"B/same.txt", {0x61}}};
  for (const auto& [name, bytes] : files) lists.List1.AppendRow(name, dir.Write(name, bytes));
  lists.List1.AppendRow(L"gone.txt", dir.Wide(L"gone.txt"));
  // The current directory holds other files of the same names: only the
  // chosen paths may decide the labels.
  for (const wchar_t* name : {L"same.txt", L"a.txt", L"gone.txt"}) dir.Write(L"cwd/" + std::wstring(name), {0xFE, 0xFF});
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(kavren::testing::PathOf(dir.Wide(L"cwd")));
  std::vector<RowIndex> progress;

  RunAnalysisPass(lists.List1, lists.List2, lists.Command2, [&](RowIndex done, RowIndex total) {
    EXPECT_EQ(total, 7);
    progress.push_back(done);
  });
  std::filesystem::current_path(saved);

  std::vector<std::wstring> labels;
  for (RowIndex i = 0; i < lists.List2.RowCount(); ++i) labels.emplace_back(*lists.List2.GetRow(i));
  EXPECT_EQ(labels, (std::vector<std::wstring>{L"Unicode", L"UTF8", L"ANSI", L"UUnicodeBigEndian", L"UTF8",
                                               L"ANSI", L"无法读取"}));
  EXPECT_EQ(lists.list1_saw, (std::vector<RowIndex>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(progress, (std::vector<RowIndex>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(lists.list2_calls, 0);
  EXPECT_EQ(lists.List2.CurrentRow(), kNoRow);
  EXPECT_FALSE(lists.Command2.Enabled());
}

TEST(RunAnalysisPass, HandlesNoRowsAndMoreRowsThanSixteenBitsCount) {
  kavren::testing::TempDir dir;
  const std::wstring path = dir.Write(L"one.txt", {0xFF, 0xFE});
  for (RowIndex rows : {0, 33'000}) {
    PairedLists lists;
    for (RowIndex i = 0; i < rows; ++i) lists.List1.AppendRow(L"one.txt", path);
    RunAnalysisPass(lists.List1, lists.List2, lists.Command2);
    ASSERT_EQ(lists.List2.RowCount(), rows);
    EXPECT_EQ(lists.List1.CurrentRow(), rows - 1);
    EXPECT_EQ(lists.List2.GetRow(rows - 1).value_or(L"Unicode"), L"Unicode");
    EXPECT_FALSE(lists.Command2.Enabled());
  }
}

}  // namespace
}  // namespace kavren
