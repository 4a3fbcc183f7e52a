// list_menu_win32.h: the lists' context menu -- what can be done with the row it opens on, and with the batch.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/portable/list_menu.h"

namespace kavren::win32 {

// A standard popup with access keys at `at` (screen), owned by `owner`,
// holding `entries`. Returns the entry chosen, or null.
[[nodiscard]] const ListMenuEntry* TrackListMenu(HWND owner, POINT at, const std::vector<ListMenuEntry>& entries);

}  // namespace kavren::win32
