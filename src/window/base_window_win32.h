// base_window_win32.h: the one window-class thunk, routing messages to a member function.
#pragma once

#include <windows.h>

#include "window/app_version.h"

namespace kavren::win32 {

// Derived provides `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`.
template <typename Derived>
class BaseWindow {
 public:
  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

 protected:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  ~BaseWindow() = default;

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      // WM_NCCREATE is the first message that carries CreateWindowExW's
      // last argument; earlier ones (WM_GETMINMAXINFO) go to DefWindowProc.
      self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);

    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return ::DefWindowProcW(hwnd, message, wparam, lparam);
    }

    // An exception must not unwind through user32's frames. There is no
    // state worth saving, so the program says so and ends.
    try {
      return self->HandleMessage(message, wparam, lparam);
    } catch (...) {
      ::FatalAppExitW(0, L"" KAVREN_PRODUCT_NAME ": 内部错误，程序必须结束。");
    }
    return 0;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace kavren::win32
