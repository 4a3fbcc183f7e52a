// form1_test.cpp: the real window in this process -- layout, keyboard, paired lists, pass, size lock.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "analysis/analysis_pass.h"
#include "win32/dpi.h"
#include "win32/maker.h"
#include "window/gui_support.h"

namespace kavren::testing {
namespace {

using namespace std::chrono_literals;
using win32::Control;

std::vector<ChosenFile> FiveFiles(const FileFolder& folder) {
  return {
      folder.Write(L"a.txt", {0xFF, 0xFE, 0x41, 0x00}), folder.Write(L"b.txt", {0xEF, 0xBB, 0xBF}),
      folder.Write(L"c.txt", {0x61, 0x62}),             folder.Write(L"d.txt", {0xFE, 0xFF}),
      {L"gone.txt", folder.path() + L"\\gone.txt"},
  };
}
const std::vector<std::wstring> kFiveLabels = {L"Unicode", L"UTF8", L"ANSI", L"UUnicodeBigEndian",
                                               L"无法读取"};

TEST(Form1Layout, CaptionsAndGeometryAt96Dpi) {
  Form1Fixture f;
  ASSERT_EQ(win32::DpiForWindow(f.hwnd()), 96u) << "the expected pixels below are for 96 DPI";
  RECT outer;
  ::GetWindowRect(f.hwnd(), &outer);
  EXPECT_EQ(outer.right - outer.left, 410);
  EXPECT_EQ(outer.bottom - outer.top, 446);
  EXPECT_EQ(WindowText(f.hwnd()), L"Kavren批量Txt文件编码查看器 V1.0");

  struct Expected {
    Control control;
    std::wstring caption;
    RECT client;  // left, top, right, bottom
  };
  const std::vector<Expected> table = {
      {Control::List1, L"", {120, 104, 401, 408}},
      {Control::Command1, L"选择Txt文件", {8, 16, 113, 41}},
      {Control::Command2, L"分析编码方式", {120, 16, 209, 41}},
      {Control::Command3, L"编 码 方 式", {0, 80, 121, 105}},
      {Control::Command5, L"文  件  名", {120, 80, 401, 105}},
      {Control::List2, L"", {0, 104, 121, 408}},
      {Control::Command4, L"清 空 数 据", {8, 48, 113, 73}},
      {Control::Command6, L"退 出 程 序", {120, 48, 209, 73}},
      {Control::Label1, win32::SiteLabelText(), {224, 24, 393, 41}},
      {Control::Label2, win32::AuthorLabelText(), {240, 48, 385, 65}},
      {Control::Frame2, L"", {216, 8, 401, 73}},
      {Control::Frame1, L"", {0, 0, 401, 81}},
  };
  for (const auto& row : table) {
    const HWND control = f[row.control];
    ASSERT_TRUE(::IsWindow(control));
    EXPECT_EQ(::GetParent(control), f.hwnd());
    EXPECT_EQ(WindowText(control), row.caption);
    const RECT got = ClientRectIn(control, f.hwnd());
    EXPECT_EQ(got.left, row.client.left) << static_cast<int>(row.control);
    EXPECT_EQ(got.top, row.client.top) << static_cast<int>(row.control);
    EXPECT_EQ(got.right, row.client.right) << static_cast<int>(row.control);
    EXPECT_EQ(got.bottom, row.client.bottom) << static_cast<int>(row.control);
  }
  EXPECT_TRUE(win32::SiteLabelText().starts_with(L"Kavren小说下载站("));
  EXPECT_TRUE(win32::AuthorLabelText().starts_with(L"程序作者:"));
}

TEST(Form1Layout, StylesFontAndLabelsThatFit) {
  Form1Fixture f;
  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(f.hwnd(), GWL_STYLE));
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  for (WPARAM which : {ICON_BIG, ICON_SMALL}) {
    EXPECT_NE(::SendMessageW(f.hwnd(), WM_GETICON, which, 0), 0) << "no window icon";
  }

