// drop_walk_win32.cpp: the walk of dropped folders.
#include "window/drop_walk_win32.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

#include "common/handles_win32.h"
#include "common/long_path_win32.h"

namespace kavren::win32 {
namespace {

bool IsTxt(std::wstring_view name) noexcept {
  if (name.size() <= 4) return false;
  const wchar_t* end = name.data() + name.size() - 4;
  return end[0] == L'.' && (end[1] | 0x20) == L't' && (end[2] | 0x20) == L'x' && (end[3] | 0x20) == L't';
}

std::wstring Joined(const std::wstring& folder, const wchar_t* name) {
  std::wstring path = folder;
  if (!path.ends_with(L'\\') && !path.ends_with(L'/')) path += L'\\';
  return path += name;
}

// Where StrCmpLogicalW may start on two names that begin alike: after the
// last shared character that is a CJK ideograph, a space or ASCII
// punctuation. No language's sort order joins such a character with the
// next, and it does not end a number, so the shared part decides nothing.
std::size_t SharedStart(const std::wstring& a, const std::wstring& b) noexcept {
  std::size_t start = 0;
  for (std::size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i) {
    const wchar_t c = a[i];
    const bool punctuation =
        c < 0x80 && c >= L' ' && !(c >= L'0' && c <= L'9') && !((c | 0x20) >= L'a' && (c | 0x20) <= L'z');
    if (punctuation || (c >= 0x4E00 && c <= 0x9FFF)) start = i + 1;
  }
  return start;
}

// Explorer's order: "第2章" before "第10章", letters without case. Under Wine
// StrCmpLogicalW asks the locale about every character it passes, and
// sorting a folder calls it many times per name, so the shared start of
// chapter names ("第1", "某某小说 第") is skipped first. On Windows the skip
// changes no order and saves little.
void SortNaturally(std::vector<std::wstring>& names) {
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    const std::size_t start = SharedStart(a, b);
    return ::StrCmpLogicalW(a.c_str() + start, b.c_str() + start) < 0;
  });
}

}  // namespace

// dwReserved0 holds a reparse point's tag, which Windows always fills in.
// Wine leaves it 0, which no reparse point has, for a Unix symbolic link: a
// tag not known is taken for a link.
bool PassedOver(const WIN32_FIND_DATAW& entry) noexcept {
  if (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return true;
  const DWORD tag = entry.dwReserved0;
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && (tag == 0 || IsReparseTagNameSurrogate(tag));
}

void WalkFolder(const std::wstring& top, const DropSink& sink) {
  // An explicit stack rather than recursion: a tree may be thousands of
  // folders deep within 32,767 characters.
  std::vector<std::wstring> pending = {top};
  std::vector<std::wstring> files, folders;
  std::wstring long_form;
  while (!pending.empty() && !sink.stop.stop_requested()) {
    const std::wstring folder = std::move(pending.back());
    pending.pop_back();
    const std::wstring pattern = Joined(folder, L"*");
    const wchar_t* openable = OpenablePath(pattern, long_form);
    WIN32_FIND_DATAW entry;
    unique_find find(openable ? ::FindFirstFileExW(openable, FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                                   FIND_FIRST_EX_LARGE_FETCH)
                              : INVALID_HANDLE_VALUE);
    if (!find) continue;
    files.clear();
    folders.clear();
    do {
      if (sink.stop.stop_requested()) return;
      const std::wstring_view name = entry.cFileName;
      if (PassedOver(entry) || name == L"." || name == L"..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        folders.emplace_back(name);
      } else if (IsTxt(name)) {
        files.emplace_back(name);
      }
    } while (::FindNextFileW(find.get(), &entry));
    SortNaturally(files);
    SortNaturally(folders);
    for (std::wstring& name : files) {
      std::wstring path = Joined(folder, name.c_str());
      sink.found({std::move(name), std::move(path)});
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) pending.push_back(Joined(folder, it->c_str()));
  }
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
  std::vector<std::wstring> paths(::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
  for (UINT i = 0; i < paths.size(); ++i) {
    paths[i].resize(::DragQueryFileW(drop, i, nullptr, 0));
    if (::DragQueryFileW(drop, i, paths[i].data(), static_cast<UINT>(paths[i].size() + 1)) == 0) paths[i].clear();
  }
  return paths;
}

void WalkPaths(const std::vector<std::wstring>& paths, const DropSink& sink) {
  for (const std::wstring& path : paths) {
    if (sink.stop.stop_requested()) return;
    if (path.empty()) continue;
    if (KindOfPath(path) == PathKind::kFolder) {
      WalkFolder(path, sink);
    } else {
      sink.found({path.substr(path.find_last_of(L"\\/") + 1), path});
    }
  }
}

BackgroundWalk::BackgroundWalk(std::vector<std::wstring> paths, Walker walk, std::function<void()> over)
    : BackgroundWork(
          [paths = std::move(paths), walker = walk ? std::move(walk) : Walker(WalkPaths)](std::stop_token stop,
                                                                                          Outbox& outbox) {
            walker(paths, {[&outbox](ChosenFile file) {
                             outbox.Put([&](std::vector<ChosenFile>& found) { found.push_back(std::move(file)); });
                           },
                           std::move(stop)});
            return false;
          },
          std::move(over), AtStop::kLeave) {}

}  // namespace kavren::win32
