// path_kind_win32.h: what a path names -- a file, a folder, nothing, or a name never to be handed to the file system.
#pragma once

#include <string>

namespace kavren::win32 {

// What a path names, as the walk and the lists' menu ask it. A name the pass
// refuses (a device, a pipe here or on another machine) is never handed to
// the file system: even an attribute query opens it, and a pipe's server
// sees the user connect.
enum class PathKind { kRefused, kMissing, kFile, kFolder };
[[nodiscard]] PathKind KindOfPath(const std::wstring& path);

}  // namespace kavren::win32
