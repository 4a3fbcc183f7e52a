// row_list_test.cpp: the list model's selection-handler and failure rules.
#include "common/row_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavren {
namespace {

std::vector<std::wstring> Rows(const RowList& list) {
  std::vector<std::wstring> rows;
  for (RowIndex i = 0; i < list.RowCount(); ++i) rows.emplace_back(*list.GetRow(i));
  return rows;
}

RowList ListOf(const std::vector<std::wstring>& rows) {
  RowList list;
  for (const auto& row : rows) list.AppendRow(row);
  return list;
}

struct SetRowCase {
  std::vector<std::wstring> before;
  RowIndex index;
  bool succeeds;
  std::vector<std::wstring> after;
};

TEST(RowList, SetRowReplacesAppendsAtCountAndFailsElsewhere) {
  const std::vector<SetRowCase> cases = {
      {{}, 0, true, {L"new"}},
      {{}, 1, false, {}},
      {{}, -1, false, {}},
      {{L"a", L"b"}, 1, true, {L"a", L"new"}},
      {{L"a", L"b"}, 2, true, {L"a", L"b", L"new"}},
      {{L"a", L"b"}, 3, false, {L"a", L"b"}},
  };
  for (const auto& c : cases) {
    RowList list = ListOf(c.before);
    EXPECT_EQ(list.SetRow(c.index, L"new"), c.succeeds) << "index " << c.index;
    EXPECT_EQ(Rows(list), c.after) << "index " << c.index;
  }
}

TEST(RowList, GetRowFailsOutsideTheRows) {
  const RowList list = ListOf({L"only"});
  EXPECT_EQ(list.GetRow(0).value(), L"only");
  for (RowIndex bad : {RowIndex{-1}, RowIndex{1}}) {
    EXPECT_FALSE(list.GetRow(bad).has_value());
    EXPECT_FALSE(list.GetPath(bad).has_value());
  }
}

TEST(RowList, KeepsDuplicatesInOrderAndPathsBesideNames) {
  RowList list;
  list.AppendRow(L"b.txt", L"C:\\one\\b.txt");
  list.AppendRow(L"a.txt");
  list.AppendRow(L"b.txt", L"C:\\two\\b.txt");
  EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"b.txt", L"a.txt", L"b.txt"}));
  EXPECT_EQ(list.GetPath(0).value(), L"C:\\one\\b.txt");
  EXPECT_EQ(list.GetPath(1).value(), L"a.txt");
  EXPECT_EQ(list.GetPath(2).value(), L"C:\\two\\b.txt");
}

TEST(RowList, SelectRowRunsTheHandlerOnlyOnARealChange) {
  struct Case {
    std::vector<RowIndex> requests;
    std::vector<bool> results;
    RowIndex final_row;
    int handler_calls;
  };
  const std::vector<Case> cases = {
      {{-1}, {false}, kNoRow, 0},
      {{3}, {false}, kNoRow, 0},
      {{1, 1}, {true, true}, 1, 1},
      {{0, 2, 0}, {true, true, true}, 0, 3},
      {{2, -1, 3}, {true, false, false}, 2, 1},
  };
  for (const auto& c : cases) {
    RowList list = ListOf({L"a", L"b", L"c"});
    int calls = 0;
    RowIndex seen = kNoRow;
    list.SetSelectionHandler([&] {
      ++calls;
      seen = list.CurrentRow();
    });
    for (std::size_t i = 0; i < c.requests.size(); ++i) {
      EXPECT_EQ(list.SelectRow(c.requests[i]), c.results[i]);
    }
    EXPECT_EQ(list.CurrentRow(), c.final_row);
    EXPECT_EQ(calls, c.handler_calls);
    // The handler runs after the row has become current.
    if (calls > 0) {
      EXPECT_EQ(seen, c.final_row);
    }
  }
}

TEST(RowList, ClearEmptiesWithoutRaisingTheHandler) {
  RowList list = ListOf({L"a", L"b"});
  ASSERT_TRUE(list.SelectRow(1));
  int calls = 0;
  list.SetSelectionHandler([&] { ++calls; });
  list.ClearRows();
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(list.CurrentRow(), kNoRow);
  EXPECT_EQ(calls, 0);
}

TEST(RowList, MirroredHandlersComeToRestAfterOneExchange) {
  RowList first = ListOf({L"a", L"b", L"c"});
  RowList second = ListOf({L"x", L"y"});
  int first_calls = 0, second_calls = 0;
  first.SetSelectionHandler([&] {
    ++first_calls;
    (void)second.SelectRow(first.CurrentRow());
  });
  second.SetSelectionHandler([&] {
    ++second_calls;
    (void)first.SelectRow(second.CurrentRow());
  });

  ASSERT_TRUE(first.SelectRow(1));
  EXPECT_EQ(second.CurrentRow(), 1);
  EXPECT_EQ(first_calls, 1);
  EXPECT_EQ(second_calls, 1);

  // The shorter list has no row 2: its selection stays where it was.
  ASSERT_TRUE(first.SelectRow(2));
  EXPECT_EQ(second.CurrentRow(), 1);
  EXPECT_EQ(first_calls, 2);
  EXPECT_EQ(second_calls, 1);

  ASSERT_TRUE(second.SelectRow(0));
  EXPECT_EQ(first.CurrentRow(), 0);
  EXPECT_EQ(first_calls, 3);
  EXPECT_EQ(second_calls, 2);
}

TEST(RowList, TellsItsViewAboutEveryChange) {
  struct Recorder : RowListView {
    std::vector<std::wstring> events;
    void RowAppended(RowIndex i) override { events.push_back(L"append " + std::to_wstring(i)); }
    void RowReplaced(RowIndex i) override { events.push_back(L"replace " + std::to_wstring(i)); }
    void RowsCleared() override { events.push_back(L"clear"); }
    void CurrentRowChanged(RowIndex i) override { events.push_back(L"current " + std::to_wstring(i)); }
  } view;
  RowList list;
  list.SetView(&view);
  list.AppendRow(L"a");
  (void)list.SetRow(1, L"b");
  (void)list.SetRow(0, L"c");
  (void)list.SelectRow(1);
  (void)list.SelectRow(1);
  (void)list.SetRow(5, L"nothing");
  list.ClearRows();
  EXPECT_EQ(view.events, (std::vector<std::wstring>{L"append 0", L"append 1", L"replace 0",
                                                     L"current 1", L"clear"}));
}

}  // namespace
}  // namespace kavren
