// form1_controls_win32.h: form1's design -- every control, its caption and its place, in twips.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "window/maker_credits.h"

namespace kavren::win32 {

// The design's outer size; the client area is what the frame leaves of it.
inline constexpr int kOuterWidthTwips = 6150;
inline constexpr int kOuterHeightTwips = 6690;

// Creation order is focus order: IsDialogMessageW walks the children in
// z-order, and each new child goes to the bottom. So the focusable controls
// come first, in the order Tab visits them, then the labels, then the group
// boxes, which must lie behind everything they surround.
enum class Control : int {
  List1,
  Command1,
  Command2,
  Command3,
  Command5,
  List2,
  Command4,
  Command6,
  Label1,
  Label2,
  Frame2,
  Frame1,
  kCount,
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Control::kCount);

// IDs stay clear of IDOK (1) and IDCANCEL (2): IsDialogMessageW turns Enter
// and Esc into WM_COMMAND with those IDs, and they must press nothing.
[[nodiscard]] constexpr int ControlId(Control control) noexcept { return 101 + static_cast<int>(control); }
// The status bar's two rows, after the table's controls: docked under the
// lists rather than placed in twips, since their height follows the font.
[[nodiscard]] constexpr int StatusRowId(int row) noexcept { return ControlId(Control::kCount) + row; }

struct TwipRect {
  int left, top, width, height;
};

struct ControlSpec {
  Control control;
  const wchar_t* window_class;
  const wchar_t* caption;
  DWORD style;
  DWORD ex_style;
  TwipRect rect;  // in the window's client area, frame offsets included
};

namespace form1_layout {

// A control "inside" a frame is a sibling placed at the frame's offset: a
// group box does not pass its children's notifications on to the window.
inline constexpr TwipRect kFrame1 = {0, 0, 6015, 1215};
inline constexpr TwipRect kFrame2 = {kFrame1.left + 3240, kFrame1.top + 120, 2775, 975};
constexpr TwipRect Inside(TwipRect frame, TwipRect rect) {
  return {frame.left + rect.left, frame.top + rect.top, rect.width, rect.height};
}

inline constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
inline constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
// The headings do nothing, so Tab passes them by; BS_NOTIFY tells the
// window when a click gives one the focus, which it passes on.
inline constexpr DWORD kHeading = kChild | BS_PUSHBUTTON | BS_NOTIFY;
// Unsorted single selection holding its strings, so that screen readers and
// other programs can read the rows; no integral height, so the box keeps the
// designed height whatever the font. The owner hears of each key (as
// WM_VKEYTOITEM), which is where Ctrl+C is caught. A list's caption is never
// drawn; it is the name a screen reader gives the list.
inline constexpr DWORD kList =
    kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT;
// The label list scrolls with the file list and by the file list's scroll
// bar; one of its own would leave too narrow a column for
// "UUnicodeBigEndian" at any DPI. It holds no rows, only their count, and
// its owner draws each from the model: a label then lands in place, where a
// standard box would move every row after it.
inline constexpr DWORD kLabelList = (kList & ~WS_VSCROLL) | LBS_OWNERDRAWFIXED | LBS_NODATA;
inline constexpr DWORD kLabel = kChild | SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX;
inline constexpr DWORD kFrame = kChild | BS_GROUPBOX;

}  // namespace form1_layout

// Indexed by Control; the static_assert below keeps the two in step.
inline constexpr std::array<ControlSpec, kControlCount> kForm1Controls = [] {
  using namespace form1_layout;
  return std::array<ControlSpec, kControlCount>{{
      {Control::List1, L"LISTBOX", L"文件名", kList, WS_EX_CLIENTEDGE, {1800, 1560, 4215, 4560}},
      {Control::Command1, L"BUTTON", L"选择Txt文件", kButton, 0, {120, 240, 1575, 375}},
      {Control::Command2, L"BUTTON", L"分析编码方式", kButton, 0, {1800, 240, 1335, 375}},
      {Control::Command3, L"BUTTON", L"编 码 方 式", kHeading, 0, {0, 1200, 1815, 375}},
      {Control::Command5, L"BUTTON", L"文  件  名", kHeading, 0, {1800, 1200, 4215, 375}},
      {Control::List2, L"LISTBOX", L"编码方式", kLabelList, WS_EX_CLIENTEDGE, {0, 1560, 1815, 4560}},
      {Control::Command4, L"BUTTON", L"清 空 数 据", kButton, 0, Inside(kFrame1, {120, 720, 1575, 375})},
      {Control::Command6, L"BUTTON", L"退 出 程 序", kButton, 0, Inside(kFrame1, {1800, 720, 1335, 375})},
      {Control::Label1, L"STATIC", kMakerSiteLabel, kLabel, 0, Inside(kFrame2, {120, 240, 2535, 255})},
      {Control::Label2, L"STATIC", kAuthorLabel, kLabel, 0, Inside(kFrame2, {360, 600, 2175, 255})},
      {Control::Frame2, L"BUTTON", L"", kFrame, 0, kFrame2},
      {Control::Frame1, L"BUTTON", L"", kFrame, 0, kFrame1},
  }};
}();

static_assert(
    [] {
      for (std::size_t i = 0; i < kControlCount; ++i) {
        if (kForm1Controls[i].control != static_cast<Control>(i)) return false;
      }
      return true;
    }(),
    "kForm1Controls must list the controls in the order of enum Control");

}  // namespace kavren::win32
