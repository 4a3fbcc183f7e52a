// window_test.cpp: the real form1 in this process, driven through the program's own message handling; then
// what only the real system shows -- the Open dialog, the shell, and the program as its own process.
#include <gtest/gtest.h>

#include <atomic>
#include <numeric>

#include <windows.h>

#include <commdlg.h>

#include "support/gui_support.h"
#include "support/stalled_reader.h"
#include "support/temp_dir.h"
#include "window/portable/label_counts.h"
#include "window/shell_open_win32.h"

namespace kavren::testing {
namespace {

// Names out of sorted order, so that a sorting list box shows.
// The last is a name the file system refuses, with the system's own reason.
const std::vector<std::wstring> kNames = {L"d.txt", L"a.txt", L"c.txt", L"b.txt", L"gone.txt", L"a<b.txt"};

void AddFiles(Form1Fixture& f, const TempDir& dir) {
  const std::vector<unsigned char> bytes[] = {{0xFF, 0xFE}, {0xEF, 0xBB, 0xBF}, {}, {0xFE, 0xFF}};
  std::vector<ChosenFile> files;
  for (std::size_t i = 0; i < kNames.size(); ++i)
    files.push_back({kNames[i], i < std::size(bytes) ? dir.Write(kNames[i], bytes[i]) : dir.Wide(kNames[i])});
  f.form().AppendChosenFiles(std::move(files));
}

// Reads the clipboard's text and empties it, so that the next read sees only what came after.
std::wstring TakeClipboard() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return L"(busy)";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::EmptyClipboard();
  ::CloseClipboard();
  return text;
}

// Ctrl+C in `list` (or a plain C), with another program's format (a web page's, say) on the clipboard, which must go
// with a copy, or a paste into Word takes it instead; what the clipboard then holds.
std::wstring CtrlC(const Form1Fixture& f, Control list, BYTE ctrl = 0x80) {
  const UINT html = ::RegisterClipboardFormatW(L"HTML Format");
  if (::OpenClipboard(nullptr)) {
    ::SetClipboardData(html, ::GlobalAlloc(GMEM_MOVEABLE, 16));
    ::CloseClipboard();
  }
  BYTE keys[256] = {};
  keys[VK_CONTROL] = ctrl;
  ::SetKeyboardState(keys);
  f.Post(f[list], WM_KEYDOWN, 'C');
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  const bool stale = ::IsClipboardFormatAvailable(html);
  return TakeClipboard() + (stale ? L"(and the old HTML)" : L"");
}

// The rows selected in each list, or the first row each shows.
using Rows = std::pair<LRESULT, LRESULT>;
Rows BothLists(const Form1Fixture& f, UINT question) {
  return {::SendMessageW(f[Control::List1], question, 0, 0), ::SendMessageW(f[Control::List2], question, 0, 0)};
}

// The items of the menu the lists last opened, as WM_INITMENUPOPUP showed them: "-" before a greyed one.
std::vector<std::wstring> menu_items;
HWND box_owner = nullptr;  // of the last message box, which is closed as it opens
LRESULT CALLBACK SpyOnMenu(int code, WPARAM wparam, LPARAM lparam) {
  const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (sent.message == WM_INITDIALOG) box_owner = ::GetWindow(sent.hwnd, GW_OWNER);
  if (sent.message == WM_INITDIALOG) ::PostMessageW(sent.hwnd, WM_COMMAND, IDOK, 0);
  if (sent.message == WM_INITMENUPOPUP) {
    const auto menu = reinterpret_cast<HMENU>(sent.wParam);
    menu_items.clear();
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      wchar_t text[128] = L"";
      ::GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
      menu_items.push_back((::GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED ? L"-" : L"") + std::wstring(text));
    }
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

// form1 holding kNames, not yet analysed, with the clipboard emptied and the lists' menus watched.
class Form1WithFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    AddFiles(f, dir);
    TakeClipboard();
  }
  void TearDown() override { ::UnhookWindowsHookEx(hook_); }
  [[nodiscard]] std::wstring Path(std::size_t row) const { return dir.Wide(kNames[row]); }
  // A right click on row `row` of the label list, then the keys the menu's loop reads; what it copied.
  std::wstring MenuOn(LRESULT row, const std::vector<WPARAM>& keys) {
    f.Menu(f[Control::List2], row, keys);
    return TakeClipboard();
  }

  Form1Fixture f;
  TempDir dir;

 private:
  HHOOK hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, SpyOnMenu, nullptr, ::GetCurrentThreadId());
};

// The same after a pass during which another program held b.txt (row 3): it is there, but was not read.
class Form1Analysed : public Form1WithFiles {
 protected:
  void SetUp() override {
    Form1WithFiles::SetUp();
    const HANDLE holder = ::CreateFileW(Path(3).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    f.Click(Control::Command2);
    ::CloseHandle(holder);
  }
};
// The DPIs the layout must hold at: the design's, then 150%, as Windows tells of a move to such a monitor.
void AtEachDpi(const Form1Fixture& f, const std::function<void(UINT dpi)>& check) {
  for (UINT dpi : {96u, 144u}) {
    RECT suggested = {100, 50, 700, 700};
    if (dpi != 96) ::SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    check(dpi);
  }
}

// Each control inside the window, in the system's message font as the system gives it for 96 DPI, scaled, with its
// caption drawn whole; and the label list wide enough for its longest label beside a scroll bar if it has one. Under
// Wine a screen reader names a list by its window text, which a list box never draws.
TEST(Form1Window, EveryControlLiesInsideInTheMessageFontWithItsCaptionWholeAt96And144DpiEachListNamedAndItsSizeKept) {
  Form1Fixture f;
  EXPECT_EQ(WindowText(f[Control::List1]), L"文件名");
  EXPECT_EQ(WindowText(f[Control::List2]), L"编码方式");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  AtEachDpi(f, [&](UINT dpi) {
    RECT client;
    ::GetClientRect(f.hwnd(), &client);
    RECT needed{};  // the last caption's, in the font of them all
    for (std::size_t i = 0; i < win32::kControlCount; ++i) {
      const HWND control = f[Control(i)];
      const RECT at = f.Placed(control);
      EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.right <= client.right && at.bottom <= client.bottom) << i << dpi;
      const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
      LOGFONTW used{};
      ::GetObjectW(font, sizeof used, &used);
      EXPECT_EQ(used.lfHeight, ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, 96)) << i << " at " << dpi;
      EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName) << i;
      const bool labels = Control(i) == Control::List2;
      const std::wstring text = WindowText(control);
      wchar_t window_class[16] = L"";
      ::GetClassNameW(control, window_class, 16);
      // A list never draws its caption: it is only what a screen reader says.
      if (std::wstring_view(window_class) == L"ListBox" && !labels) continue;
      needed = {};
      const win32::WindowDcWithFont measuring(control, font);
      ::DrawTextW(measuring.get(), labels ? L"UUnicodeBigEndian" : text.c_str(), -1, &needed,
                  DT_CALCRECT | DT_SINGLELINE);
      RECT inside;
      ::GetClientRect(control, &inside);
      int padding = std::wstring_view(window_class) == L"Button" && !text.empty() ? 6 : 0;
      if (labels)
        padding = 2 + (::GetWindowLongW(control, GWL_STYLE) & WS_VSCROLL ? ::GetSystemMetrics(SM_CXVSCROLL) : 0);
      EXPECT_LE(needed.right + padding, inside.right) << i << " at " << dpi;
      EXPECT_LE(needed.bottom, inside.bottom) << i << " at " << dpi;
    }
    // The status bar's rows as tall as the control makes itself, or its text is cut at the bottom.
    const RECT part = std::get<2>(f.StatusParts()[0]);
    EXPECT_LE(needed.bottom + 2, part.bottom - part.top) << "the status bar cuts its text at " << dpi;
    EXPECT_EQ(::SendMessageW(f[Control::List2], LB_GETITEMHEIGHT, 0, 0),
              ::SendMessageW(f[Control::List1], LB_GETITEMHEIGHT, 0, 0))
        << "rows apart at " << dpi;
  });
  // Its size stays whatever asks for another. A client area, unlike the window's rectangle, starts at 0,0 wherever
  // the window was moved to.
  RECT fixed;
  ::GetClientRect(f.hwnd(), &fixed);
  ::SetWindowPos(f.hwnd(), nullptr, 0, 0, 640, 500, SWP_NOMOVE | SWP_NOZORDER);
  ::ShowWindow(f.hwnd(), SW_MAXIMIZE);
  f.Pump();
  RECT now;
  ::GetClientRect(f.hwnd(), &now);
  EXPECT_TRUE(::EqualRect(&now, &fixed));
  // A right click on the title bar opens the system's window menu, whose 关闭(&C) closes the window.
  TITLEBARINFO bar{sizeof bar, {}, {}};
  ::GetTitleBarInfo(f.hwnd(), &bar);
  f.Menu(f.hwnd(), kNoRow, {'C', VK_ESCAPE}, {bar.rcTitleBar.left + 40, bar.rcTitleBar.top + 8});
  EXPECT_FALSE(::IsWindow(f.hwnd())) << "no window menu";
}

