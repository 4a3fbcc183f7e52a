// row_list_test.cpp: the list model's rules that the pass and the paired lists rely on.
#include "common/row_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace kavren {
namespace {

RowList ListOf(std::initializer_list<const wchar_t*> rows) {
  RowList list;
  for (const wchar_t* row : rows) list.AppendRow(row);
  return list;
}

std::vector<std::wstring> Rows(const RowList& list) {
  std::vector<std::wstring> rows;
  for (RowIndex i = 0; i < list.RowCount(); ++i) rows.emplace_back(*list.GetRow(i));
  EXPECT_FALSE(list.GetRow(list.RowCount()) || list.GetRow(-1) || list.GetPath(list.RowCount()));
  return rows;
}

TEST(RowList, SetRowReplacesAppendsAtCountAndFailsElsewhere) {
  const struct {
    RowIndex index;
    bool succeeds;
    std::vector<std::wstring> after;
  } cases[] = {
      {-1, false, {L"a", L"b"}}, {0, true, {L"new", L"b"}}, {2, true, {L"a", L"b", L"new"}}, {3, false, {L"a", L"b"}},
  };
  for (const auto& c : cases) {
    RowList list = ListOf({L"a", L"b"});
    EXPECT_EQ(list.SetRow(c.index, L"new"), c.succeeds) << c.index;
    EXPECT_EQ(Rows(list), c.after) << c.index;
  }
}

TEST(RowList, SelectRowRunsTheHandlerAfterARealChangeOnly) {
  const struct {
    std::vector<RowIndex> requests;
    RowIndex final_row;
    std::vector<RowIndex> handler_saw;
  } cases[] = {
      {{-1, 3}, kNoRow, {}}, {{1, 1}, 1, {1}}, {{0, 2, 0}, 0, {0, 2, 0}}, {{2, -1, 3}, 2, {2}},
  };
  for (const auto& c : cases) {
    RowList list = ListOf({L"a", L"b", L"c"});
    std::vector<RowIndex> saw;
    list.SetSelectionHandler([&] { saw.push_back(list.CurrentRow()); });
    for (RowIndex request : c.requests) EXPECT_EQ(list.SelectRow(request), request >= 0 && request < 3);
    EXPECT_EQ(list.CurrentRow(), c.final_row);
    EXPECT_EQ(saw, c.handler_saw);
    list.ClearRows();
    EXPECT_EQ(list.CurrentRow(), kNoRow);
    EXPECT_EQ(Rows(list), std::vector<std::wstring>{});
    EXPECT_EQ(saw, c.handler_saw) << "clearing raised the handler";
  }
}

TEST(RowList, MirroredHandlersComeToRestAndIgnoreAShorterList) {
  RowList first = ListOf({L"a", L"b", L"c"}), second = ListOf({L"x", L"y"});
  int calls = 0;
  first.SetSelectionHandler([&] { ++calls, (void)second.SelectRow(first.CurrentRow()); });
  second.SetSelectionHandler([&] { ++calls, (void)first.SelectRow(second.CurrentRow()); });
  ASSERT_TRUE(first.SelectRow(1));
  EXPECT_EQ(second.CurrentRow(), 1);
  ASSERT_TRUE(first.SelectRow(2));
  EXPECT_EQ(second.CurrentRow(), 1);
  EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace kavren
