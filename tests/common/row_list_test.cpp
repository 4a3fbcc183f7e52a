// row_list_test.cpp: the list model's rules that the pass and the paired lists rely on.
#include "common/row_list.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

RowList AbcList() {
  RowList list;
  for (const wchar_t* row : {L"a", L"b", L"c"}) list.AppendRow(row);
  return list;
}

TEST(RowList, SetRowReplacesAppendsAtCountAndFailsElsewhere) {
  const std::tuple<RowIndex, bool, std::vector<std::wstring>> cases[] = {
      {-1, false, {L"a", L"b", L"c"}}, {1, true, {L"a", L"new", L"c"}},
      {3, true, {L"a", L"b", L"c", L"new"}}, {4, false, {L"a", L"b", L"c"}}};
  for (const auto& [index, succeeds, after] : cases) {
    RowList list = AbcList();
    EXPECT_EQ(list.SetRow(index, L"new"), succeeds) << index;
    std::vector<std::wstring> rows;
    for (RowIndex i = 0; list.GetRow(i); ++i) rows.emplace_back(*list.GetRow(i));
    EXPECT_EQ(rows, after) << index;
  }
}

TEST(RowList, SelectRowRunsTheHandlerAfterARealChangeOnlyAndClearRaisesNone) {
  const std::tuple<std::vector<RowIndex>, RowIndex, std::vector<RowIndex>> cases[] = {
      {{-1, 3}, kNoRow, {}}, {{1, 1}, 1, {1}}, {{0, 2, 0}, 0, {0, 2, 0}}, {{2, -1, 3}, 2, {2}}};
  for (const auto& [requests, final_row, handler_saw] : cases) {
    RowList list = AbcList();
    std::vector<RowIndex> saw;
    list.SetSelectionHandler([&] { saw.push_back(list.CurrentRow()); });
    for (RowIndex request : requests) EXPECT_EQ(list.SelectRow(request), request >= 0 && request < 3);
    EXPECT_EQ(list.CurrentRow(), final_row);
    list.ClearRows();
    EXPECT_EQ(list.CurrentRow() + list.RowCount(), kNoRow);
    EXPECT_EQ(saw, handler_saw);
  }
}

}  // namespace
}  // namespace kavren
