// analysis_pass_test.cpp: the pass over model lists wired as the window wires them.
#include "analysis/analysis_pass.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kavren {
namespace {

struct PairedLists {
  RowList List1, List2;
  CommandButton Command2;
  std::vector<RowIndex> list1_saw, progress;
  int list2_calls = 0;

  explicit PairedLists(const std::vector<std::pair<std::wstring, std::wstring>>& files) {
    for (const auto& [name, path] : files) List1.AppendRow(name, path);
    List1.SetSelectionHandler([this] { list1_saw.push_back(List1.CurrentRow()), (void)List2.SelectRow(List1.CurrentRow()); });
    List2.SetSelectionHandler([this] { ++list2_calls, (void)List1.SelectRow(List2.CurrentRow()); });
    RunAnalysisPass(List1, List2, Command2, [this](RowIndex done, RowIndex) { progress.push_back(done); });
    EXPECT_EQ(List2.RowCount(), List1.RowCount());
    EXPECT_EQ(List1.CurrentRow(), List1.RowCount() - 1);
    EXPECT_EQ(List2.CurrentRow(), kNoRow);
    EXPECT_FALSE(Command2.Enabled());
  }
};

TEST(RunAnalysisPass, LabelsEachFileWhereItWasChosenAndEndsOnTheLastFile) {
  kavren::testing::TempDir dir;
  std::vector<std::pair<std::wstring, std::wstring>> files;
  const std::pair<const wchar_t*, std::vector<unsigned char>> contents[] = {
      {L"a.txt", {0xFF, 0xFE, 0x41}}, {L"b.txt", {0xEF, 0xBB, 0xBF}}, {L"c.txt", {0x61, 0x62}},
      {L"d.txt", {0xFE, 0xFF}},       {L"A/same.txt", {0xEF, 0xBB, 0xBF}}, {L"B/same.txt", {0x61}}};
  for (const auto& [name, bytes] : contents) files.emplace_back(name, dir.Write(name, bytes));
  files.emplace_back(L"gone.txt", dir.Wide(L"gone.txt"));
  // The current directory holds other files of the same names: only the
  // chosen paths may decide the labels.
  for (const wchar_t* name : {L"cwd/same.txt", L"cwd/a.txt", L"cwd/gone.txt"}) dir.Write(name, {0xFE, 0xFF});
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(kavren::testing::PathOf(dir.Wide(L"cwd")));
  const PairedLists lists(files);
  std::filesystem::current_path(saved);

  std::vector<std::wstring> labels;
  for (RowIndex i = 0; i < lists.List2.RowCount(); ++i) labels.emplace_back(*lists.List2.GetRow(i));
  EXPECT_EQ(labels, (std::vector<std::wstring>{L"Unicode", L"UTF8", L"ANSI", L"UUnicodeBigEndian", L"UTF8",
                                               L"ANSI", L"无法读取"}));
  EXPECT_EQ(lists.list1_saw, (std::vector<RowIndex>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(lists.progress, (std::vector<RowIndex>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(lists.list2_calls, 0);
}

TEST(RunAnalysisPass, HandlesNoRowsAndMoreRowsThanSixteenBitsCount) {
  kavren::testing::TempDir dir;
  const std::wstring path = dir.Write(L"one.txt", {0xFF, 0xFE});
  for (std::size_t rows : {0, 33'000}) {
    const PairedLists lists(std::vector(rows, std::pair<std::wstring, std::wstring>(L"one.txt", path)));
    EXPECT_EQ(lists.List2.GetRow(lists.List2.RowCount() - 1).value_or(L"Unicode"), L"Unicode");
  }
}

}  // namespace
}  // namespace kavren
