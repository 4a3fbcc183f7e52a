// analysis_pass_test.cpp: the pass over model lists, with no window.
#include "analysis/analysis_pass.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kavren {
namespace {

using kavren::testing::CurrentDirectoryGuard;
using kavren::testing::TempDir;

// The two lists wired as the window wires them: each mirrors its selection
// into the other, ignoring failures.
struct PairedLists {
  RowList List1, List2;
  CommandButton Command2;
  std::vector<RowIndex> list1_selections;
  int list2_handler_calls = 0;

  PairedLists() {
    List1.SetSelectionHandler([this] {
      list1_selections.push_back(List1.CurrentRow());
      (void)List2.SelectRow(List1.CurrentRow());
    });
    List2.SetSelectionHandler([this] {
      ++list2_handler_calls;
      (void)List1.SelectRow(List2.CurrentRow());
    });
  }

  std::vector<std::wstring> Labels() const {
    std::vector<std::wstring> labels;
    for (RowIndex i = 0; i < List2.RowCount(); ++i) labels.emplace_back(*List2.GetRow(i));
    return labels;
  }
};

TEST(LabelForCode, GivesTheFixedTexts) {
  const std::vector<std::pair<EncodingCode, std::wstring>> cases = {
      {EncodingCode::Utf8, L"UTF8"},
      {EncodingCode::Utf16LittleEndian, L"Unicode"},
      {EncodingCode::Utf16BigEndian, L"UUnicodeBigEndian"},
      {EncodingCode::NoMark, L"ANSI"},
      {EncodingCode::Unreadable, L"无法读取"},
      {static_cast<EncodingCode>(7), L"ANSI"},
  };
  for (const auto& [code, label] : cases) EXPECT_EQ(LabelForCode(code), label);
}

TEST(RunAnalysisPass, LabelsEveryRowInOrderAndMovesTheSelectionDown) {
  TempDir dir;
  PairedLists lists;
  const std::vector<std::pair<std::vector<unsigned char>, std::wstring>> files = {
      {{0xFF, 0xFE, 0x41, 0x00}, L"Unicode"},
      {{0xEF, 0xBB, 0xBF, 0x41}, L"UTF8"},
      {{0x61, 0x62}, L"ANSI"},
      {{0xFE, 0xFF}, L"UUnicodeBigEndian"},
  };
  std::vector<std::wstring> expected;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::wstring name = L"f" + std::to_wstring(i) + L".txt";
    lists.List1.AppendRow(name, dir.Write(name, files[i].first));
    expected.push_back(files[i].second);
  }
  lists.List1.AppendRow(L"gone.txt", dir.Wide(L"gone.txt"));
  expected.push_back(L"无法读取");

  RunAnalysisPass(lists.List1, lists.List2, lists.Command2);

  EXPECT_EQ(lists.Labels(), expected);
  EXPECT_EQ(lists.list1_selections, (std::vector<RowIndex>{0, 1, 2, 3, 4}));
  // Each mirror attempt met a List2 one row short, so it never selected.
  EXPECT_EQ(lists.list2_handler_calls, 0);
  EXPECT_EQ(lists.List1.CurrentRow(), 4);
  EXPECT_EQ(lists.List2.CurrentRow(), kNoRow);
  EXPECT_FALSE(lists.Command2.Enabled());

  // The next selection brings the two lists back into step.
  ASSERT_TRUE(lists.List1.SelectRow(2));
  EXPECT_EQ(lists.List2.CurrentRow(), 2);
}

TEST(RunAnalysisPass, EmptyListStillDisablesTheButton) {
  PairedLists lists;
  int notified = 0;
  lists.Command2.OnEnabledChanged([&](bool enabled) {
    EXPECT_FALSE(enabled);
    ++notified;
  });
  RunAnalysisPass(lists.List1, lists.List2, lists.Command2);
  EXPECT_EQ(lists.List2.RowCount(), 0);
  EXPECT_FALSE(lists.Command2.Enabled());
  EXPECT_EQ(notified, 1);
}

TEST(RunAnalysisPass, ReadsEachFileWhereItWasChosen) {
  // Two folders hold a file of the same name, and the current directory
  // holds a third; only the chosen paths may decide the labels.
  TempDir dir;
  PairedLists lists;
  lists.List1.AppendRow(L"same.txt", dir.Write(L"A/same.txt", {0xEF, 0xBB, 0xBF}));
  lists.List1.AppendRow(L"same.txt", dir.Write(L"B/same.txt", {0x61}));
  dir.Write(L"elsewhere/same.txt", {0xFE, 0xFF});
  CurrentDirectoryGuard restore;
  std::filesystem::current_path(dir.path() / "elsewhere");

  RunAnalysisPass(lists.List1, lists.List2, lists.Command2);

  EXPECT_EQ(lists.Labels(), (std::vector<std::wstring>{L"UTF8", L"ANSI"}));
}

TEST(RunAnalysisPass, HandlesMoreRowsThanSixteenBitsCount) {
  TempDir dir;
  PairedLists lists;
  const std::wstring path = dir.Write(L"one.txt", {0xFF, 0xFE});
  constexpr RowIndex kRows = 33'000;
  for (RowIndex i = 0; i < kRows; ++i) lists.List1.AppendRow(L"one.txt", path);

  RunAnalysisPass(lists.List1, lists.List2, lists.Command2);

  ASSERT_EQ(lists.List2.RowCount(), kRows);
  EXPECT_EQ(lists.List2.GetRow(kRows - 1).value(), L"Unicode");
  EXPECT_EQ(lists.List1.CurrentRow(), kRows - 1);
}

}  // namespace
}  // namespace kavren
