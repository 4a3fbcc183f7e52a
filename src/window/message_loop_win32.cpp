// message_loop_win32.cpp: the program's message loop, and how it handles each message.
#include "window/message_loop_win32.h"
#include "window/private_messages_win32.h"

namespace kavren::win32 {

void DispatchWindowMessage(HWND window, MSG& message) {
  if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST && window &&
      (message.hwnd == window || ::IsChild(window, message.hwnd))) {
    ::SendMessageW(window, kRelayMouseMessage, 0, reinterpret_cast<LPARAM>(&message));
  }
  if (window && ::IsWindow(window) && ::IsDialogMessageW(window, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

int RunMessageLoop(HWND window) {
  MSG message;
  BOOL got;
  while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    DispatchWindowMessage(window, message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace kavren::win32
