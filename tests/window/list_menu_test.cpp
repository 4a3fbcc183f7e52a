// list_menu_test.cpp: the lists' menu on each kind of row, before, during and after the work.
#include "window/list_menu.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

TEST(ListMenuEntries, OfferTheSameItemsDuringTheWorkAsAfterItEachSayingWhatItActsOn) {
  const std::wstring open = L"打开(&O)", folder = L"打开文件所在的位置(&I)", path = L"复制完整路径(&P)";
  // Each menu as shown: "-" before a greyed item, and alone for a separator.
  const std::tuple<ListMenuRow, ListMenuLists, std::vector<std::wstring>> menus[] = {
      {{true, true, true}, {true, false, false, 6}, {open, folder, path, L"-", L"复制全部结果(&C)\tCtrl+C"}},
      {{true, true, true, false, L"UUnicodeBigEndian"},
       {true, true, false, 200, 13, {{L"UUnicodeBigEndian", 13}, {kEmptyFiles, 2}}},
       {open, folder, path, L"复制所有“UUnicodeBigEndian”文件的路径（已分析的 13 个）", L"-",
        L"复制全部结果(&C)（已分析 13 / 200 个）\tCtrl+C", L"-", L"下一个 UUnicodeBigEndian 文件（已分析的 13 个）",
        L"下一个空文件（已分析的 2 个）"}},
  };
  for (const auto& [row, lists, items] : menus) {
    std::vector<std::wstring> shown;
    for (const ListMenuEntry& e : ListMenuEntries(row, lists)) shown.push_back((e.enabled ? L"" : L"-") + e.text);
    EXPECT_EQ(shown, items);
  }
}

}  // namespace
}  // namespace kavren
