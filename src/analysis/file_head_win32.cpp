// file_head_win32.cpp: the file seam on Windows.
#include "analysis/file_head.h"

#include <windows.h>

#include <string>

#include "common/long_path_win32.h"
#include "common/unique_any.h"

namespace kavren {
namespace {

struct FileHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
using unique_file = unique_any<HANDLE, FileHandleTraits>;

}  // namespace

std::optional<std::size_t> ReadFileHead(const std::wstring& path, std::span<std::uint8_t> buffer) {
  // A NUL inside the name would make the system open a shorter name.
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return std::nullopt;
  std::wstring long_form;
  const wchar_t* openable = OpenablePath(path, long_form);
  if (!openable) return std::nullopt;

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
