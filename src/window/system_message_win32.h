// system_message_win32.h: the system's own words for an error, for the tips and the copied table.
#pragma once

#include <windows.h>

#include <string>

namespace kavren::win32 {

// Why a file could not be read, in the system's own words for `error`, in
// the user's language, on one line.
[[nodiscard]] std::wstring SystemMessage(DWORD error);

}  // namespace kavren::win32
