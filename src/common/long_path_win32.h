// long_path_win32.h: the \\?\ form that file functions need for paths of MAX_PATH characters or more.
#pragma once

#include <string>

namespace kavren {

// CreateFileW, GetFileAttributesW and FindFirstFileExW stop at MAX_PATH
// unless the path is in the \\?\ form (the manifest's longPathAware only
// helps where the system opted in too). The limit is MAX_PATH-12 for a
// folder, which must leave room for an 8.3 name. Returns `path` itself when
// it is shorter or already in that form, so that most calls copy nothing;
// else the \\?\ form, kept in `long_form`; null when the path cannot be made
// absolute.
[[nodiscard]] const wchar_t* OpenablePath(const std::wstring& path, std::wstring& long_form);

}  // namespace kavren
