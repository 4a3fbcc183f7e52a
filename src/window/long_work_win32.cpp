// long_work_win32.cpp: the window's own thread during a pass or a walk.
#include "window/long_work_win32.h"

#include <shellapi.h>

namespace kavren::win32 {
namespace {

// While the window is busy it must still answer what other programs send
// (screen readers, the system asking whether it hangs), so sent messages get
// through. Of those, these would run a handler of ours inside the long work
// -- a clear under the pass's feet, a second pass, a drop -- and wait
// instead.
bool WaitsWhileBusy(UINT message) noexcept { return message == WM_COMMAND || message == WM_DROPFILES; }

// The user's own clicks and keys in the window during long work: none runs
// a handler of ours. Esc is taken before, and the frame's (the title bar's
// buttons, a drag, Alt+F4) go to the system, which turns a close into
// WM_CLOSE.
bool IgnoredDuringWork(const MSG& message, HWND window) noexcept {
  const UINT id = message.message;
  if (id >= WM_NCMOUSEMOVE && id <= WM_NCXBUTTONDBLCLK) return message.hwnd != window;
  if (id == WM_SYSKEYDOWN || id == WM_SYSKEYUP || id == WM_SYSCHAR) return false;
  return (id >= WM_KEYFIRST && id <= WM_KEYLAST) || (id >= WM_MOUSEFIRST && id <= WM_MOUSELAST);
}

}  // namespace

LongWork::Scope::Scope(LongWork& work) : work_(work), cursor_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {
  work_.busy_ = true;
  work_.stop_ = {};
}

LongWork::Scope::~Scope() {
  work_.busy_ = false;
  std::vector<MSG> deferred = std::move(work_.deferred_);
  work_.deferred_.clear();
  ::SetCursor(cursor_);
  // Closed: what waited is dropped, and the window goes next.
  if (work_.closing_) {
    for (const MSG& message : deferred) {
      if (message.message == WM_DROPFILES) ::DragFinish(reinterpret_cast<HDROP>(message.wParam));
    }
    ::PostMessageW(work_.window_, WM_CLOSE, 0, 0);
    return;
  }
  for (const MSG& message : deferred) ::PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
}

bool LongWork::Intercept(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!busy_) return false;
  if (WaitsWhileBusy(message)) {
    deferred_.push_back({window_, message, wparam, lparam, 0, {}});
    return true;
  }
  // Nothing is saved, so nothing is lost: the work stops where it is, and
  // the window closes as soon as it has.
  if (message == WM_CLOSE || (message == WM_ENDSESSION && wparam)) {
    closing_ = true;
    stop_.request_stop();
    return true;
  }
  return false;
}

void LongWork::HandleMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // The program's loop must still see it, after the work, which it ends.
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      stop_.request_stop();
      return;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      stop_.request_stop();
      continue;
    }
    if (IgnoredDuringWork(message, window_)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace kavren::win32