  const LOGFONTW expected_font = win32::MessageFontForDpi(96);
  HDC dc = ::GetDC(f.hwnd());
  for (int i = 0; i < static_cast<int>(win32::kControlCount); ++i) {
    const HWND control = f[static_cast<Control>(i)];
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font, ::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW used{};
    ::GetObjectW(font, sizeof used, &used);
    EXPECT_STREQ(used.lfFaceName, expected_font.lfFaceName);
    EXPECT_EQ(used.lfHeight, expected_font.lfHeight);

    const auto control_style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    wchar_t window_class[32] = {};
    ::GetClassNameW(control, window_class, 32);
    if (std::wstring(window_class) == L"Button" || std::wstring(window_class) == L"BUTTON") {
      // Enter and Esc must press nothing: no default push button.
      EXPECT_NE(control_style & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    }
  }
  // Each label fits its one line at the window's font, without clipping.
  for (Control label : {Control::Label1, Control::Label2}) {
    const HWND control = f[label];
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = WindowText(control);
    RECT needed = {0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
    RECT client;
    ::GetClientRect(control, &client);
    EXPECT_LE(needed.right, client.right) << "label " << static_cast<int>(label) << " is clipped";
    EXPECT_LE(needed.bottom, client.bottom) << "label " << static_cast<int>(label) << " is clipped";
  }
  ::ReleaseDC(f.hwnd(), dc);

  for (Control list : {Control::List1, Control::List2}) {
    const auto list_style = static_cast<DWORD>(::GetWindowLongPtrW(f[list], GWL_STYLE));
    EXPECT_FALSE(list_style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_NODATA));
    EXPECT_FALSE(list_style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
    EXPECT_TRUE(list_style & LBS_NOTIFY);
  }
}

TEST(Form1Keyboard, TabAndShiftTabFollowTheFocusOrder) {
  Form1Fixture f;
  const std::vector<Control> order = {Control::List1,    Control::Command1, Control::Command2,
                                      Control::Command3, Control::Command5, Control::List2,
                                      Control::Command4, Control::Command6, Control::List1};
  ::SetFocus(f[Control::List1]);
  for (std::size_t i = 1; i < order.size(); ++i) {
    PressKey(VK_TAB);
    EXPECT_TRUE(f.PumpUntil([&] { return ::GetFocus() == f[order[i]]; }, 2s)) << "tab step " << i;
  }
  for (std::size_t i = order.size() - 1; i-- > 0;) {
    PressKey(VK_TAB, true);
    EXPECT_TRUE(f.PumpUntil([&] { return ::GetFocus() == f[order[i]]; }, 2s)) << "shift+tab to " << i;
  }
}

TEST(Form1Keyboard, EnterAndEscPressNothingAndDisabledButtonIsSkipped) {
  Form1Fixture f;
  FileFolder folder;
  f.form().AppendChosenFiles(FiveFiles(folder));
  for (Control focused : {Control::Command4, Control::Command6, Control::List1}) {
    ::SetFocus(f[focused]);
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    f.Pump(200ms);
    ASSERT_TRUE(::IsWindow(f.hwnd()));
    EXPECT_EQ(f.form().list1().RowCount(), 5);
    EXPECT_EQ(::GetFocus(), f[focused]);
  }

  ::SetFocus(f[Control::Command2]);
  PressKey(VK_SPACE);  // the keyboard's way to press the focused button
  ASSERT_TRUE(f.PumpUntil([&] { return !::IsWindowEnabled(f[Control::Command2]); }));
  // The focus moved on rather than staying on a disabled button.
  EXPECT_EQ(::GetFocus(), f[Control::Command3]);
  ::SetFocus(f[Control::Command1]);
  PressKey(VK_TAB);
  EXPECT_TRUE(f.PumpUntil([&] { return ::GetFocus() == f[Control::Command3]; }, 2s));
}

TEST(Form1Pass, LabelsEveryFileAndEndsWithTheLastFileSelected) {
  Form1Fixture f;
  FileFolder folder;
  f.form().AppendChosenFiles(FiveFiles(folder));
  EXPECT_EQ(ListBoxRows(f[Control::List1]),
            (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"gone.txt"}));

  f.Press(Control::Command2);
  EXPECT_EQ(ListBoxRows(f[Control::List2]), kFiveLabels);
  EXPECT_EQ(CurrentSelection(f[Control::List1]), 4);
  EXPECT_EQ(CurrentSelection(f[Control::List2]), LB_ERR);
  EXPECT_FALSE(::IsWindowEnabled(f[Control::Command2]));

  // Clearing and adding files does not bring the button back.
  f.Press(Control::Command4);
  f.form().AppendChosenFiles(FiveFiles(folder));
  f.Press(Control::Command2);
  EXPECT_FALSE(::IsWindowEnabled(f[Control::Command2]));
  EXPECT_EQ(::SendMessageW(f[Control::List2], LB_GETCOUNT, 0, 0), 0);
}

TEST(Form1Pass, ShowsProgressAndKeepsAnsweringDuringALongPass) {
  Form1Fixture f;
  FileFolder folder;
  const ChosenFile file = folder.Write(L"same.txt", {0xEF, 0xBB, 0xBF});
  // More rows than a 16-bit count holds, and enough for a pass of seconds.
  const std::vector<ChosenFile> files(40'000, file);
  f.form().AppendChosenFiles(files);
  ASSERT_EQ(::SendMessageW(f[Control::List1], LB_GETCOUNT, 0, 0), 40'000);

  // Another thread asks the list boxes how far the pass has got. A reply
  // means the window thread is still taking messages: it is not hung.
  struct Sample {
    LRESULT labels, selected;
    long long waited_ms;
  };
  std::vector<Sample> samples;
  std::atomic<bool> done = false, watcher_stopped = false;
  const HWND list1 = f[Control::List1], list2 = f[Control::List2];
  std::thread watcher([&] {
    while (!done) {
      const auto start = std::chrono::steady_clock::now();
      DWORD_PTR labels = 0, selected = 0;
      ::SendMessageTimeoutW(list2, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &labels);
      ::SendMessageTimeoutW(list1, LB_GETCURSEL, 0, 0, SMTO_NORMAL, 5000, &selected);
      const auto waited = std::chrono::steady_clock::now() - start;
      samples.push_back({static_cast<LRESULT>(labels), static_cast<LRESULT>(selected),
                         std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()});
      std::this_thread::sleep_for(20ms);
    }
    watcher_stopped = true;
  });
  f.Press(Control::Command2);
  done = true;
  // The watcher may be waiting on this thread: keep answering until it stops.
  f.PumpUntil([&] { return watcher_stopped.load(); });
  watcher.join();

  ASSERT_EQ(::SendMessageW(list2, LB_GETCOUNT, 0, 0), 40'000);
  EXPECT_EQ(CurrentSelection(list1), 39'999);
  std::vector<LRESULT> progress;
  long long longest_wait = 0;
  for (const Sample& s : samples) {
    if (s.labels > 0 && s.labels < 40'000 && (progress.empty() || s.labels > progress.back())) {
      progress.push_back(s.labels);
      EXPECT_GE(s.selected, s.labels - 1) << "the file list shows where the pass is";
    }
    longest_wait = std::max(longest_wait, s.waited_ms);
  }
  EXPECT_GE(progress.size(), 2u) << "no visible progress during the pass";
  EXPECT_LT(longest_wait, 1000) << "the window stopped answering";
}

TEST(Form1Lists, MirrorBothWaysByClickAndKeyboard) {
  Form1Fixture f;
  FileFolder folder;
  f.form().AppendChosenFiles(FiveFiles(folder));
  f.Press(Control::Command2);
  auto click_row = [&](Control list, int row) {
    RECT item;
    ::SendMessageW(f[list], LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
    ::MapWindowPoints(f[list], HWND_DESKTOP, reinterpret_cast<POINT*>(&item), 2);
    ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  };
  auto both_at = [&](LRESULT row) {
    return CurrentSelection(f[Control::List1]) == row && CurrentSelection(f[Control::List2]) == row &&
           f.form().list1().CurrentRow() == row && f.form().list2().CurrentRow() == row;
  };

  click_row(Control::List1, 3);
  EXPECT_TRUE(f.PumpUntil([&] { return both_at(3); }, 3s));
  click_row(Control::List2, 1);
  EXPECT_TRUE(f.PumpUntil([&] { return both_at(1); }, 3s));
  PressKey(VK_DOWN);  // List2 has the focus after the click
  EXPECT_TRUE(f.PumpUntil([&] { return both_at(2); }, 3s));
  ::SetFocus(f[Control::List1]);
  PressKey(VK_END);
  EXPECT_TRUE(f.PumpUntil([&] { return both_at(4); }, 3s));

  // The heading buttons change nothing.
  ClickCentre(f[Control::Command3]);
  ClickCentre(f[Control::Command5]);
  f.Pump(300ms);
  EXPECT_TRUE(both_at(4));
  EXPECT_EQ(ListBoxRows(f[Control::List2]), kFiveLabels);
}

TEST(Form1Lists, ClearEmptiesBothAndLeavesTheAnalyseButtonAsItWas) {
  for (bool after_pass : {false, true}) {
    Form1Fixture f;
    FileFolder folder;
    f.form().AppendChosenFiles(FiveFiles(folder));
    if (after_pass) f.Press(Control::Command2);
    f.Press(Control::Command4);
    EXPECT_EQ(::SendMessageW(f[Control::List1], LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(f[Control::List2], LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(f.form().list1().RowCount(), 0);
    EXPECT_EQ(f.form().list2().CurrentRow(), kNoRow);
    EXPECT_EQ(::IsWindowEnabled(f[Control::Command2]) != FALSE, !after_pass);
  }
}

int VisibleTopLevelWindowsOfThisThread() {
  int count = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM counter) -> BOOL {
        if (::IsWindowVisible(window)) ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(Form1Window, HoldsItsSizeWhateverAsksForAnother) {
  Form1Fixture f;
  auto outer_size = [&] {
    RECT r;
    ::GetWindowRect(f.hwnd(), &r);
    return std::pair{r.right - r.left, r.bottom - r.top};
  };
  const std::pair<LONG, LONG> fixed{410, 446};
  ::SetWindowPos(f.hwnd(), nullptr, 0, 0, 640, 500, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(outer_size(), fixed);
  ::MoveWindow(f.hwnd(), 10, 10, 200, 100, TRUE);
  EXPECT_EQ(outer_size(), fixed);
  ::ShowWindow(f.hwnd(), SW_MAXIMIZE);
  f.Pump();
  EXPECT_EQ(outer_size(), fixed);
  ::ShowWindow(f.hwnd(), SW_RESTORE);
  ::ShowWindow(f.hwnd(), SW_MINIMIZE);
  f.Pump();
  EXPECT_TRUE(::IsIconic(f.hwnd()));
  ::ShowWindow(f.hwnd(), SW_RESTORE);
  f.Pump();
  EXPECT_EQ(outer_size(), fixed);
  // Nothing was said about any of it.
  EXPECT_EQ(VisibleTopLevelWindowsOfThisThread(), 1);
}

TEST(Form1Window, LaysOutAgainAtANewDpi) {
  Form1Fixture f;
  // What Windows sends when the window moves to a 150% monitor.
  RECT suggested = {100, 50, 100 + 615, 50 + 669};
  ::SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT outer;
  ::GetWindowRect(f.hwnd(), &outer);
  EXPECT_EQ(outer.right - outer.left, 615);
  EXPECT_EQ(outer.bottom - outer.top, 669);
  EXPECT_EQ(outer.left, 100);
  // Edges are scaled, so neighbours still meet: List2 ends where List1 starts, less the overlap.
  const RECT list1 = ClientRectIn(f[Control::List1], f.hwnd());
  const RECT list2 = ClientRectIn(f[Control::List2], f.hwnd());
  EXPECT_EQ(list1.left, 180);
  EXPECT_EQ(list1.top, 156);
  EXPECT_EQ(list1.right, 602);
  EXPECT_EQ(list2.right, 182);
  const RECT label1 = ClientRectIn(f[Control::Label1], f.hwnd());
  EXPECT_EQ(label1.left, 336);
  EXPECT_EQ(label1.top, 36);

  LOGFONTW used{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f[Control::Label1], WM_GETFONT, 0, 0)), sizeof used, &used);
  EXPECT_EQ(used.lfHeight, win32::MessageFontForDpi(144).lfHeight);
  EXPECT_NE(used.lfHeight, win32::MessageFontForDpi(96).lfHeight);
}

}  // namespace
}  // namespace kavren::testing
