// controls.h: the window's design -- every control, its caption and its place, in twips.
#pragma once

#include <windows.h>

#include <array>
#include <string>

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

struct TwipRect {
  int left, top, width, height;
};

struct ControlSpec {
  Control control;
  const wchar_t* window_class;
  std::wstring caption;
  DWORD style;
  DWORD ex_style;
  TwipRect rect;  // in the window's client area, frame offsets included
};

// Built once: two captions come from the maker's constants.
[[nodiscard]] const std::array<ControlSpec, kControlCount>& ControlTable();

}  // namespace kavren::win32
