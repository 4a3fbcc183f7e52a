// form1_test.cpp: the real form1 in this process, driven through the program's own message handling.
#include <gtest/gtest.h>

#include <atomic>

#include "support/gui_support.h"
#include "support/temp_dir.h"
#include "window/dpi_win32.h"

namespace kavren::testing {
namespace {

// Names out of sorted order, so that a sorting list box shows.
const std::vector<std::wstring> kNames = {L"d.txt", L"a.txt", L"c.txt", L"b.txt", L"gone.txt"};
const std::vector<std::wstring> kLabels = {L"Unicode", L"UTF8", L"ANSI", L"UUnicodeBigEndian", L"无法读取"};

void AddFiles(Form1Fixture& f, const TempDir& dir) {
  const std::vector<unsigned char> bytes[] = {{0xFF, 0xFE}, {0xEF, 0xBB, 0xBF}, {0x61}, {0xFE, 0xFF}, {}};
  std::vector<ChosenFile> files;
  for (std::size_t i = 0; i < kNames.size(); ++i) files.push_back({kNames[i], i < 4 ? dir.Write(kNames[i], bytes[i]) : dir.Wide(kNames[i])});
  f.form().AppendChosenFiles(std::move(files));
}

RECT RectIn(HWND window, HWND parent) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST(Form1Window, LaysEachControlOutInsideTheClientAreaWithItsCaptionFittingAt96And144Dpi) {
  Form1Fixture f;
  HDC dc = ::GetDC(f.hwnd());
  for (UINT dpi : {96u, 144u}) {
    RECT suggested = {100, 50, 700, 700}, client;  // as Windows sends on a move to a 150% monitor
    if (dpi != 96) ::SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ::GetClientRect(f.hwnd(), &client);
    for (const win32::ControlSpec& entry : win32::kForm1Controls) {
      const RECT at = RectIn(f[entry.control], f.hwnd());
      const int id = static_cast<int>(entry.control);
      EXPECT_EQ(at.top, win32::TwipsToPixels(entry.rect.top, dpi)) << id << " not laid out at " << dpi;
      EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= client.right && at.bottom <= client.bottom) << id;
      const auto font = reinterpret_cast<HFONT>(::SendMessageW(f[entry.control], WM_GETFONT, 0, 0));
      LOGFONTW used{};
      ::GetObjectW(font, sizeof used, &used);
      EXPECT_EQ(used.lfHeight, win32::MessageFontForDpi(dpi).lfHeight) << id;
      RECT needed = {}, inside;
      ::SelectObject(dc, font);
      ::DrawTextW(dc, entry.caption, -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      ::GetClientRect(f[entry.control], &inside);
      const int padding = entry.window_class == std::wstring_view(L"BUTTON") && *entry.caption ? 6 : 0;
      EXPECT_TRUE(needed.right + padding <= inside.right && needed.bottom <= inside.bottom) << id << " clipped at " << dpi;
    }
  }
  ::ReleaseDC(f.hwnd(), dc);
}

TEST(Form1Window, HoldsItsSizeWhateverAsksForAnother) {
  Form1Fixture f;
  const RECT fixed = RectIn(f.hwnd(), HWND_DESKTOP);
  ::SetWindowPos(f.hwnd(), nullptr, 0, 0, 640, 500, SWP_NOMOVE | SWP_NOZORDER);
  for (int show : {SW_MAXIMIZE, SW_RESTORE, SW_MINIMIZE, SW_RESTORE}) ::ShowWindow(f.hwnd(), show), f.Pump();
  const RECT now = RectIn(f.hwnd(), HWND_DESKTOP);
  EXPECT_EQ(std::pair(now.right - now.left, now.bottom - now.top), std::pair(fixed.right - fixed.left, fixed.bottom - fixed.top));
}

std::wstring Clipboard() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return L"(busy)";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) text = static_cast<const wchar_t*>(::GlobalLock(data)), ::GlobalUnlock(data);
  ::CloseClipboard();
  return text;
}

