// temp_dir.h: a scratch folder for tests, removed with everything in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kavren::testing {

// libstdc++ turns wide paths into bytes through the "C" locale, which knows
// only ASCII; char32_t paths go through UTF-8, and on Linux wchar_t is UTF-32.
inline std::filesystem::path PathOf(std::wstring_view wide) {
#ifdef _WIN32
  return wide;
#else
  return std::u32string(wide.begin(), wide.end());
#endif
}

inline std::wstring WideOf(const std::filesystem::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  const std::u32string utf32 = path.u32string();
  return {utf32.begin(), utf32.end()};
#endif
}

class TempDir {
 public:
  TempDir() {
    std::random_device entropy;
    do {
      path_ = std::filesystem::temp_directory_path() / ("kavren-test-" + std::to_string(entropy()));
    } while (!std::filesystem::create_directory(path_));
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
#ifdef _WIN32
    // Names past MAX_PATH go only in the \\?\ form.
    std::filesystem::remove_all(L"\\\\?\\" + path_.wstring(), ignored);
#endif
    std::filesystem::remove_all(path_, ignored);
  }

  // The full path of `name` inside the folder, whether or not it exists.
  [[nodiscard]] std::wstring Wide(std::wstring_view name) const { return WideOf(path_ / PathOf(name)); }

  // Writes `bytes` to `name` (folders created as needed); returns its full path.
  std::wstring Write(std::wstring_view name, const std::vector<unsigned char>& bytes) const {
    const auto full = path_ / PathOf(name);
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return WideOf(full);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace kavren::testing
