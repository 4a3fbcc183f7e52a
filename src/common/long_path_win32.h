// long_path_win32.h: the form of a path that the file functions open as the user meant it.
#pragma once

#include <string>

namespace kavren {

// CreateFileW, GetFileAttributesW and FindFirstFileExW stop at MAX_PATH
// unless the path is in the \\?\ form (the manifest's longPathAware only
// helps where the system opted in too). The limit is MAX_PATH-12 for a
// folder, which must leave room for an 8.3 name. And a 32-bit program on
// 64-bit Windows is silently shown SysWOW64 where it names System32, so
// there a path in System32 is read through Sysnative, which the system does
// not redirect. Returns `path` itself when it needs neither, so that most
// calls copy nothing; else the form to open, kept in `long_form`. Null, with
// the error in GetLastError(), when the path cannot be made absolute or is
// longer than any path Windows opens (ERROR_FILENAME_EXCED_RANGE).
[[nodiscard]] const wchar_t* OpenablePath(const std::wstring& path, std::wstring& long_form);

}  // namespace kavren
