// desktop_test.cpp: drops from Explorer, copying the results, and the font the captions are drawn in.
#include <gtest/gtest.h>

#include "support/gui_support.h"
#include "support/temp_dir.h"

namespace kavren::testing {
namespace {

std::vector<std::wstring> NamesAndPaths(const RowList& list) {
  std::vector<std::wstring> rows;
  for (RowIndex i = 0; i < list.RowCount(); ++i) rows.insert(rows.end(), {std::wstring(*list.GetRow(i)), *list.GetPath(i)});
  return rows;
}

TEST(Form1Drop, AddsDroppedFilesAndTheTxtFilesOfDroppedTreesInExplorersOrderAsOneBatch) {
  Form1Fixture f;
  TempDir dir;
  std::wstring deep;
  for (wchar_t c = L'a'; c < L'h'; ++c) deep += std::wstring(40, c) + L"\\";
  const std::pair<std::wstring, DWORD> tree[] = {
      {L"第10章.txt", 0}, {L"第2章.txt", 0}, {L"B.TXT", 0}, {L"notes.md", 0}, {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
      {L"system.txt", FILE_ATTRIBUTE_SYSTEM}, {L"sub\\x.txt", 0}, {L"卷2\\y.txt", 0}, {L"卷10\\z.txt", 0},
      {L"hid\\h.txt", 0}, {L"sys\\s.txt", 0}, {deep + L"长.txt", 0}};
  for (const auto& [name, attributes] : tree) {
    dir.Write(L"tree\\" + name, {0xEF, 0xBB, 0xBF});
    if (attributes) ::SetFileAttributesW(dir.Wide(L"tree\\" + name).c_str(), attributes);
  }
  ::SetFileAttributesW(dir.Wide(L"tree\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW(dir.Wide(L"tree\\sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(::CreateSymbolicLinkW(dir.Wide(L"tree\\link").c_str(), dir.Wide(L"tree\\sub").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
  const std::wstring loose = dir.Write(L"loose.md", {0x61});

  std::vector<std::wstring> expected = {L"loose.md", loose};
  for (const std::wstring& name : {std::wstring(L"B.TXT"), std::wstring(L"第2章.txt"), std::wstring(L"第10章.txt"),
                                   deep + L"长.txt", std::wstring(L"sub\\x.txt"), std::wstring(L"卷2\\y.txt"), std::wstring(L"卷10\\z.txt")}) {
    expected.insert(expected.end(), {name.substr(name.rfind(L'\\') + 1), dir.Wide(L"tree\\" + name)});
  }
  f.Post(f.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({loose, dir.Wide(L"tree")})));
  EXPECT_EQ(NamesAndPaths(f.form().list1()), expected);
  EXPECT_EQ(ListBoxRows(f[Control::List1]).size(), expected.size() / 2);
}

TEST(Form1Copy, CtrlCAndTheContextMenuPutTheWholeTableOnTheClipboardAndChangeNothingElse) {
  Form1Fixture f;
  TempDir dir;
  const std::wstring le = dir.Write(L"le.txt", {0xFF, 0xFE}), u8 = dir.Write(L"u8.txt", {0xEF, 0xBB, 0xBF});
  // Works the menu from another thread: reads its one item, then chooses it or closes the menu.
  auto use_menu = [&](UINT key) {
    std::pair<std::wstring, UINT> item;
    std::thread user([&] {
      HWND menu = nullptr;
      WaitFor([&] { return (menu = ::FindWindowW(L"#32768", nullptr)) && ::IsWindowVisible(menu); }, 5s);
      const auto popup = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
      item.first.resize(64);
      item.first.resize(static_cast<std::size_t>(::GetMenuStringW(popup, 0, item.first.data(), 64, MF_BYPOSITION)));
      item.second = ::GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED;
      ::PostMessageW(menu, WM_KEYDOWN, key, 0);
    });
    ::SendMessageW(f.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f[Control::List2]), MAKELPARAM(-1, -1));
    user.join();
    return item;
  };
  auto clipboard = [] {
    std::wstring text = L"(empty)";
    if (::OpenClipboard(nullptr)) {
      if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) text = static_cast<const wchar_t*>(::GlobalLock(data));
      ::GlobalUnlock(::GetClipboardData(CF_UNICODETEXT)), ::CloseClipboard();
    }
    return text;
  };
  EXPECT_EQ(use_menu(VK_ESCAPE), std::pair(std::wstring(L"复制全部结果(&C)\tCtrl+C"), UINT{MF_GRAYED}));

  f.form().AppendChosenFiles({{L"le.txt", le}, {L"u8.txt", u8}});
  const std::wstring before = L"文件名\t编码方式\t完整路径\r\nle.txt\t\t" + le + L"\r\nu8.txt\t\t" + u8 + L"\r\n";
  EXPECT_EQ(use_menu('C').second, 0u);
  EXPECT_EQ(clipboard(), before);

  f.Click(Control::Command2);
  ::SetFocus(f[Control::List1]);
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80, ::SetKeyboardState(keys);
  f.Post(f[Control::List1], WM_KEYDOWN, 'C');
  keys[VK_CONTROL] = 0, ::SetKeyboardState(keys);
  EXPECT_EQ(clipboard(), L"文件名\t编码方式\t完整路径\r\nle.txt\tUnicode\t" + le + L"\r\nu8.txt\tUTF8\t" + u8 + L"\r\n");
  EXPECT_EQ(::GetFocus(), f[Control::List1]);
  EXPECT_EQ(f.form().list1().CurrentRow(), 1);
  EXPECT_EQ(f.form().list2().CurrentRow(), kNoRow);
}

// Whatever CJK fonts the machine has, the captions are drawn in the one the
// prefix was set up with.
TEST(Form1Font, DrawsTheCaptionsInWenQuanYiMicroHei) {
  Form1Fixture f;
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(f[Control::Command3], WM_GETFONT, 0, 0));
  LOGFONTW chosen{};
  ::GetObjectW(font, sizeof chosen, &chosen);
  wcscpy(chosen.lfFaceName, L"WenQuanYi Micro Hei");
  const HFONT reference = ::CreateFontIndirectW(&chosen);
  auto render = [](HFONT with) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 120, 40, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::SelectObject(dc, bitmap), ::SelectObject(dc, with);
    ::TextOutW(dc, 0, 0, L"编码方式", 4);
    std::vector<char> pixels(static_cast<char*>(bits), static_cast<char*>(bits) + 120 * 40 * 4);
    ::DeleteDC(dc), ::DeleteObject(bitmap);
    return pixels;
  };
  EXPECT_TRUE(render(font) == render(reference)) << "the captions are not drawn in WenQuanYi Micro Hei";
  ::DeleteObject(reference);
}

}  // namespace
}  // namespace kavren::testing