// The user switches away with the focus on the analyse button, which the pass then greys: back in the window, the
// keyboard must reach a control. IsDialogMessageW turns Enter and Esc into IDOK and IDCANCEL.
TEST_F(Form1WithFiles, FocusGoesInTabOrderLeavesTheButtonThePassGreysFollowsAHeadingAndEnterOrEscPressNoButton) {
  ::SetFocus(f[Control::List1]);
  for (Control next :
       {Control::Command1, Control::Command2, Control::List2, Control::Command4, Control::Command6, Control::List1}) {
    f.Post(::GetFocus(), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(::GetFocus(), f[next]) << "tab to " << static_cast<int>(next);
  }
  ::SetFocus(f[Control::Command2]);
  ::SendMessageW(f.hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
  f.Click(Control::Command2);
  EXPECT_EQ(::GetFocus(), f[Control::List2]) << "the greyed button kept the focus, or a heading took it";
  ::SetFocus(nullptr);
  ::SendMessageW(f.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(::IsWindowEnabled(::GetFocus())) << "the focus went back to the greyed button";
  f.Click(Control::Command5);
  EXPECT_EQ(::GetFocus(), f[Control::List1]);
  f.Click(Control::Command3);
  EXPECT_EQ(::GetFocus(), f[Control::List2]);
  ::SetFocus(f[Control::Command6]);
  f.Post(f[Control::Command6], WM_KEYDOWN, VK_RETURN);
  f.Post(f[Control::Command6], WM_KEYDOWN, VK_ESCAPE);
  // Nor does a logoff that another program cancelled.
  ::SendMessageW(f.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  ::SendMessageW(f.hwnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(::IsWindow(f.hwnd())) << "closed";
  EXPECT_EQ(ListBoxRows(f[Control::List1]), kNames) << "cleared";
}

// The tips name each file's full path, and which mark its label stands for or why it was not read. Ctrl+C puts the
// same on the clipboard; the focus and the selection stay where the user left them.
TEST_F(Form1Analysed, TipsAndCtrlCNameEachFilesFullPathAndWhichMarkItsLabelStandsForOrWhyItWasNotReadAndCtrlCSaysSo) {
  const std::wstring said[] = {L"FF FE", L"EF BB BF", L"空文件（0 字节）", L"另一个程序", L"找不到文件", L"错误 123："};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(f.TipAtRow(Control::List1, i), Path(i));
    EXPECT_NE(f.TipAtRow(Control::List2, i).find(said[i]), std::wstring::npos) << f.TipAtRow(Control::List2, i);
  }
  const std::wstring rows[] = {
      L"文件名\t编码方式\t完整路径\t说明\r\n",
      L"d.txt\tUnicode\t" + Path(0) + L"\t\r\n",
      L"a.txt\tUTF8\t" + Path(1) + L"\t\r\n",
      L"c.txt\tANSI\t" + Path(2) +
          L"\t空文件（0 字节）：文件没有任何内容，没有字节顺序标记，常见于下载或保存失败。\r\n",
      L"b.txt\t无法读取\t" + Path(3) + L"\t文件正被另一个程序使用，且不允许其他程序读取。\r\n",
      L"gone.txt\t无法读取\t" + Path(4) + L"\t找不到文件：文件或它所在的文件夹已不存在。\r\n",
      L"a<b.txt\t无法读取\t" + Path(5) + L"\t错误 123：",
  };
  const std::wstring table = std::accumulate(std::begin(rows), std::end(rows), std::wstring());
  ::SetFocus(f[Control::List1]);
  const auto selected = BothLists(f, LB_GETCURSEL);
  const std::wstring copied = CtrlC(f, Control::List1);
  EXPECT_EQ(copied.substr(0, table.size()), table);
  // The system's words for the error, which differ between Wine's versions, and the line's end.
  EXPECT_TRUE(copied.size() > table.size() + 2 && copied.ends_with(L"\r\n")) << copied;
  EXPECT_EQ(std::get<1>(f.StatusParts()[0]), L"已复制 6 行结果");
  EXPECT_EQ(::GetFocus(), f[Control::List1]);
  EXPECT_EQ(BothLists(f, LB_GETCURSEL), selected);
  EXPECT_EQ(CtrlC(f, Control::List1, 0), L"(and the old HTML)") << "a plain C copied";
  EXPECT_EQ(MenuOn(1, {'C'}), copied);
  // Another window holds the clipboard open: no copy, and the status bar says so.
  ::OpenClipboard(f[Control::List2]);
  CtrlC(f, Control::List1);
  ::CloseClipboard();
  EXPECT_TRUE(std::get<1>(f.StatusParts()[0]).starts_with(L"没有复制")) << std::get<1>(f.StatusParts()[0]);
  // A new choice replaces what the copy said; the state's tip, over the status bar's part, says why the file waits.
  f.form().AppendChosenFiles({{L"late.txt", dir.Wide(L"late.txt")}});
  const auto [bar, state, area] = f.StatusParts()[0];
  EXPECT_TRUE(state.ends_with(L"之后加入的 1 个未分析")) << state;
  EXPECT_NE(f.TipAt(bar, {area.left + 4, area.top + 4}).find(L"请重新启动程序"), std::wstring::npos);
}

// Each part of the status bar wide enough for its text and its edges, also once the window has moved to a monitor of
// another DPI. The greyed analyse button's tip near its far corner, which a tip left where the button was before the
// DPI changed does not cover. A click on a count selects the next row counted in both lists, from the row selected;
// what each label counts, and which row is next going round past the end, the native tables check.
TEST_F(
    Form1Analysed,
    CountEachLabelAndTheEmptyFilesInPartsTheyFitWhereAClickSelectsTheNextRowCountedAndSayWhyTheAnalyseButtonIsGreyed) {
  AtEachDpi(f, [&](UINT dpi) {
    const RECT button = f.Placed(f[Control::Command2]);
    EXPECT_NE(f.TipAt(f.hwnd(), {button.right - 4, button.bottom - 4}).find(L"重新启动"), std::wstring::npos) << dpi;
    f.Pump();
    for (const auto& [bar, text, area] : f.StatusParts()) {
      const win32::WindowDcWithFont measuring(bar, reinterpret_cast<HFONT>(::SendMessageW(bar, WM_GETFONT, 0, 0)));
      SIZE extent{};
      ::GetTextExtentPoint32W(measuring.get(), text.c_str(), static_cast<int>(text.size()), &extent);
      EXPECT_LE(extent.cx + ::MulDiv(6, dpi, 96), area.right - area.left) << text << " at " << dpi;
    }
  });
  const std::tuple<std::wstring, LRESULT> clicks[] = {{L"无法读取", 3}, {L"无法读取", 4}, {L"空文件", 2}};
  for (const auto& [label, row] : clicks) {
    for (const auto& [bar, text, area] : f.StatusParts()) {
      if (!text.starts_with(label + L"：")) continue;
      const LPARAM at = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
      ::PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
      f.Post(bar, WM_LBUTTONUP, 0, at);
    }
    EXPECT_EQ(BothLists(f, LB_GETCURSEL), std::pair(row, row)) << label;
  }
}

// Files chosen after it are listed without the old labels or reasons, and never analysed: the status bar says why.
TEST_F(Form1Analysed, AClearEmptiesBothListsSaysThatTheRunsPassIsUsedAndFilesChosenAfterItAreOnlyListed) {
  f.Click(Control::Command4);
  EXPECT_EQ(BothLists(f, LB_GETCOUNT), Rows(0, 0));
  EXPECT_EQ(CtrlC(f, Control::List1), L"(and the old HTML)") << "empty lists copied";
  EXPECT_EQ(std::get<1>(f.StatusParts()[1]), L"已分析过一次：再加入的文件只会列出；要分析，请重新启动程序");
  AddFiles(f, dir);
  f.Click(Control::Command2);
  EXPECT_EQ(ListBoxRows(f[Control::List1]), kNames);
  std::wstring table = L"文件名\t编码方式\t完整路径\t说明\r\n";
  for (std::size_t i = 0; i < kNames.size(); ++i) table += kNames[i] + L"\t\t" + Path(i) + L"\t\r\n";
  EXPECT_EQ(CtrlC(f, Control::List1), table);
}

// The first two items greyed where they cannot act, on a file another program held and on one that is gone; each copy
// item copies the row's path, on an unreadable file's row every unreadable file's, on an empty file's every empty
// file's. The right click selects its row in both lists first.
TEST_F(Form1Analysed, GreysOpenAndTheFilesFolderWhereTheyCannotActAndEachCopyItemCopiesThePathsItNames) {
  const std::wstring open = L"打开(&O)";
  const std::wstring folder = L"打开文件所在的位置(&I)";
  const std::wstring unreadable = Path(3) + L"\r\n" + Path(4) + L"\r\n" + Path(5) + L"\r\n";
  const std::tuple<LRESULT, std::vector<WPARAM>, std::wstring, std::wstring, std::wstring> menus[] = {
      {0, {'P'}, open, folder, Path(0)},
      {3, {VK_ESCAPE}, L"-" + open, folder, L""},
      {4, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, L"-" + open, L"-" + folder, unreadable},
      {0, {VK_ESCAPE}, L"-" + open, L"-" + folder, L""}};
  for (const auto& [row, keys, open_item, folder_item, copied] : menus) {
    EXPECT_EQ(MenuOn(row, keys), copied) << row;
    EXPECT_EQ(std::pair(menu_items.at(0), menu_items.at(1)), std::pair(open_item, folder_item)) << row;
    EXPECT_EQ(BothLists(f, LB_GETCURSEL), Rows(row, row));
    // Deleted since the menu first found it: the first answer is not kept.
    if (copied == Path(0)) ::DeleteFileW(Path(0).c_str());
  }
}

// Chapters without a mark -- UTF-8, GBK, only ASCII, and an empty one -- chosen after kNames, then analysed. Which
// need converting shows in each row's tip and copied note, in a count of its own, and in the menu of any row.
TEST_F(Form1WithFiles, SayWhichFilesWithoutAMarkHoldUtf8WhichDoNotAndWhichOnlyAscii) {
  const std::tuple<std::wstring, std::vector<unsigned char>, std::wstring, std::wstring> unmarked[] = {
      {L"u.txt", {0xE4, 0xB8, 0xAD}, L"内容是 UTF-8", L"UTF-8 无 BOM：1"},
      {L"g.txt", {0xD6, 0xD0}, L"内容不是 UTF-8", L"非 UTF-8：1"},
      {L"s.txt", {'a'}, L"只有 ASCII", L"仅 ASCII：1"},
      {L"e.txt", {}, L"", L""}};
  std::vector<ChosenFile> chosen;
  for (const auto& [name, bytes, words, count] : unmarked) chosen.push_back({name, dir.Write(name, bytes)});
  f.form().AppendChosenFiles(std::move(chosen));
  f.Click(Control::Command2);
  const std::wstring copied = CtrlC(f, Control::List1);
  for (int row = 0; row < 3; ++row) {
    const auto& [name, bytes, words, count] = unmarked[row];
    EXPECT_NE(copied.find(name + L"\tANSI\t" + dir.Wide(name) + L"\t" + words), std::wstring::npos) << copied;
    EXPECT_NE(f.TipAtRow(Control::List2, 6 + row).find(words), std::wstring::npos) << row;
  }
  // Their row grew the window: from the bottom the state, the details, the labels' counts, then the lists.
  RECT client;
  ::GetClientRect(f.hwnd(), &client);
  LONG bottom = client.bottom;
  for (const int row : {0, 2, 1}) {
    EXPECT_EQ(f.Placed(f.StatusRow(row)).bottom, bottom) << row;
    bottom = f.Placed(f.StatusRow(row)).top;
  }
  EXPECT_GE(bottom, f.Placed(f[Control::List1]).bottom);
  // After the row's own: its label's files, its verdict's, and those to convert.
  EXPECT_EQ(MenuOn(6, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}), dir.Wide(L"u.txt") + L"\r\n");
  EXPECT_EQ(MenuOn(8, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}), dir.Wide(L"g.txt") + L"\r\n");
  EXPECT_EQ(MenuOn(9, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}),
            Path(2) + L"\r\n" + dir.Wide(L"e.txt") + L"\r\n");
  EXPECT_EQ(std::get<1>(f.StatusParts()[0]), L"已复制 2 个文件的路径");
  // The last item: the next empty file.
  MenuOn(3, {VK_UP, VK_RETURN});
  EXPECT_EQ(BothLists(f, LB_GETCURSEL), Rows(9, 9)) << menu_items.back();
}

// The shell's own: Notepad for a .txt file, Explorer for its folder. Each window found is closed again.
bool ShellShowed(const std::wstring& title) {
  return PumpUntil(nullptr, 15s, [&] {
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, nullptr, nullptr));) {
      if (!::IsWindowVisible(window) || !WindowText(window).starts_with(title)) continue;
      ::PostMessageW(window, WM_CLOSE, 0, 0);
      return true;
    }
    return false;
  });
}

