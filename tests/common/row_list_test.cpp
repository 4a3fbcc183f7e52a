// row_list_test.cpp: the list model's rules that the pass and the paired lists rely on.
#include "common/row_list.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

// A row is replaced or appended only in range, a selection only of a row
// there is, and a refused request changes nothing; a clear leaves no row
// selected. (The mirrors' exchange, which ends only because selecting the
// current row raises nothing, runs in every pass and window test.)
TEST(RowList, SetsAndSelectsRowsInRangeOnlyAndAClearLeavesNoneSelected) {
  RowList list;
  list.AppendRow(L"a");
  EXPECT_TRUE(list.SetRow(1, L"b") && list.SetRow(0, L"c") && list.SelectRow(1));
  EXPECT_FALSE(list.SetRow(3, L"x") || list.SetRow(-1, L"x") || list.SelectRow(2) || list.SelectRow(-1));
  EXPECT_TRUE(list.RowCount() == 2 && list.GetRow(0) == L"c" && list.GetRow(1) == L"b" && list.CurrentRow() == 1);
  list.ClearRows();
  EXPECT_TRUE(list.RowCount() == 0 && list.CurrentRow() == kNoRow);
}

}  // namespace
}  // namespace kavren
