// open_dialog.h: the system's Open dialog, set up for choosing several .txt files.
#pragma once

#include <windows.h>

#include <vector>

#include "window/open_selection.h"

namespace kavren::win32 {

// Room for the dialog's result, in characters: 20,000 files with names of
// up to MAX_PATH characters and their folder fit with room to spare.
inline constexpr DWORD kSelectionBufferChars = 8u << 20;

// Shows the dialog, modal to `owner`, and returns the chosen files in the
// order the dialog gives them. Cancel, or any failure, gives none.
[[nodiscard]] std::vector<ChosenFile> ChooseTxtFiles(HWND owner);

}  // namespace kavren::win32
