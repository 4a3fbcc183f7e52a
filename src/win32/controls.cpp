// controls.cpp: the control table behind form1's layout.
#include "win32/controls.h"

#include "win32/maker.h"

namespace kavren::win32 {
namespace {

// A control "inside" a frame is a sibling placed at the frame's offset: a
// group box does not pass its children's notifications on to the window.
constexpr TwipRect kFrame1 = {0, 0, 6015, 1215};
constexpr TwipRect kFrame2 = {kFrame1.left + 3240, kFrame1.top + 120, 2775, 975};

constexpr TwipRect Inside(TwipRect frame, TwipRect rect) {
  return {frame.left + rect.left, frame.top + rect.top, rect.width, rect.height};
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
// Unsorted single selection holding its strings, so that screen readers and
// other programs can read the rows; no integral height, so the box keeps the
// designed height whatever the font.
constexpr DWORD kList = kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kLabel = kChild | SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX;
constexpr DWORD kFrame = kChild | BS_GROUPBOX;

}  // namespace

const std::array<ControlSpec, kControlCount>& ControlTable() {
  static const std::array<ControlSpec, kControlCount> table = {{
      {Control::List1, L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE, {1800, 1560, 4215, 4560}},
      {Control::Command1, L"BUTTON", L"选择Txt文件", kButton, 0, {120, 240, 1575, 375}},
      {Control::Command2, L"BUTTON", L"分析编码方式", kButton, 0, {1800, 240, 1335, 375}},
      {Control::Command3, L"BUTTON", L"编 码 方 式", kButton, 0, {0, 1200, 1815, 375}},
      {Control::Command5, L"BUTTON", L"文  件  名", kButton, 0, {1800, 1200, 4215, 375}},
      {Control::List2, L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE, {0, 1560, 1815, 4560}},
      {Control::Command4, L"BUTTON", L"清 空 数 据", kButton, 0, Inside(kFrame1, {120, 720, 1575, 375})},
      {Control::Command6, L"BUTTON", L"退 出 程 序", kButton, 0, Inside(kFrame1, {1800, 720, 1335, 375})},
      {Control::Label1, L"STATIC", SiteLabelText(), kLabel, 0, Inside(kFrame2, {120, 240, 2535, 255})},
      {Control::Label2, L"STATIC", AuthorLabelText(), kLabel, 0, Inside(kFrame2, {360, 600, 2175, 255})},
      {Control::Frame2, L"BUTTON", L"", kFrame, 0, kFrame2},
      {Control::Frame1, L"BUTTON", L"", kFrame, 0, kFrame1},
  }};
  return table;
}

}  // namespace kavren::win32