// The script is handed over after the pass. Where no program opens text, as in a Wine prefix without .txt, 打开 says
// so first, in a box that the window owns.
TEST_F(Form1Analysed, OpensTheFilesFolderAndAScriptAsTextNeverRunningItAndSaysSoWhereNoProgramOpensText) {
  MenuOn(0, {'I'});
  EXPECT_TRUE(ShellShowed(std::filesystem::path(dir.Wide(L"")).parent_path().filename().wstring()));
  const std::wstring marker = dir.Wide(L"ran");
  const std::wstring script = dir.Write(L"run.bat", {});
  std::ofstream(PathOf(script)) << "echo ran> \"" << std::filesystem::path(marker).string() << "\"\r\n";
  ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".txt");
  MenuOn(0, {'O'});
  PumpUntil(f.hwnd(), 10s, [] { return box_owner != nullptr; });
  EXPECT_EQ(box_owner, f.hwnd());
  // The test prefix knows Notepad, and now the .txt extension, which Windows gives it.
  ::RegSetKeyValueW(HKEY_CLASSES_ROOT, L".txt", nullptr, REG_SZ, L"txtfile", sizeof L"txtfile");
  f.Append({script});
  MenuOn(6, {'O'});
  EXPECT_TRUE(ShellShowed(L"run.bat")) << "the script was not opened as text";
  EXPECT_FALSE(PumpUntil(nullptr, 5s, [&] { return std::filesystem::exists(marker); })) << "the script ran";
}

