// listed_paths.cpp: paths compared as Windows compares them, and the index of a list's paths.
#include "common/listed_paths.h"

#include <functional>

namespace kavren {
namespace {

// The file system's upper case, for the letters it is known for here.
wchar_t Folded(wchar_t c) noexcept {
  const auto in = [c](wchar_t first, wchar_t last) { return c >= first && c <= last; };
  if (c == L'/') return L'\\';
  if (in(L'a', L'z') || (in(0xE0, 0xFE) && c != 0xF7) || in(0x3B1, 0x3C1) || in(0x3C3, 0x3CB) || in(0x430, 0x44F) ||
      in(0xFF41, 0xFF5A)) {
    return static_cast<wchar_t>(c - 0x20);
  }
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;  // the final sigma
  if (in(0x450, 0x45F)) return static_cast<wchar_t>(c - 0x50);
  // Latin Extended-A pairs each capital with the small letter after it, in
  // runs that start on an even or an odd code; the dotless i is left alone.
  const bool odd_capitals = in(0x139, 0x148) || in(0x179, 0x17E);
  const bool even_capitals = in(0x100, 0x12F) || in(0x132, 0x137) || in(0x14A, 0x177);
  if ((odd_capitals && c % 2 == 0) || (even_capitals && c % 2 == 1)) return static_cast<wchar_t>(c - 1);
  return c;
}

bool StartsFolded(std::wstring_view path, std::wstring_view prefix) noexcept {
  if (path.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Folded(path[i]) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

std::wstring PathKey(std::wstring_view path) {
  std::wstring key;
  key.reserve(path.size());
  // \\?\ only asks Windows to take the rest as it stands; the file is the same.
  if (StartsFolded(path, L"\\\\?\\UNC\\")) {
    key = L"\\\\";
    path.remove_prefix(8);
  } else if (StartsFolded(path, L"\\\\?\\")) {
    path.remove_prefix(4);
  }
  for (const wchar_t c : path) {
    const wchar_t folded = Folded(c);
    // Separators in a row are one, except the two that begin a share's path.
    if (folded == L'\\' && key.size() >= 2 && key.back() == L'\\') continue;
    key += folded;
  }
  // "C:\books\" is "C:\books"; "C:\" stays the root it is.
  while (key.size() > 1 && key.back() == L'\\' && key[key.size() - 2] != L':') key.pop_back();
  return key;
}

bool ListedPaths::Add(const RowList& list, std::wstring_view path) {
  const std::wstring key = PathKey(path);
  const std::size_t hash = std::hash<std::wstring>{}(key);
  const auto [first, last] = rows_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    const std::wstring* listed = list.GetPath(it->second);
    if (listed && PathKey(*listed) == key) return false;
  }
  rows_.emplace(hash, list.RowCount());
  return true;
}

}  // namespace kavren
