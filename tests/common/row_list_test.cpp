// row_list_test.cpp: the list model's rules that the pass and the paired lists rely on.
#include "common/row_list.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

// Requests on a list of rows a, b, c: a SetRow to `set_at`, then a SelectRow
// of each of `select`; then which succeeded, the rows, the current row, and
// the rows the selection handler saw current; and after a clear, nothing.
TEST(RowList, SetsAndSelectsRowsInRangeOnlyAndRaisesTheHandlerOnARealChangeOnly) {
  struct Case {
    RowIndex set_at;
    std::vector<RowIndex> select;
    std::vector<bool> succeeded;
    std::wstring rows;
    RowIndex current;
    std::vector<RowIndex> handler_saw;
  };
  const Case cases[] = {
      {-1, {-1, 3}, {false, false, false}, L"abc", kNoRow, {}},
      {3, {0, 3, 0}, {true, true, true, true}, L"abcX", 0, {0, 3, 0}},
      {4, {2, 2, -1, 4}, {false, true, true, false, false}, L"abc", 2, {2}},
  };
  for (const Case& c : cases) {
    RowList list;
    for (const wchar_t* row : {L"a", L"b", L"c"}) list.AppendRow(row);
    std::vector<RowIndex> saw;
    list.SetSelectionHandler([&] { saw.push_back(list.CurrentRow()); });
    std::vector<bool> succeeded = {list.SetRow(c.set_at, L"X")};
    for (RowIndex request : c.select) succeeded.push_back(list.SelectRow(request));
    std::wstring rows;
    for (RowIndex i = 0; list.GetRow(i); ++i) rows += *list.GetRow(i);
    EXPECT_EQ(std::tuple(succeeded, rows, saw, list.CurrentRow()),
              std::tie(c.succeeded, c.rows, c.handler_saw, c.current))
        << c.set_at;
    list.ClearRows();
    EXPECT_TRUE(list.CurrentRow() == kNoRow && list.RowCount() == 0 && saw.size() == c.handler_saw.size());
  }
}

}  // namespace
}  // namespace kavren
