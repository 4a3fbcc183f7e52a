// system_message_win32.h: the system's own words for an error, for the tips and the copied table.
#pragma once

#include <windows.h>

#include <string>

namespace kavren::win32 {

// Why a file could not be read: the number of `error`, then the system's
// own words for it in the user's language, on one line ("错误 123：文件名、
// 目录名或卷标语法不正确。").
[[nodiscard]] std::wstring SystemMessage(DWORD error);

}  // namespace kavren::win32
