// list_menu_test.cpp: the lists' menu on each kind of row, before, during and after the work.
#include "window/list_menu.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

// The items as the menu shows them: "-" before a greyed one, "" for a separator.
std::vector<std::wstring> Shown(const std::vector<ListMenuEntry>& entries) {
  std::vector<std::wstring> shown;
  for (const ListMenuEntry& entry : entries) shown.push_back((entry.enabled ? L"" : L"-") + entry.text);
  for (std::wstring& text : shown) text = text == L"-" ? L"" : text;
  return shown;
}

TEST(ListMenuEntries, OfferTheSameItemsDuringTheWorkAsAfterItEachSayingWhatItActsOn) {
  const std::wstring open = L"打开(&O)", folder = L"打开文件所在的位置(&I)", path = L"复制完整路径(&P)";
  const std::wstring all = L"复制全部结果(&C)\tCtrl+C";
  const std::wstring be = L"UUnicodeBigEndian";
  const std::vector<LabelCount> so_far = {{be, 13}, {kEmptyFiles, 2}};
  const std::tuple<const char*, ListMenuRow, ListMenuLists, std::vector<std::wstring>> menus[] = {
      {"before any pass", {true, true, true}, {true, false, false, 6}, {open, folder, path, L"", all}},
      {"during the pass, on a row read so far",
       {true, true, true, false, be},
       {true, true, false, 200, 13, so_far},
       {open, folder, path, L"复制所有“UUnicodeBigEndian”文件的路径（已分析的 13 个）", L"",
        L"复制全部结果(&C)（已分析 13 / 200 个）\tCtrl+C", L"", L"下一个 UUnicodeBigEndian 文件（已分析的 13 个）",
        L"下一个空文件（已分析的 2 个）"}},
      {"after the pass, on an empty file",
       {true, true, true, true, L"ANSI"},
       {true, false, false, 2, 2, {{L"ANSI", 1}, {kEmptyFiles, 1}}},
       {open, folder, path, L"复制所有“ANSI”文件的路径", L"复制所有空文件的路径", L"", all, L"", L"下一个 ANSI 文件",
        L"下一个空文件"}},
      {"on a pipe's row",
       {true, true, false, false, L"无法读取"},
       {true},
       {L"-" + open, folder, path, L"复制所有“无法读取”文件的路径", L"", all}},
      {"during a walk, on a path the shell cannot take",
       {true, true, true, false, L"", L"路径太长"},
       {true, false, true, 1'234},
       {L"-" + open, L"-" + folder, L"-（路径太长）", path, L"", L"复制全部结果(&C)（已列出的 1,234 个）\tCtrl+C"}},
  };
  for (const auto& [name, row, lists, items] : menus) EXPECT_EQ(Shown(ListMenuEntries(row, lists)), items) << name;
}

}  // namespace
}  // namespace kavren