// The shell's calls that the menu made, a digit each in order: 1 text, 2 the documented select, 3 a new Explorer, each
// 5 more if it ran on the window's thread, which a slow shell would freeze. The select fails from the third call on.
std::atomic<int> shell_calls_made = 0;
const DWORD window_thread = ::GetCurrentThreadId();
bool Made(int call) {
  shell_calls_made = shell_calls_made * 10 + call + (::GetCurrentThreadId() == window_thread ? 5 : 0);
  return shell_calls_made < 100;
}

TEST_F(Form1Analysed, AsksTheShellOffTheWindowsThreadByItsDocumentedCallFirstAndStartsExplorerOnlyWhereThatFails) {
  const win32::ShellCalls real = std::exchange(
      win32::shell_calls, {[](SHELLEXECUTEINFOW*) { return Made(1); }, [](const std::wstring&) { return Made(2); },
                           [](const std::wstring&) { Made(3); }});
  for (const auto& [key, made] : {std::pair('O', 1), {'I', 12}, {'I', 1223}}) {
    MenuOn(0, {static_cast<WPARAM>(key)});
    EXPECT_TRUE(PumpUntil(f.hwnd(), 5s, [made] { return shell_calls_made == made; })) << shell_calls_made;
  }
  win32::shell_calls = real;
}

// 300 characters, in a folder of 150: past what the shell takes. Neither the walk nor the menu's check may connect
// to a pipe it is handed.
TEST_F(Form1Analysed, GreysOpenAndItsFolderWithTheReasonForAPathTheShellCannotTakeAndNeverConnectsToAPipe) {
  const std::wstring deep =
      dir.Wide(std::wstring(150, L'd') + L"\\" + std::wstring(300 - 151 - dir.Wide(L"").size(), L'f'));
  std::filesystem::create_directories(L"\\\\?\\" + deep.substr(0, deep.rfind(L'\\')));
  std::ofstream(std::filesystem::path(L"\\\\?\\" + deep)) << "a";
  f.Append({deep});
  MenuOn(6, {VK_ESCAPE});
  EXPECT_EQ(menu_items.at(0) + menu_items.at(1), L"-打开(&O)-打开文件所在的位置(&I)");
  const std::wstring pipe = L"\\\\.\\pipe\\kavren-test-" + std::to_wstring(::GetCurrentProcessId());
  const HANDLE server =
      ::CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, 0, 1, 0, 0, 0, nullptr);
  OVERLAPPED connected{0, 0, {}, ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  ::ConnectNamedPipe(server, &connected);
  f.Append({pipe});
  MenuOn(7, {VK_ESCAPE});
  EXPECT_EQ(menu_items.at(0), L"-打开(&O)") << "on a pipe";
  EXPECT_EQ(::WaitForSingleObject(connected.hEvent, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  ::CloseHandle(connected.hEvent);
  ::CloseHandle(server);
}

TEST(Form1Pass, ALongPassShowsHowFarItHasGotIgnoresWhatWouldChangeTheListsAndStopsOnEsc) {
  TempDir dir;
  Form1Fixture f;
  constexpr LRESULT kRows = 40'000;
  // One local file under 40,000 names, each through a folder and back out, which Windows takes out as it opens it.
  dir.Write(L"same.txt", {0xEF, 0xBB, 0xBF});
  std::vector<ChosenFile> files;
  for (LRESULT i = 0; i < kRows; ++i) files.push_back({L"same.txt", dir.Wide(std::to_wstring(i) + L"\\..\\same.txt")});
  f.form().AppendChosenFiles(files);
  // Once the pass is under way, clicks on the clear and analyse buttons and a drop, as automation tools and
  // Explorer send them; once the status bar has shown the pass move on, the user's Esc.
  f.Post(f[Control::Command2], BM_CLICK);
  ::PostMessageW(f[Control::Command4], BM_CLICK, 0, 0);
  ::PostMessageW(f[Control::Command2], BM_CLICK, 0, 0);
  ::PostMessageW(f.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir.Wide(L"dropped.txt")})), 0);
  std::vector<std::wstring> states = {L""};  // what the status bar said while the pass ran
  bool pressed = false;
  PumpUntil(f.hwnd(), 20s, [&] {
    const std::wstring state = WindowText(f.StatusRow(0)) + L"|" + WindowText(f.StatusRow(1));
    if (f.form().Working() && state != states.back()) states.push_back(state);
    if (states.size() == 3 && !pressed) pressed = ::PostMessageW(f[Control::List1], WM_KEYDOWN, VK_ESCAPE, 0);
    return !f.form().Working();
  });
  ASSERT_GE(states.size(), 3u) << "the status bar did not show how far the pass had got";
  EXPECT_NE(states[1].find(L" / 40,000 个文件"), std::wstring::npos) << states[1];
  for (const std::wstring& state : states) EXPECT_EQ(state.find(L"正在等待"), std::wstring::npos) << state;
  const LRESULT labelled = f.form().list2().RowCount();
  EXPECT_LT(labelled, kRows) << "Esc did not stop a local pass";
  // In brief beside the count, with the drop that has been added since.
  EXPECT_EQ(std::get<1>(f.StatusParts()[0]),
            L"已停止：" + WithThousands(labelled) + L" / 40,000；之后加入的 1 个未分析");
  // The clear and the second pass did nothing; the drop waited for the pass.
  EXPECT_EQ(f.form().list1().RowCount(), kRows + 1);
  EXPECT_EQ(f.form().list1().GetRow(kRows), L"dropped.txt");
}

