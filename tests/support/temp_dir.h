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
  if constexpr (sizeof(wchar_t) == 2) return wide;
  return std::u32string(wide.begin(), wide.end());
}

class TempDir {
 public:
  explicit TempDir(const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
    for (std::random_device entropy; !std::filesystem::create_directory(path_);) {
      path_ = parent / ("kavren-test-" + std::to_string(entropy()));
    }
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    // Names past MAX_PATH go only in the \\?\ form there.
    std::filesystem::remove_all(sizeof(wchar_t) == 2 ? PathOf(L"\\\\?\\" + path_.wstring()) : path_, ignored);
  }

  // The full path of `name` inside the folder, whether or not it exists.
  [[nodiscard]] std::wstring Wide(std::wstring_view name) const {
    const std::u32string full = (path_ / PathOf(name)).u32string();
    if constexpr (sizeof(wchar_t) == 2) return (path_ / PathOf(name)).wstring();
    return {full.begin(), full.end()};
  }
  // Writes `bytes` to `name` (folders created as needed); returns its full path.
  std::wstring Write(std::wstring_view name, const std::vector<unsigned char>& bytes) const {
    std::filesystem::create_directories((path_ / PathOf(name)).parent_path());
    std::ofstream(path_ / PathOf(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return Wide(name);
  }

 private:
  std::filesystem::path path_ = ".";
};

}  // namespace kavren::testing
