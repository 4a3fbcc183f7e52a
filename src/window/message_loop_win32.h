// message_loop_win32.h: the program's message loop.
#pragma once

#include <windows.h>

namespace kavren::win32 {

// One message, as the program's loop handles it: the mouse shown to the
// tooltips, dialog-style keyboard navigation (Tab, Shift+Tab) for
// `window`'s controls, then the usual translate and dispatch.
void DispatchWindowMessage(HWND window, MSG& message);

// Runs the window's message loop until WM_QUIT and returns its exit code.
int RunMessageLoop(HWND window);

}  // namespace kavren::win32