// A pass over 200 files of which the 151st answers only after 20 s, as on a NAS waking its disks; the tests
// that need it wait until the status bar names that file.
class Form1Stalled : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<ChosenFile> files;
    for (int i = 0; i < 200; ++i) {
      const std::wstring name = i == 150 ? L"第150章.txt" : std::to_wstring(i) + L".txt";
      files.push_back({name, dir.Write(name, {0xEF, 0xBB, 0xBF})});
    }
    f.form().AppendChosenFiles(files);
    f.Post(f[Control::Command2], BM_CLICK);
  }
  void TearDown() override { stalled.Release(); }
  [[nodiscard]] bool Waiting() const { return WindowText(f.StatusRow(1)).starts_with(L"正在等待：第150章.txt"); }

  TempDir dir;
  StalledReader stalled{L"第150章.txt"};
  Form1Fixture f{{.read = stalled.Reader()}};
};

// The lists looked at between the messages the window handles while it waits; then the user scrolls, and opens
// and closes the menu.
TEST_F(Form1Stalled, StaysLiveWhileItWaitsWithBothListsDrawnSideBySide) {
  const HWND lists[] = {f[Control::List1], f[Control::List2]};
  int apart = 0;
  ASSERT_TRUE(PumpUntil(f.hwnd(), 10s, [&] {
    apart += !::IsWindowVisible(lists[0]) || !::IsWindowVisible(lists[1]);
    apart += ::SendMessageW(lists[0], LB_GETTOPINDEX, 0, 0) != ::SendMessageW(lists[1], LB_GETTOPINDEX, 0, 0);
    return Waiting();
  }));
  EXPECT_EQ(apart, 0);
  const LRESULT top = ::SendMessageW(lists[0], LB_GETTOPINDEX, 0, 0);
  f.Post(lists[0], WM_MOUSEWHEEL, MAKEWPARAM(0, 3 * WHEEL_DELTA));
  EXPECT_LT(::SendMessageW(lists[0], LB_GETTOPINDEX, 0, 0), top);
  // The menu key's menu, closed from another thread while it is open.
  auto closer = std::async(std::launch::async, [&] {
    std::this_thread::sleep_for(500ms);
    ::PostMessageW(f.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  f.Menu(lists[0], kNoRow, {});
  PumpUntil(f.hwnd(), 10s, [&] { return closer.wait_for(0s) == std::future_status::ready; });
  f.Pump();
  EXPECT_TRUE(Waiting()) << "the menu ended the pass";
  // The rest of the labels come, and leave the lists where the user scrolled them.
  const Rows scrolled = BothLists(f, LB_GETTOPINDEX);
  stalled.Release();
  f.WaitForWork();
  EXPECT_EQ(BothLists(f, LB_GETTOPINDEX), scrolled);
  EXPECT_EQ(BothLists(f, LB_GETCURSEL), Rows(149, 149)) << "the pass pulled the selection back";
}

TEST_F(Form1Stalled, EscEndsThePassAtOnceKeepingTheLabelsFoundAndSaysItStopped) {
  ASSERT_TRUE(PumpUntil(f.hwnd(), 10s, [&] { return Waiting(); }));
  // The selection followed the pass, in both lists; the keys move on from there, to a row whose label is still to
  // come, which is selected in both lists all the same.
  f.Post(f[Control::List1], WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(BothLists(f, LB_GETCURSEL), Rows(150, 150));
  const auto stop = std::chrono::steady_clock::now();
  f.Post(f[Control::List1], WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(PumpUntil(f.hwnd(), 5s, [&] { return !f.form().Working(); }));
  EXPECT_LT(std::chrono::steady_clock::now() - stop, 5s);
  std::vector<std::wstring> labels(200, L"");
  std::fill_n(labels.begin(), 150, L"UTF8");
  EXPECT_EQ(ListBoxRows(f[Control::List2]), labels);
  EXPECT_EQ(std::get<1>(f.StatusParts()[1]), L"UTF8：150");
  EXPECT_TRUE(std::get<1>(f.StatusParts()[0]).starts_with(L"已停止：已分析 150 / 200 个文件"));
  EXPECT_FALSE(::IsWindowEnabled(f[Control::Command2]));
  POINT inside = {4, 4};
  ::MapWindowPoints(f[Control::Command2], f.hwnd(), &inside, 1);
  EXPECT_NE(f.TipAt(f.hwnd(), inside).find(L"已停止"), std::wstring::npos);
}

TEST_F(Form1Stalled, ACloseEndsTheProgramAtOnce) {
  ASSERT_TRUE(PumpUntil(f.hwnd(), 10s, [&] { return Waiting(); }));
  const auto stop = std::chrono::steady_clock::now();
  ::PostMessageW(f.hwnd(), WM_CLOSE, 0, 0);
  MSG quit{};
  EXPECT_TRUE(PumpUntil(f.hwnd(), 5s, [&] { return ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE); }));
  EXPECT_EQ(quit.wParam, 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - stop, 5s);
}

// The walk of a drop, with a listing that stalls after 300 files: what was found shows, side by side in both lists
// scrolled to the end, Esc ends the walk at once and tells it to stop, and the run's one pass is still there. (A
// close takes the same way out.) The same drop again, which now takes a second, is walked to its end.
TEST(Form1Drop, AStalledListingShowsWhatWasFoundAndEscEndsTheWalkAtOnce) {
  TempDir dir;
  StalledReader stalled(L"share");
  std::atomic<int> told_to_stop = -1;
  dir.Write(L"1.txt", {0xFF, 0xFE});
  Form1Fixture f({.walk = [&, stall = stalled.Stall()](const std::vector<std::wstring>&, const win32::DropSink& sink) {
    for (int i = 0; i < 300; ++i) sink.found({L"1.txt", dir.Wide(std::to_wstring(i) + L"\\..\\1.txt")});
    stall();
    told_to_stop = sink.stop.stop_requested();
    std::this_thread::sleep_for(1s);
  }});
  f.form().AppendPaths({L"\\\\nas\\share"});
  ASSERT_TRUE(PumpUntil(f.hwnd(), 5s, [&] { return WindowText(f.StatusRow(0)) == L"正在添加文件：已列出 300 个"; }));
  EXPECT_FALSE(::IsWindowEnabled(f[Control::Command2]));
  EXPECT_FALSE(::IsWindowEnabled(f[Control::Command1]));
  f.Post(f[Control::List1], WM_VSCROLL, SB_BOTTOM);
  const Rows tops = BothLists(f, LB_GETTOPINDEX);
  EXPECT_GT(tops.first, 250);
  EXPECT_EQ(tops.second, tops.first) << "during the walk";
  const auto stop = std::chrono::steady_clock::now();
  f.Post(f[Control::List1], WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(WindowText(f.StatusRow(0)), L"已停止添加：只加入了已列出的 300 个文件");
  EXPECT_LT(std::chrono::steady_clock::now() - stop, 5s) << "the window waited for the listing";
  EXPECT_EQ(BothLists(f, LB_GETTOPINDEX), tops) << "after the stop";
  stalled.Release();
  EXPECT_TRUE(PumpUntil(f.hwnd(), 5s, [&] { return told_to_stop == 1; })) << "the walk went on listing the share";
  f.Append({L"\\\\nas\\share"});
  EXPECT_EQ(WindowText(f.StatusRow(0)), L"共 300 个文件；300 个已在列表中，未重复加入") << "the drop was stopped";
  f.Click(Control::Command2);
  EXPECT_EQ(ListBoxRows(f[Control::List2]), std::vector<std::wstring>(300, L"Unicode"));
}

TEST(Form1Lists, ShowTheSameRowsSideBySideWhicheverScrollsOrGrowsAndTipsNameTheRowUnderTheMouse) {
  Form1Fixture f;
  TempDir dir;
  // In a folder whose name alone is wider than a tip.
  const std::wstring be = dir.Write(L"第1卷 " + std::wstring(80, L'长') + L"\\b e.txt", {0xFE, 0xFF});
  std::vector<ChosenFile> files;
  for (int i = 0; i < 120; ++i)
    files.push_back({std::to_wstring(i) + L".txt", be + L"\\" + std::to_wstring(i) + L"\\..\\..\\b e.txt"});
  f.form().AppendChosenFiles(files);
  f.Click(Control::Command2);
  const HWND lists[] = {f[Control::List1], f[Control::List2]};
  auto top = [&](HWND list) { return ::SendMessageW(list, LB_GETTOPINDEX, 0, 0); };
  EXPECT_GT(top(lists[0]), 0) << "after the pass";
  EXPECT_EQ(top(lists[0]), top(lists[1])) << "after the pass";
  // Whose label, and the label whole: the narrow list may cut it. The mouse
  // stays on the second row shown, whichever row that is.
  auto tip_of_second_row = [&](bool move) {
    const std::wstring tip = f.TipAtRow(Control::List2, top(lists[1]) + 1, move);
    return std::pair(tip.substr(0, tip.find(L"\r\n")), tip.find(L"UUnicodeBigEndian") != std::wstring::npos);
  };
  auto second_row = [&] { return std::pair(std::to_wstring(top(lists[1]) + 1) + L".txt", true); };
  EXPECT_EQ(tip_of_second_row(true), second_row());
  EXPECT_GE(::SendMessageW(f.form().tooltip(), TTM_GETMAXTIPWIDTH, 0, 0), ::GetSystemMetrics(SM_CXVIRTUALSCREEN))
      << "the tooltip breaks lines itself, inside a folder's name";
  // Broken after folder separators only, never inside a name, and not left to the tooltip to break at a space.
  std::wstring path_tip = f.TipAtRow(Control::List1, top(lists[0]));
  EXPECT_NE(path_tip.find(L"\\\r\n"), std::wstring::npos) << "not wrapped at a folder";
  for (std::size_t at; (at = path_tip.find(L"\r\n")) != std::wstring::npos; path_tip.erase(0, at + 2)) {
    EXPECT_EQ(path_tip[at - 1], L'\\') << "broken inside a name";
  }
  // A wheel turn and a page up of the scroll bar, on each list.
  for (HWND scrolled : lists) {
    for (UINT message : {WM_MOUSEWHEEL, WM_VSCROLL}) {
      const LRESULT before = top(scrolled);
      f.Post(scrolled, message, message == WM_VSCROLL ? SB_PAGEUP : MAKEWPARAM(0, WHEEL_DELTA), 0);
      EXPECT_LT(top(scrolled), before);
      EXPECT_EQ(top(lists[0]), top(lists[1])) << "after a scroll of list " << (scrolled == lists[1]) + 1;
      EXPECT_EQ(tip_of_second_row(false), second_row()) << "the tip kept the row scrolled away";
    }
  }
  // A file added after the pass has no label, and the labels still sit beside their own files.
  f.form().AppendChosenFiles({{L"late.txt", be}});
  f.Post(lists[0], WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(top(lists[0]), top(lists[1]));
}

TEST(Form1Drop, AddsDroppedFilesAndTheTxtFilesOfDroppedTreesInExplorersOrderAsOneBatch) {
  Form1Fixture f;
  TempDir dir;
  constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
  constexpr DWORD kSystem = FILE_ATTRIBUTE_SYSTEM;
  // The dropped tree, each entry with its place among the rows the drop adds
  // after a loose file, or -1. A name ending in a backslash is a folder.
  const std::tuple<std::wstring, DWORD, int> tree[] = {
      {L"第100章.txt", 0, 2},       {L"第19章.txt", 0, 1},        {L"B.TXT", 0, 0},        {L"notes.md", 0, -1},
      {L"hidden.txt", kHidden, -1}, {L"system.txt", kSystem, -1}, {L"sub\\x.txt", 0, 3},   {L"卷2\\y.txt", 0, 4},
      {L"卷10\\z.txt", 0, 5},       {L"hid\\h.txt", 0, -1},       {L"hid\\", kHidden, -1}, {L"sys\\s.txt", 0, -1},
      {L"sys\\", kSystem, -1}};
  const std::wstring loose = dir.Write(L"loose.md", {0x61});
  std::vector<std::wstring> expected(2 * 6, L"");
  for (const auto& [name, attributes, place] : tree) {
    const std::wstring path = name.ends_with(L'\\') ? dir.Wide(L"tree\\" + name) : dir.Write(L"tree\\" + name, {});
    if (attributes) ::SetFileAttributesW(path.c_str(), attributes);
    if (place < 0) continue;
    expected[2 * place] = name.substr(name.rfind(L'\\') + 1);
    expected[2 * place + 1] = path;
  }
  expected.insert(expected.begin(), {L"loose.md", loose});
  // Wine's CreateSymbolicLinkW makes nothing; it shows a Unix symbolic link as a reparse point.
  Start(L"Z:\\bin\\ln -s sub link", dir.Wide(L"tree").c_str());
  ASSERT_TRUE(PumpUntil(nullptr, 5s, [&] {
    return ::GetFileAttributesW(dir.Wide(L"tree\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT;
  }));
  f.Post(f.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({loose, dir.Wide(L"tree")})));
  f.WaitForWork();
  std::vector<std::wstring> rows;
  for (RowIndex i = 0; f.form().list1().GetRow(i); ++i) {
    rows.emplace_back(*f.form().list1().GetRow(i));
    rows.push_back(*f.form().list1().GetPath(i));
  }
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(std::get<1>(f.StatusParts()[0]), L"共 7 个文件");
  // The same tree again, as another window's path ends it: no file twice.
  f.Append({dir.Wide(L"TREE\\")});
  EXPECT_EQ(std::get<1>(f.StatusParts()[0]), L"共 7 个文件；6 个已在列表中，未重复加入");
  // A folder of 260 characters is walked; a start without paths walks nothing.
  const std::wstring empty = dir.Wide(L"empty\\") + std::wstring(260 - dir.Wide(L"empty\\").size(), L'e');
  std::filesystem::create_directories(empty);
  f.Append({empty});
  EXPECT_EQ(std::get<1>(f.StatusParts()[0]), L"没有加入文件：拖入或打开的项目中没有 .txt 文件");
  f.form().AppendChosenFiles({{L"loose.md", loose}});
  f.Append({});
  EXPECT_EQ(std::get<1>(f.StatusParts()[0]), L"共 7 个文件；1 个已在列表中，未重复加入")
      << "the empty drop outlived a choice";
  // The C++ library's remove_all can loop on a link to a folder it is
  // removing; the folder goes first, then the link, which leads nowhere.
  std::error_code ignored;
  std::filesystem::remove_all(dir.Wide(L"tree\\sub"), ignored);
  std::filesystem::remove_all(dir.Wide(L"tree\\link"), ignored);
}

// What the walk and the lists' menu ask of a path, what the walk passes over, how Explorer is started where the
// shell cannot select a file, and the menu's existence checks on storage that does not answer.
TEST(ShellSeams, RefusedNamesNeverReachTheFileSystemTheWalkPassesOverOnlyWhatItMeansToAndExplorerGetsTheFileQuoted) {
  TempDir dir;
  const std::wstring file = dir.Write(L"a.txt", {});
  const std::pair<std::wstring, win32::PathKind> paths[] = {{L"\\\\.\\pipe\\x", win32::PathKind::kRefused},
                                                            {dir.Wide(L"nul.txt"), win32::PathKind::kRefused},
                                                            {file, win32::PathKind::kFile},
                                                            {dir.Wide(L""), win32::PathKind::kFolder},
                                                            {dir.Wide(L"b.txt"), win32::PathKind::kMissing}};
  for (const auto& [path, kind] : paths) EXPECT_EQ(win32::KindOfPath(path), kind) << path;

  // Find data: attributes and reparse tag; passed over or kept. Hidden and system entries are in the drop's test.
  const std::tuple<DWORD, DWORD, bool> entries[] = {
      {FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY, IO_REPARSE_TAG_MOUNT_POINT, true},
      {FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_DEDUP, false},
      {FILE_ATTRIBUTE_REPARSE_POINT | 0x0040'0000, 0x9000'101A, false},  // a cloud file
  };
  for (const auto& [attributes, tag, passed_over] : entries)
    EXPECT_EQ(win32::PassedOver({attributes, {}, {}, {}, 0, 0, tag, 0, {}, {}}), passed_over) << std::hex << tag;
  EXPECT_TRUE(
      win32::ExplorerCommandLine(L"C:\\a,b\\c d.txt")->ends_with(L"\\explorer.exe\" /select,\"C:\\a,b\\c d.txt\""));
  EXPECT_EQ(win32::ExplorerCommandLine(L"C:\\a\" /root,\"C:\\b"), std::nullopt);
}

TEST(ShellSeams, AFileWhoseStorageDoesNotAnswerKeepsNoOneWaitingAndIsAskedOnceAtATime) {
  std::atomic<int> asked = 0;
  std::atomic<bool> answer = false;
  win32::ExistenceChecks checks([&](const std::wstring&) {
    ++asked;
    while (!answer) std::this_thread::sleep_for(10ms);
    return win32::PathKind::kFile;
  });
  const auto start = std::chrono::steady_clock::now();
  for (int click = 0; click < 3; ++click) EXPECT_EQ(checks.Check(L"x.txt", 200ms), win32::FileState::kUnknown);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 6s) << "the menu waited for the storage";
  EXPECT_EQ(asked, 1) << "a second check of a file whose first is still out";
  answer = true;
  EXPECT_EQ(checks.Check(L"x.txt", 5s), win32::FileState::kThere);
}

// What the Open dialog was handed, seen from its WM_INITDIALOG, and what
// became of its buffer once it returned.
DWORD room = 0;
DWORD flags = 0;
std::wstring start;
const void* buffer_base = nullptr;
MEMORY_BASIC_INFORMATION buffer_after{};

std::vector<std::wstring> Choose(Form1Fixture& f, std::vector<std::wstring> steps) {
  auto driver = DriveOpenDialog(std::move(steps));
  ::SendMessageW(f[Control::Command1], BM_CLICK, 0, 0);
  // At once: the heap may take the address space again.
  ::VirtualQuery(buffer_base, &buffer_after, sizeof buffer_after);
  EXPECT_EQ(driver.get(), "");
  return ListBoxRows(f[Control::List1]);
}

LRESULT CALLBACK SpyOnDialog(int code, WPARAM wparam, LPARAM lparam) {
  const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (sent.message == WM_INITDIALOG && !(::GetWindowLongW(sent.hwnd, GWL_STYLE) & WS_CHILD)) {
    const OPENFILENAMEW& asked = **reinterpret_cast<OPENFILENAMEW* const*>(sent.lParam);
    flags = asked.Flags;
    start = asked.lpstrInitialDir ? asked.lpstrInitialDir : L"";
    buffer_base = asked.lpstrFile;
    // Past the buffer, a reserved page of the same allocation: an overrun
    // stops there, whatever else lies around it.
    MEMORY_BASIC_INFORMATION buffer{};
    MEMORY_BASIC_INFORMATION after{};
    ::VirtualQuery(asked.lpstrFile, &buffer, sizeof buffer);
    ::VirtualQuery(asked.lpstrFile + asked.nMaxFile, &after, sizeof after);
    room = after.State == MEM_RESERVE && after.AllocationBase == buffer.AllocationBase ? asked.nMaxFile : 0;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST(OpenDialog, ChoosesFromTwoFoldersLeavesTheCurrentDirectoryReopensWhereTheUserWasWithRoomFor20000Names) {
  Form1Fixture f;
  TempDir a;
  TempDir b;
  // Wine's dialog ignores nMaxFile, so the room the program gives shows only
  // in what it hands over: Wine's Explorer-style dialog gets its own state
  // with WM_INITDIALOG, and that state starts with the caller's OPENFILENAMEW.
  const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, SpyOnDialog, nullptr, ::GetCurrentThreadId());
  const std::wstring before = std::filesystem::current_path().wstring();
  a.Write(L"同名.txt", {0xEF, 0xBB, 0xBF});
  a.Write(L"b.txt", {0xFE, 0xFF});
  b.Write(L"同名.txt", {0xFF, 0xFE});
  b.Write(L"c.txt", {0x61});
  Choose(f, {a.Wide(L""), L"\"同名.txt\" \"b.txt\""});
  EXPECT_GE(room, 20'000u * MAX_PATH) << "no room for 20,000 long names, or no guard page after it";
  constexpr DWORD kWanted = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_DONTADDTORECENT;
  EXPECT_EQ(flags & kWanted, kWanted) << "Wine's dialog takes several names even without OFN_ALLOWMULTISELECT";
  Choose(f, {b.Wide(L""), L"同名.txt"});
  Choose(f, {L""});  // cancelled
  // Wine's dialog also remembers the last folder, in the registry.
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32");
  EXPECT_EQ(Choose(f, {L"c.txt"}), (std::vector<std::wstring>{L"同名.txt", L"b.txt", L"同名.txt", L"c.txt"}));
  EXPECT_EQ(*f.form().list1().GetPath(3), b.Wide(L"c.txt")) << "the dialog did not open where the user was";
  // Files handed over (a drop, the command line) move it too, to their own folder, not the first row's.
  TempDir c;
  f.Append({c.Write(L"c.txt", {0xEF, 0xBB, 0xBF})});
  a.Write(L"c.txt", {});
  // There it is chosen again: listed once.
  Choose(f, {L"c.txt"});
  EXPECT_EQ(f.form().list1().RowCount(), 5) << "the dialog did not open where the files came from";
  EXPECT_EQ(std::filesystem::current_path().wstring(), before) << "the chosen folder is left in use";
  f.Click(Control::Command2);
  EXPECT_EQ(ListBoxRows(f[Control::List2]),
            (std::vector<std::wstring>{L"UTF8", L"UUnicodeBigEndian", L"Unicode", L"ANSI", L"UTF8"}));
  // Files from a folder deeper than the dialog's MAX_PATH buffers: it starts
  // in the nearest folder above that leaves room for an 8.3 name.
  const std::wstring fits = a.Wide(L"") + std::wstring(MAX_PATH - 14 - a.Wide(L"").size(), L'd') + L"\\";
  const std::wstring deep = fits + std::wstring(80, L'e');
  std::filesystem::create_directories(L"\\\\?\\" + deep);
  f.Append({deep + L"\\第1章.txt"});
  Choose(f, {L""});
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(start, fits);
  // Released, not only decommitted: each opening would keep 16 MB of the
  // 32-bit program's address space.
  EXPECT_EQ(buffer_after.State, static_cast<DWORD>(MEM_FREE));
}

TEST(App, StartsWithForm1AloneListsThePathsItIsStartedWithLoadsNoDllBesideItAndItsExitButtonEndsItWithCodeZero) {
  TempDir dir;
  // As Explorer starts it for a drop on its icon: a file, a folder and a
  // path that names nothing, each quoted.
  // The first relative to the folder it is started in.
  const std::wstring paths[] = {L"第一 章.md", dir.Wide(L"卷 二"), dir.Wide(L"不 在.txt")};
  dir.Write(paths[0], {});
  dir.Write(L"卷 二\\b.txt", {});
  dir.Write(L"卷 二\\a.txt", {});
  // KAVREN_EXE names another copy to start, such as the one in the release zip.
  wchar_t other[MAX_PATH] = {};
  const bool named = ::GetEnvironmentVariableW(L"KAVREN_EXE", other, MAX_PATH);
  // It runs from a folder such as Downloads, where someone left DLLs that
  // Windows or Wine look for beside a program; each leaves a marker if loaded.
  const std::wstring exe = dir.Wide(L"KavrenTxtEncodingViewer.exe");
  ::CopyFileW(named ? other : (ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe").c_str(), exe.c_str(), FALSE);
  const std::wstring planted[] = {L"shcore.dll", L"compstui.dll", L"uxtheme.dll", L"winspool.drv"};
  for (const std::wstring& name : planted)
    ::CopyFileW((ProgramFolder() + L"\\planted.dll").c_str(), dir.Wide(name).c_str(), FALSE);
  std::wstring command = L"\"" + exe + L"\"";
  for (const std::wstring& path : paths) command += L" \"" + path + L"\"";
  const PROCESS_INFORMATION app = Start(command, dir.Wide(L".").c_str());
  PumpUntil(nullptr, 15s, [&] { return !VisibleTopLevelWindows(app.dwProcessId, win32::Form1::kClassName).empty(); });
  ::Sleep(300);  // time for any other window it might wrongly show
  const std::vector<HWND> windows = VisibleTopLevelWindows(app.dwProcessId);
  ASSERT_EQ(windows.size(), 1u);
  auto control = [&](Control which) { return ::GetDlgItem(windows[0], win32::ControlId(which)); };
  EXPECT_EQ(ListBoxRows(control(Control::List1)),
            (std::vector<std::wstring>{L"第一 章.md", L"a.txt", L"b.txt", L"不 在.txt"}));
  // Choosing and analysing load the dialog's and the shell's DLLs. (Copying
  // needs only user32, which the program imports as it starts.)
  auto driver = DriveOpenDialog({dir.Wide(L"卷 二\\a.txt")}, app.dwProcessId);
  ::PostMessageW(control(Control::Command1), BM_CLICK, 0, 0);
  EXPECT_EQ(driver.get(), "");
  ::PostMessageW(control(Control::Command2), BM_CLICK, 0, 0);
  // Another program, or a screen reader, reads the labels as text.
  const std::vector<std::wstring> labels = {L"ANSI", L"ANSI", L"ANSI", L"无法读取"};
  EXPECT_TRUE(PumpUntil(nullptr, 10s, [&] { return ListBoxRows(control(Control::List2)) == labels; }));
  for (const std::wstring& name : planted)
    EXPECT_EQ(::GetFileAttributesW(dir.Wide(name + L".loaded").c_str()), INVALID_FILE_ATTRIBUTES) << "loaded " << name;
  ::PostMessageW(control(Control::Command6), BM_CLICK, 0, 0);
  DWORD code = STILL_ACTIVE;
  if (::WaitForSingleObject(app.hProcess, 10'000) != WAIT_OBJECT_0) ::TerminateProcess(app.hProcess, 99);
  ::GetExitCodeProcess(app.hProcess, &code);
  EXPECT_EQ(code, 0u);
  ::CloseHandle(app.hProcess);
  ::CloseHandle(app.hThread);
}

}  // namespace
}  // namespace kavren::testing
