// device_names.h: recognises names that Windows opens as devices rather than files.
#pragma once

#include <string_view>

namespace kavren {

// True for a reserved device name (CON, NUL, COM1, LPT1.txt, ... in any
// folder and any letter case) and for paths in the device namespace such as
// named pipes, here or on another machine (\\server\pipe\...). Reading one
// of those can block forever, and a pipe's server sees who opened it, so
// they are refused before anything is opened.
[[nodiscard]] bool NamesDevice(std::wstring_view path) noexcept;

}  // namespace kavren
