// temp_dir.h: a scratch folder for tests, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kavren::testing {

// libstdc++ converts wide paths through the "C" locale's codecvt, which
// knows only ASCII; char32_t paths go through UTF-8 whatever the locale.
// On Linux wchar_t holds UTF-32, so that is the lossless way across.
inline std::filesystem::path PathOf(std::wstring_view wide) {
#ifdef _WIN32
  return std::filesystem::path(wide);
#else
  return std::filesystem::path(std::u32string(wide.begin(), wide.end()));
#endif
}

inline std::wstring WideOf(const std::filesystem::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  const std::u32string utf32 = path.u32string();
  return std::wstring(utf32.begin(), utf32.end());
#endif
}

class TempDir {
 public:
  TempDir() {
    std::random_device entropy;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("kavren-test-" + std::to_string(entropy()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
#ifdef _WIN32
    // The long-path tests leave names past MAX_PATH, which std::filesystem
    // cannot remove there; the \\?\ form of the path can.
    RemoveTree(L"\\\\?\\" + path_.wstring());
#endif
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  // The full path of `name` inside the folder, whether or not it exists.
  [[nodiscard]] std::wstring Wide(std::wstring_view name) const { return WideOf(path_ / PathOf(name)); }

  // Writes `bytes` to `name` (folders created as needed) and returns the
  // file's full path as the core takes it.
  std::wstring Write(std::wstring_view name, const std::vector<unsigned char>& bytes) const {
    const auto full = path_ / PathOf(name);
    std::filesystem::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return WideOf(full);
  }

 private:
#ifdef _WIN32
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring child = folder + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(child);
        } else {
          ::DeleteFileW(child.c_str());
        }
      } while (::FindNextFileW(find, &entry));
      ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
  }
#endif

  std::filesystem::path path_;
};

// Restores the current directory when it goes out of scope.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(std::filesystem::current_path()) {}
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;
  ~CurrentDirectoryGuard() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

}  // namespace kavren::testing
