// dpi_win32.h: DPI and system-font queries that exist only on newer Windows, with fallbacks.
#pragma once

#include <windows.h>

namespace kavren::win32 {

inline constexpr UINT kDesignDpi = 96;

// The DPI the window is drawn at: its monitor's on Windows 10 1607 and
// later, the system's before that.
[[nodiscard]] UINT DpiForWindow(HWND window) noexcept;

// The system message font, sized for `dpi`.
[[nodiscard]] LOGFONTW MessageFontForDpi(UINT dpi) noexcept;

// Twips (1/1440 inch) to pixels at `dpi`.
[[nodiscard]] inline int TwipsToPixels(int twips, UINT dpi) noexcept {
  return ::MulDiv(twips, static_cast<int>(dpi), 1440);
}

}  // namespace kavren::win32
