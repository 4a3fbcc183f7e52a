// file_head_win32.cpp: the file seam on Windows.
#include "analysis/file_head.h"

#include <windows.h>

#include <string>

#include "common/unique_any.h"

namespace kavren {
namespace {

struct FileHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using unique_file = unique_any<HANDLE, FileHandleTraits>;

// CreateFileW stops at MAX_PATH unless the path is in the \\?\ form (the
// manifest's longPathAware only helps where the system opted in too). The
// \\?\ form skips all normalisation, so the path is made absolute first.
// Empty when the path cannot be made absolute.
std::wstring LongPathForm(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return {};
  full.resize(written);
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace

std::optional<std::size_t> ReadFileHead(const std::wstring& path, std::span<std::uint8_t> buffer) {
  // A NUL inside the name would make the system open a shorter name.
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return std::nullopt;
  std::wstring long_form;
  if (path.size() >= MAX_PATH && !path.starts_with(L"\\\\?\\")) {
    long_form = LongPathForm(path);
    if (long_form.empty()) return std::nullopt;
  }
  const wchar_t* openable = long_form.empty() ? path.c_str() : long_form.c_str();

  // Share everything, so that a file another program holds open for writing
  // (an editor, a log writer) is still examined.
  unique_file file(::CreateFileW(openable, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;

  // Consoles, pipes and character devices open fine but a read may never
  // return; only plain disk files are read.
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;

  DWORD got = 0;
  if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(got);
}

}  // namespace kavren