// Keys, clicks and menus as the controls produce them, through the program's loop.
TEST(Form1Input, TabOrderCopyAndMirrorWorkAndNoOtherKeyOrButtonChangesWhatItShould) {
  Form1Fixture f;
  TempDir dir;
  // The menu's own loop reads what was queued before it opened: the item's
  // mnemonic, then Esc, which closes the menu if its item is greyed.
  auto copy_by_menu = [&](Control list) {
    ::OpenClipboard(nullptr), ::EmptyClipboard(), ::CloseClipboard();
    ::PostMessageW(f.hwnd(), WM_CHAR, 'c', 0), ::PostMessageW(f.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    ::SendMessageW(f.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f[list]), MAKELPARAM(-1, -1));
    f.Pump();
    return Clipboard();
  };
  auto table = [&](bool labelled) {
    std::wstring text = L"文件名\t编码方式\t完整路径\r\n";
    for (std::size_t i = 0; i < kNames.size(); ++i) text += kNames[i] + L"\t" + (labelled ? kLabels[i] : L"") + L"\t" + dir.Wide(kNames[i]) + L"\r\n";
    return text;
  };
  EXPECT_EQ(copy_by_menu(Control::List1), L"");
  AddFiles(f, dir);
  EXPECT_EQ(copy_by_menu(Control::List2), table(false));

  ::SetFocus(f[Control::List1]);
  for (Control next : {Control::Command1, Control::Command2, Control::Command3, Control::Command5, Control::List2,
                       Control::Command4, Control::Command6, Control::List1}) {
    f.Post(::GetFocus(), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(::GetFocus(), f[next]) << "tab to " << static_cast<int>(next);
  }
  for (Control focused : {Control::Command4, Control::Command6}) {
    ::SetFocus(f[focused]);
    f.Post(f[focused], WM_KEYDOWN, VK_RETURN), f.Post(f[focused], WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(::IsWindow(f.hwnd()) && ListBoxRows(f[Control::List1]) == kNames);
  }
  ::SetFocus(f[Control::Command2]);
  f.Click(Control::Command2);
  EXPECT_EQ(::GetFocus(), f[Control::Command3]) << "the disabled button kept the focus";
  EXPECT_EQ(ListBoxRows(f[Control::List1]), kNames);
  EXPECT_EQ(ListBoxRows(f[Control::List2]), kLabels);

  // Ctrl+C in a list copies and changes nothing.
  BYTE keys[256] = {};
  ::SetFocus(f[Control::List1]), ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80, ::SetKeyboardState(keys);
  f.Post(f[Control::List1], WM_KEYDOWN, 'C');
  keys[VK_CONTROL] = 0, ::SetKeyboardState(keys);
  EXPECT_EQ(Clipboard(), table(true));
  EXPECT_TRUE(::GetFocus() == f[Control::List1] && f.form().list1().CurrentRow() == 4 && f.form().list2().CurrentRow() == kNoRow);

  // Each list's selection, moved by key, moves the other's; the headings do nothing.
  auto both_at = [&](RowIndex row) {
    return ::SendMessageW(f[Control::List1], LB_GETCURSEL, 0, 0) == row && f.form().list1().CurrentRow() == row &&
           ::SendMessageW(f[Control::List2], LB_GETCURSEL, 0, 0) == row && f.form().list2().CurrentRow() == row;
  };
  f.Post(f[Control::List1], WM_KEYDOWN, VK_UP);
  EXPECT_TRUE(both_at(3));
  f.Post(f[Control::List2], WM_KEYDOWN, VK_HOME);
  f.Click(Control::Command3), f.Click(Control::Command5);
  EXPECT_TRUE(both_at(0));

  f.Click(Control::Command4);
  EXPECT_TRUE(ListBoxRows(f[Control::List1]).empty() && ListBoxRows(f[Control::List2]).empty());
  EXPECT_FALSE(::IsWindowEnabled(f[Control::Command2])) << "clear enabled the analyse button";
  AddFiles(f, dir);
  f.Click(Control::Command2);
  EXPECT_TRUE(ListBoxRows(f[Control::List2]).empty()) << "a second pass ran";
}

TEST(Form1Pass, ALongPassShowsProgressAnswersOthersAndRunsWhatTheySendOnlyAfterIt) {
  Form1Fixture f;
  TempDir dir;
  constexpr LRESULT kRows = 40'000;
  f.form().AppendChosenFiles(std::vector<ChosenFile>(kRows, {L"same.txt", dir.Write(L"same.txt", {0xEF, 0xBB, 0xBF})}));
  const HWND form = f.hwnd(), list1 = f[Control::List1], list2 = f[Control::List2];
  ASSERT_EQ(::SendMessageW(list1, LB_GETCOUNT, 0, 0), kRows);

  // Another program watches the lists and, once the pass is under way,
  // sends a clear, a second analyse, a drop and a close, as automation tools
  // and Explorer do. Its replies show that the window still takes messages.
  std::vector<std::pair<DWORD_PTR, DWORD_PTR>> progress;  // labels, selected file
  long long longest_wait_ms = 0;
  std::atomic<bool> pass_over = false;
  std::thread other_program([&, dropped = dir.Wide(L"dropped.txt")] {
    for (; !pass_over; std::this_thread::sleep_for(20ms)) {
      const auto start = std::chrono::steady_clock::now();
      DWORD_PTR labels = 0, selected = 0;
      ::SendMessageTimeoutW(list2, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &labels);
      ::SendMessageTimeoutW(list1, LB_GETCURSEL, 0, 0, SMTO_NORMAL, 5000, &selected);
      longest_wait_ms = std::max<long long>(longest_wait_ms, (std::chrono::steady_clock::now() - start) / 1ms);
      if (labels == 0 || labels == kRows || pass_over) continue;
      if (progress.empty()) {
        // Sent, not posted, and without waiting for the answer.
        for (HWND to : {f[Control::Command4], f[Control::Command2]}) ::SendNotifyMessageW(to, BM_CLICK, 0, 0);
        ::SendNotifyMessageW(form, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dropped})), 0);
        ::SendNotifyMessageW(form, WM_CLOSE, 0, 0);
      }
      progress.emplace_back(labels, selected);
    }
  });
  ::SendMessageW(f[Control::Command2], BM_CLICK, 0, 0);
  EXPECT_EQ(::SendMessageW(list2, LB_GETCOUNT, 0, 0), kRows);
  EXPECT_EQ(::SendMessageW(list1, LB_GETCURSEL, 0, 0), kRows - 1);
  EXPECT_EQ(::SendMessageW(list2, LB_GETCURSEL, 0, 0), LB_ERR);
  pass_over = true;
  // What was sent waits for the program's loop: the clear, the drop, then the close.
  EXPECT_EQ(win32::RunMessageLoop(form), 0);
  other_program.join();
  EXPECT_TRUE(f.form().list1().RowCount() == 1 && f.form().list1().GetRow(0) == L"dropped.txt")
      << "the clear or the drop ran in the pass, or was lost";
  EXPECT_GE(progress.size(), 2u) << "no visible progress, or nothing was sent during the pass";
  for (const auto& [labels, selected] : progress) EXPECT_GE(selected + 1, labels);
  EXPECT_LT(longest_wait_ms, 1000) << "the window stopped answering";
}

