// open_dialog_win32.h: the system's Open dialog, set up for choosing several .txt files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/portable/open_dialog.h"

namespace kavren::win32 {

// Room for the dialog's result, in characters: 20,000 files with names of
// up to MAX_PATH characters and their folder fit with room to spare.
inline constexpr DWORD kSelectionBufferChars = 8u << 20;

// Shows the dialog, modal to `owner`, opening in `folder` (empty: wherever
// the system chooses), and returns the chosen files in the order the dialog
// gives them. Cancel, or any failure, gives none. On a choice, `folder`
// becomes the chosen files' folder. The process's current directory is left
// as it was.
[[nodiscard]] std::vector<ChosenFile> ChooseTxtFiles(HWND owner, std::wstring& folder);

}  // namespace kavren::win32
