// long_path_win32.cpp: the \\?\ form of long paths, and System32 as the user meant it.
#include "common/long_path_win32.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

namespace kavren {
namespace {

// No path of more characters opens, in any form.
constexpr std::size_t kLongestPath = 32'767;

struct RedirectedFolder {
  std::wstring system32;   // empty where nothing is redirected
  std::wstring sysnative;  // the name that reaches the real System32
};

const RedirectedFolder& Wow64System32() {
  static const RedirectedFolder folder = [] {
    BOOL wow64 = FALSE;
    wchar_t windows[MAX_PATH];
    const UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (!::IsWow64Process(::GetCurrentProcess(), &wow64) || !wow64 || length == 0 || length >= MAX_PATH) {
      return RedirectedFolder{};
    }
    std::wstring root(windows, length);
    if (!root.ends_with(L'\\')) root += L'\\';
    return RedirectedFolder{root + L"System32", root + L"Sysnative"};
  }();
  return folder;
}

// A cheap first look, in any letter case, before the path is made full.
bool MentionsSystem32(std::wstring_view path) noexcept {
  constexpr std::wstring_view kName = L"system32";
  auto same = [](wchar_t c, wchar_t lower) { return (c | 0x20) == lower; };
  return std::search(path.begin(), path.end(), kName.begin(), kName.end(), same) != path.end();
}

// Replaces a leading `from` folder of the full path `full` (in any letter
// case, with or without the \\?\ prefix) by `to`.
void ReplaceFolder(std::wstring& full, const std::wstring& from, const std::wstring& to) {
  const std::size_t start = full.starts_with(L"\\\\?\\") ? 4 : 0;
  const std::wstring_view rest = std::wstring_view(full).substr(start);
  if (rest.size() < from.size() || (rest.size() > from.size() && rest[from.size()] != L'\\')) return;
  if (::CompareStringOrdinal(rest.data(), static_cast<int>(from.size()), from.data(), static_cast<int>(from.size()),
                             TRUE) == CSTR_EQUAL) {
    full.replace(start, from.size(), to);
  }
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return {};
  full.resize(written);
  return full;
}

}  // namespace

const wchar_t* OpenablePath(const std::wstring& path, std::wstring& long_form) {
  const RedirectedFolder& redirected = Wow64System32();
  const bool in_system32 = !redirected.system32.empty() && MentionsSystem32(path);
  if (!in_system32 && path.size() < MAX_PATH - 12) return path.c_str();
  if (path.size() > kLongestPath) {
    ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  if (!in_system32 && path.starts_with(L"\\\\?\\")) return path.c_str();
  // The \\?\ form skips all normalisation, so the path is made absolute first.
  std::wstring full = path.starts_with(L"\\\\?\\") ? path : FullPath(path);
  if (full.empty()) return nullptr;
  if (in_system32) ReplaceFolder(full, redirected.system32, redirected.sysnative);
  if (full.size() < MAX_PATH - 12 || full.starts_with(L"\\\\?\\")) {
    long_form = std::move(full);
  } else {
    long_form = full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
  }
  if (long_form.size() > kLongestPath) {
    ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  return long_form.c_str();
}

}  // namespace kavren
