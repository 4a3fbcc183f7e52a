// device_names.cpp: the reserved DOS device names and device-namespace prefixes.
#include "analysis/device_names.h"

#include <array>

namespace kavren {
namespace {

constexpr wchar_t ToUpper(wchar_t c) noexcept {
  return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpper(a[i]) != ToUpper(b[i])) return false;
  }
  return true;
}

bool IsDriveRootedPath(std::wstring_view rest) noexcept {
  return rest.size() >= 2 && rest[1] == L':' &&
         ((rest[0] >= L'A' && rest[0] <= L'Z') || (rest[0] >= L'a' && rest[0] <= L'z'));
}

// \\.\ is the device namespace (pipes, volumes, COM ports). \\?\ is also the
// long-path form of ordinary files, which stay allowed: \\?\C:\... and
// \\?\UNC\server\share\...
bool InDeviceNamespace(std::wstring_view path) noexcept {
  auto is_sep = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  if (path.size() < 4 || !is_sep(path[0]) || !is_sep(path[1]) || !is_sep(path[3])) return false;
  if (path[2] == L'.') return true;
  if (path[2] != L'?') return false;
  const std::wstring_view rest = path.substr(4);
  if (IsDriveRootedPath(rest)) return false;
  return !(rest.size() >= 4 && EqualsIgnoringCase(rest.substr(0, 3), L"UNC") && is_sep(rest[3]));
}

// \\server\pipe\name, also as \\?\UNC\server\pipe\name: a pipe on another
// machine, whose server learns who opened it.
bool NamesRemotePipe(std::wstring_view path) noexcept {
  auto is_sep = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  if (path.size() < 3 || !is_sep(path[0]) || !is_sep(path[1])) return false;
  std::wstring_view rest = path.substr(2);
  if (rest.size() >= 6 && rest[0] == L'?' && is_sep(rest[1]) && EqualsIgnoringCase(rest.substr(2, 3), L"UNC") &&
      is_sep(rest[5])) {
    rest.remove_prefix(6);
  }
  std::size_t server_end = 0;
  while (server_end < rest.size() && !is_sep(rest[server_end])) ++server_end;
  if (server_end == 0 || server_end + 5 > rest.size()) return false;
  const std::wstring_view share = rest.substr(server_end + 1, 4);
  return EqualsIgnoringCase(share, L"pipe") && (server_end + 5 == rest.size() || is_sep(rest[server_end + 5]));
}

}  // namespace

bool NamesDevice(std::wstring_view path) noexcept {
  if (InDeviceNamespace(path) || NamesRemotePipe(path)) return true;

  std::size_t start = path.size();
  while (start > 0 && path[start - 1] != L'\\' && path[start - 1] != L'/') --start;
  std::wstring_view stem = path.substr(start);
  // Every reserved name starts with one of these; most file names do not,
  // and a pass asks this of every file.
  if (stem.empty()) return false;
  switch (ToUpper(stem[0])) {
    case L'A':
    case L'C':
    case L'L':
    case L'N':
    case L'P':
      break;
    default:
      return false;
  }
  // Windows still maps "CON.txt", "nul .log" and "COM1:" to the device: only
  // what comes before the first dot or colon counts, without trailing spaces.
  std::size_t end = 0;
  while (end < stem.size() && stem[end] != L'.' && stem[end] != L':') ++end;
  stem = stem.substr(0, end);
  while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);

  static constexpr std::array<std::wstring_view, 6> kPlain = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (std::wstring_view name : kPlain) {
    if (EqualsIgnoringCase(stem, name)) return true;
  }
  if (stem.size() == 4 &&
      (EqualsIgnoringCase(stem.substr(0, 3), L"COM") || EqualsIgnoringCase(stem.substr(0, 3), L"LPT"))) {
    const wchar_t digit = stem[3];
    // The superscript digits are ports as well.
    return (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
  }
  return false;
}

}  // namespace kavren