TEST(Form1Drop, AddsDroppedFilesAndTheTxtFilesOfDroppedTreesInExplorersOrderAsOneBatch) {
  Form1Fixture f;
  TempDir dir;
  std::wstring deep;
  for (wchar_t c = L'a'; c < L'h'; ++c) deep += std::wstring(40, c) + L"\\";
  // The dropped tree, each entry with its place among the rows the drop adds
  // after a loose file, or -1. A name ending in a backslash is a folder.
  const std::tuple<std::wstring, DWORD, int> tree[] = {
      {L"第10章.txt", 0, 3}, {L"第2章.txt", 0, 2}, {L"第12章.txt", 0, 4}, {L"第1章.txt", 0, 1}, {L"B.TXT", 0, 0},
      {L"notes.md", 0, -1}, {L"hidden.txt", FILE_ATTRIBUTE_HIDDEN, -1}, {L"system.txt", FILE_ATTRIBUTE_SYSTEM, -1},
      {deep + L"长.txt", 0, 5}, {L"sub\\x.txt", 0, 6}, {L"卷2\\y.txt", 0, 7}, {L"卷10\\z.txt", 0, 8}, {L"hid\\h.txt", 0, -1},
      {L"hid\\", FILE_ATTRIBUTE_HIDDEN, -1}, {L"sys\\s.txt", 0, -1}, {L"sys\\", FILE_ATTRIBUTE_SYSTEM, -1}};
  const std::wstring loose = dir.Write(L"loose.md", {0x61});
  std::vector<std::wstring> expected = {L"loose.md", loose};
  expected.resize(2 + 2 * 9);
  for (const auto& [name, attributes, place] : tree) {
    if (!name.ends_with(L'\\')) dir.Write(L"tree\\" + name, {0xEF, 0xBB, 0xBF});
    if (attributes) ::SetFileAttributesW(dir.Wide(L"tree\\" + name).c_str(), attributes);
    if (place >= 0) expected[2 * place + 2] = name.substr(name.rfind(L'\\') + 1), expected[2 * place + 3] = dir.Wide(L"tree\\" + name);
  }
  ASSERT_TRUE(::CreateSymbolicLinkW(dir.Wide(L"tree\\link").c_str(), dir.Wide(L"tree\\sub").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
  f.Post(f.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({loose, dir.Wide(L"tree")})));
  std::vector<std::wstring> rows;
  for (RowIndex i = 0; f.form().list1().GetRow(i); ++i) rows.insert(rows.end(), {std::wstring(*f.form().list1().GetRow(i)), *f.form().list1().GetPath(i)});
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(ListBoxRows(f[Control::List1]).size(), expected.size() / 2);
}

// Whatever CJK fonts the machine has, the captions are drawn in the one the
// prefix was set up with.
TEST(Form1Font, DrawsTheCaptionsInWenQuanYiMicroHei) {
  Form1Fixture f;
  LOGFONTW chosen{};
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(f[Control::Command3], WM_GETFONT, 0, 0));
  ::GetObjectW(font, sizeof chosen, &chosen);
  wcscpy(chosen.lfFaceName, L"WenQuanYi Micro Hei");
  const HFONT reference = ::CreateFontIndirectW(&chosen);
  auto render = [dc = ::CreateCompatibleDC(nullptr)](HFONT with) {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 120, 40, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    char* bits = nullptr;
    ::SelectObject(dc, ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&bits, nullptr, 0)), ::SelectObject(dc, with);
    ::TextOutW(dc, 0, 0, L"编码方式", 4);
    return std::string(bits, 120 * 40 * 4);
  };
  EXPECT_TRUE(render(font) == render(reference)) << "the captions are not drawn in WenQuanYi Micro Hei";
}

}  // namespace
}  // namespace kavren::testing
