// long_path_win32.cpp: the \\?\ form of long paths.
#include "common/long_path_win32.h"

#include <windows.h>

namespace kavren {

const wchar_t* OpenablePath(const std::wstring& path, std::wstring& long_form) {
  if (path.size() < MAX_PATH - 12 || path.starts_with(L"\\\\?\\")) return path.c_str();
  // The \\?\ form skips all normalisation, so the path is made absolute first.
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return nullptr;
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return nullptr;
  full.resize(written);
  long_form = full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
  return long_form.c_str();
}

}  // namespace kavren
