// list_menu_test.cpp: the lists' menu on each kind of row, the counts it leads to, and what its copies hold.
#include "window/portable/list_menu.h"
#include "window/portable/clipboard_text.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

// Over the lists of a pass that stopped before the last file, one row of each kind the counts and the copies tell
// apart, among them an ANSI file beside the empty one: the counts, the way from a count to its next file, going
// round past the last row, and what each copy holds.
TEST(CountLabels, CountEveryLabelTheOnlineOnlyFilesTooTheContentAfterAnsiAndTheEmptyFilesWhichCopiesAndNextFind) {
  RowList names;
  RowList labels;
  RowFindings findings;
  using enum FailureKind;
  constexpr ContentKind kNoVerdict = ContentKind::kNone;
  const std::tuple<const wchar_t*, const wchar_t*, FailureKind, ContentKind> rows[] = {
      {L"u.txt", L"UTF8", kNone, kNoVerdict},         {L"g.txt", L"ANSI", kNone, ContentKind::kNotUtf8},
      {L"e.txt", L"ANSI", kEmpty, kNoVerdict},        {L"x.txt", L"无法读取", kNotFound, kNoVerdict},
      {L"o.txt", L"仅联机", kOnlineOnly, kNoVerdict}, {L"a.txt", L"ANSI", kNone, ContentKind::kOnlyAscii},
      {L"f.txt", nullptr, kNone, kNoVerdict},
  };
  for (const auto& [name, label, why, content] : rows) {
    names.AppendRow(name, std::wstring(L"C:\\t\\") + name);
    if (!label) continue;
    findings.notes[labels.RowCount()] = {why};
    labels.AppendRow(label);
    findings.contents.push_back({content});
  }
  const std::vector<LabelCount> counts = {{L"UTF8", 1},     {L"ANSI", 3},   {L"非 UTF-8", 1}, {L"仅 ASCII", 1},
                                          {L"无法读取", 1}, {L"仅联机", 1}, {kEmptyFiles, 1}};
  EXPECT_EQ(CountLabels(labels, findings), counts);
  const std::tuple<RowIndex, std::wstring_view, RowIndex> next_rows[] = {
      {kNoRow, L"ANSI", 1}, {2, L"ANSI", 5},     {5, L"ANSI", 1},     {0, L"UTF8", 0},
      {0, kEmptyFiles, 2},  {2, kEmptyFiles, 2}, {1, L"仅 ASCII", 5}, {0, L"含 NUL", kNoRow},
  };
  for (const auto& [after, label, next] : next_rows)
    EXPECT_EQ(NextRowWithLabel(labels, findings, after, label), next) << after;
  const auto no_note = [](RowIndex) { return std::wstring(); };
  const ClipboardCopy table = ResultsCopy(names, labels, no_note);
  EXPECT_TRUE(table.text.ends_with(L"\r\nf.txt\t\tC:\\t\\f.txt\t\r\n")) << "the row the pass never reached";
  const std::tuple<const char*, ClipboardCopy, std::wstring, std::wstring> copies[] = {
      {"every row, labelled or not", table, table.text, L"已复制 7 行结果"},
      {"empty lists", ResultsCopy(RowList(), RowList(), no_note), L"", L""},
      {"a label", PathsCopy(names, labels, findings, L"ANSI"), L"C:\\t\\g.txt\r\nC:\\t\\e.txt\r\nC:\\t\\a.txt\r\n",
       L"已复制 3 个文件的路径"},
      {"the empty files, not every ANSI file", PathsCopy(names, labels, findings, kEmptyFiles), L"C:\\t\\e.txt\r\n",
       L"已复制 1 个文件的路径"},
      {"no file counted", PathsCopy(names, labels, findings, L"含 NUL"), L"", L""},
  };
  for (const auto& [what, copy, text, said] : copies)
    EXPECT_EQ(std::tuple(copy.text, copy.said), std::tuple(text, said)) << what;
}

// A path the shell cannot take, or one it must not be handed, greys the shell's items with the reason.
TEST(WhyShellCannotOpen, GivesAReasonPastMaxPathForPipesAndDevicesAndWhereTheStorageDoesNotAnswer) {
  const std::tuple<std::wstring, bool, std::wstring_view> rows[] = {
      {std::wstring(259, L'a'), true, L""},    {std::wstring(260, L'a'), true, L"259"},
      {std::wstring(261, L'a'), true, L"259"}, {L"\\\\.\\pipe\\x", true, L"管道"},
      {L"C:\\t\\nul.txt", true, L"设备"},      {L"C:\\t\\a.txt", false, L"没有响应"},
  };
  for (const auto& [path, answered, reason] : rows) {
    EXPECT_TRUE(reason.empty() ? WhyShellCannotOpen(path, answered).empty()
                               : WhyShellCannotOpen(path, answered).find(reason) != std::wstring::npos)
        << path.size();
  }
}

TEST(ListMenuEntries, OfferTheSameItemsDuringTheWorkAsAfterItEachSayingWhatItActsOn) {
  const std::wstring open = L"打开(&O)", folder = L"打开文件所在的位置(&I)", path = L"复制完整路径(&P)";
  // Each menu as shown: "-" before a greyed item, and alone for a separator.
  const std::tuple<ListMenuRow, ListMenuLists, std::vector<std::wstring>> menus[] = {
      {{true, true, true, false, {}, {}, L"文件所在的存储设备没有响应"},
       {true, false, false, 6},
       {L"-" + open, L"-" + folder, L"-（文件所在的存储设备没有响应）", path, L"-", L"复制全部结果(&C)\tCtrl+C"}},
      {{true, true, true, true, L"ANSI"},
       {true, true, false, 200, 13, {{L"ANSI", 13}, {kEmptyFiles, 2}}},
       {open, folder, path, L"复制所有“ANSI”文件的路径（已分析的 13 个）", L"复制所有空文件的路径（已分析的 2 个）",
        L"-", L"复制全部结果(&C)（已分析 13 / 200 个）\tCtrl+C", L"-", L"下一个 ANSI 文件（已分析的 13 个）",
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
