// dpi_win32.cpp: looks the per-monitor DPI functions up at run time, so that one
// .exe still starts on Windows 7, where user32 does not export them.
#include "window/dpi_win32.h"

#include "common/exported_function_win32.h"
#include "common/handles_win32.h"

namespace kavren::win32 {
namespace {

template <typename Function>
Function User32Function(const char* name) noexcept {
  return ExportedFunction<Function>(::GetModuleHandleW(L"user32.dll"), name);
}

UINT SystemDpi() noexcept {
  const ScreenDc screen;
  const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace

UINT DpiForWindow(HWND window) noexcept {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (get_dpi_for_window && window) {
    if (const UINT dpi = get_dpi_for_window(window)) return dpi;
  }
  return SystemDpi();
}

LOGFONTW MessageFontForDpi(UINT dpi) noexcept {
  using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto for_dpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (for_dpi && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    return metrics.lfMessageFont;
  }
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    // Without the ...ForDpi call the metrics come at the system DPI.
    metrics.lfMessageFont.lfHeight =
        ::MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return metrics.lfMessageFont;
  }
  LOGFONTW fallback{};
  fallback.lfHeight = -::MulDiv(9, static_cast<int>(dpi), 72);
  fallback.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(fallback.lfFaceName, L"Microsoft YaHei UI", LF_FACESIZE);
  return fallback;
}

}  // namespace kavren::win32
