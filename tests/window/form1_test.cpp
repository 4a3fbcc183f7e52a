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
  const std::vector<unsigned char> bytes[] = {{0xFF, 0xFE}, {0xEF, 0xBB, 0xBF}, {0x61}, {0xFE, 0xFF}};
  std::vector<ChosenFile> files;
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    files.push_back({kNames[i], i < 4 ? dir.Write(kNames[i], bytes[i]) : dir.Wide(kNames[i])});
  }
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
  for (UINT dpi : {96u, 144u}) {
    RECT suggested = {100, 50, 700, 700}, client;  // as Windows sends on a move to a 150% monitor
    if (dpi != 96) ::SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    const RECT outer = RectIn(f.hwnd(), HWND_DESKTOP);
    EXPECT_EQ(outer.right - outer.left, win32::TwipsToPixels(win32::kOuterWidthTwips, dpi));
    EXPECT_EQ(outer.bottom - outer.top, win32::TwipsToPixels(win32::kOuterHeightTwips, dpi));
    ::GetClientRect(f.hwnd(), &client);
    HDC dc = ::GetDC(f.hwnd());
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
    ::ReleaseDC(f.hwnd(), dc);
  }
}

TEST(Form1Window, HoldsItsSizeWhateverAsksForAnotherAndSaysNothing) {
  Form1Fixture f;
  const RECT fixed = RectIn(f.hwnd(), HWND_DESKTOP);
  ::SetWindowPos(f.hwnd(), nullptr, 0, 0, 640, 500, SWP_NOMOVE | SWP_NOZORDER);
  for (int show : {SW_MAXIMIZE, SW_RESTORE, SW_MINIMIZE, SW_RESTORE}) ::ShowWindow(f.hwnd(), show), f.Pump();
  const RECT now = RectIn(f.hwnd(), HWND_DESKTOP);
  EXPECT_EQ(std::pair(now.right - now.left, now.bottom - now.top), std::pair(fixed.right - fixed.left, fixed.bottom - fixed.top));
  EXPECT_EQ(VisibleTopLevelWindows(::GetCurrentProcessId()), std::vector<HWND>{f.hwnd()});
}

TEST(Form1Keyboard, TabFollowsTheFocusOrderAndEnterEscOrADisabledButtonPressNothing) {
  Form1Fixture f;
  TempDir dir;
  AddFiles(f, dir);
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
  ::SetFocus(f[Control::Command1]);
  f.Post(f[Control::Command1], WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(::GetFocus(), f[Control::Command3]);
}

TEST(Form1Lists, MirrorBothWaysWhileHeadingsDoNothingAndClearKeepsTheButtonAsItWas) {
  Form1Fixture f;
  TempDir dir;
  AddFiles(f, dir);
  f.Click(Control::Command2);
  auto click_row = [&](Control list, int row) {
    RECT item;
    ::SendMessageW(f[list], LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    f.Post(f[list], WM_LBUTTONDOWN, MK_LBUTTON, at), f.Post(f[list], WM_LBUTTONUP, 0, at);
  };
  auto both_at = [&](RowIndex row) {
    return ::SendMessageW(f[Control::List1], LB_GETCURSEL, 0, 0) == row && f.form().list1().CurrentRow() == row &&
           ::SendMessageW(f[Control::List2], LB_GETCURSEL, 0, 0) == row && f.form().list2().CurrentRow() == row;
  };
  click_row(Control::List1, 3);
  EXPECT_TRUE(both_at(3));
  click_row(Control::List2, 1);
  EXPECT_TRUE(both_at(1));
  f.Post(f[Control::List2], WM_KEYDOWN, VK_DOWN);
  f.Click(Control::Command3), f.Click(Control::Command5);
  EXPECT_TRUE(both_at(2));
  EXPECT_EQ(ListBoxRows(f[Control::List1]), kNames);
  EXPECT_EQ(ListBoxRows(f[Control::List2]), kLabels);

  f.Click(Control::Command4);
  EXPECT_TRUE(ListBoxRows(f[Control::List1]).empty() && ListBoxRows(f[Control::List2]).empty());
  EXPECT_EQ(f.form().list1().RowCount() + f.form().list2().RowCount(), 0);
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
  const std::wstring dropped = dir.Wide(L"dropped.txt");
  const HWND form = f.hwnd(), list1 = f[Control::List1], list2 = f[Control::List2];
  ASSERT_EQ(::SendMessageW(list1, LB_GETCOUNT, 0, 0), kRows);

  // Another program watches the lists and, once the pass is under way,
  // sends a clear, a second analyse and a close, as automation tools do.
  // Its replies show that the window still takes messages.
  std::vector<std::pair<DWORD_PTR, DWORD_PTR>> progress;  // labels, selected file
  long long longest_wait_ms = 0;
  std::atomic<bool> pass_over = false;
  std::thread other_program([&] {
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

}  // namespace
}  // namespace kavren::testing
