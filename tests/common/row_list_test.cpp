// row_list_test.cpp: the list model's rules that the pass and the paired lists rely on, and the index of its paths.
#include "common/row_list.h"
#include "common/listed_paths.h"

#include <gtest/gtest.h>

#include <array>

namespace kavren {
namespace {

// A row is replaced or appended only in range, a selection only of a row
// there is, and a refused request changes nothing. (The mirrors' exchange,
// which ends only because selecting the current row raises nothing, runs in
// every pass and window test.) Braces: the requests are made in order.
TEST(RowList, SetsAndSelectsRowsInRangeOnlyAndAClearLeavesNoneSelected) {
  RowList list;
  list.AppendRow(L"a");
  EXPECT_EQ((std::array{list.SetRow(1, L"b"), list.SetRow(0, L"c"), list.SelectRow(1)}),
            (std::array{true, true, true}));
  EXPECT_EQ((std::array{list.SetRow(3, L"x"), list.SetRow(-1, L"x"), list.SelectRow(2), list.SelectRow(-1)}),
            (std::array{false, false, false, false}));
  EXPECT_EQ((std::array{list.GetRow(0), list.GetRow(1), list.GetRow(2)}),
            (std::array<std::optional<std::wstring_view>, 3>{L"c", L"b", std::nullopt}));
  EXPECT_EQ(list.CurrentRow(), 1);
  list.ClearRows();
  EXPECT_EQ((std::array{list.RowCount(), list.CurrentRow()}), (std::array{RowIndex{0}, kNoRow}))
      << "a clear left a row selected";
}

// A file listed by its first path, then handed over again by the second: listed again only if it is another file.
TEST(ListedPaths, TakesAPathOnlyIfItNamesAFileNotYetListedAsWindowsComparesThem) {
  const std::tuple<std::wstring, std::wstring, bool> pairs[] = {
      {L"\\\\?\\C:\\小说\\Ａé ДΣ ŁŽĀ.txt", L"c:\\小说\\ａÉ дς łžā.TXT", false},
      {L"\\\\?\\unc\\nas\\share\\a.txt", L"\\\\NAS\\share\\a.txt", false},
      {L"C:/books//a.txt", L"C:\\books\\a.txt\\", false},
      {L"C:\\books\\a.txt", L"D:\\books\\a.txt.bak", true},
      {L"\\\\nas\\share\\a.txt", L"\\nas\\share\\a.txt", true},
      {L"C:\\ı.txt", L"C:\\I.txt", true},
  };
  for (const auto& [first, second, again] : pairs) {
    RowList list;
    ListedPaths listed;
    ASSERT_TRUE(listed.Add(list, first));
    list.AppendRow(L"", first);
    EXPECT_EQ(listed.Add(list, second), again) << first << L" | " << second;
  }
}

}  // namespace
}  // namespace kavren
