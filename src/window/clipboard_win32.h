// clipboard_win32.h: text onto the clipboard, which other programs share and may hold for a moment.
#pragma once

#include <windows.h>

#include <string>

namespace kavren::win32 {

// Puts `text` on the clipboard as Unicode text, in place of whatever was
// there; false if the clipboard could not be had.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);

}  // namespace kavren::win32
