// private_messages_win32.h: the window's own message numbers and timer ids, in one place so that none is used twice.
#pragma once

#include <windows.h>

namespace kavren::win32 {

// Sent by the message loop with a mouse message (MSG*) before it is
// dispatched, so that the tooltips see the mouse over every control.
inline constexpr UINT kRelayMouseMessage = WM_APP + 1;
// Posted by long work's thread as it ends, so that its last batch is taken
// at once rather than at the next tick.
inline constexpr UINT kWorkEndedMessage = WM_APP + 2;
// Posted by a shell thread that found no program for text: the window says
// so in a box of its own, on its thread.
inline constexpr UINT kNoTextProgramMessage = WM_APP + 3;

// The tick on which the window takes what long work has found.
inline constexpr UINT_PTR kWorkTimerId = 1;

}  // namespace kavren::win32
