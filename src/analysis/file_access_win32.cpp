// file_access_win32.cpp: the file seam on Windows.
#include "analysis/file_access.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "common/exported_function_win32.h"
#include "common/handles_win32.h"
#include "common/long_path_win32.h"

namespace kavren {
namespace {

using win32::unique_file;

std::atomic<AttributeQuery> attribute_query = nullptr;

// One query of the open handle, where a listing before the open would cost a
// round trip of its own. Storage that lacks the tag class (an old NAS, a
// file system of a third party) answers the older query, which every file
// system has.
std::optional<std::uint32_t> AttributesOf(HANDLE file, std::uint32_t& error) {
  FILE_ATTRIBUTE_TAG_INFO tagged{};
  if (::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tagged, sizeof tagged)) return tagged.FileAttributes;
  BY_HANDLE_FILE_INFORMATION plain{};
  if (::GetFileInformationByHandle(file, &plain)) return plain.dwFileAttributes;
  error = ::GetLastError();
  return std::nullopt;
}

std::nullopt_t Failed(ReadFailure& failure, DWORD error, const wchar_t* openable) noexcept {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      failure.kind = FailureKind::kNotFound;
      break;
    case ERROR_ACCESS_DENIED: {
      // A folder opened as a file answers "access denied" too.
      const DWORD attributes = openable ? ::GetFileAttributesW(openable) : INVALID_FILE_ATTRIBUTES;
      const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
      failure.kind = folder ? FailureKind::kNotPlainFile : FailureKind::kAccessDenied;
      break;
    }
    case ERROR_FILENAME_EXCED_RANGE:
      failure.kind = FailureKind::kPathTooLong;
      break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      failure.kind = FailureKind::kInUse;
      break;
    default:
      failure.kind = FailureKind::kOther;
  }
  failure.system_error = error;
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> ReadFileHead(const std::wstring& path, std::span<std::uint8_t> buffer,
                                        ReadFailure& failure) {
  // A NUL inside the name would make the system open a shorter name.
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return Failed(failure, ERROR_INVALID_NAME, nullptr);
  std::wstring long_form;
  const wchar_t* openable = OpenablePath(path, long_form);
  if (!openable) return Failed(failure, ::GetLastError(), nullptr);

  // Share everything, so that a file another program holds open for writing
  // (an editor, a log writer) is still examined. A path can name a pipe on
  // another machine; identification level keeps its server from acting as
  // the user. Storage that recalls a file on open is told not to.
  unique_file file(::CreateFileW(
      openable, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_NO_RECALL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
  if (!file) return Failed(failure, ::GetLastError(), openable);

  // Consoles, pipes and character devices open fine but a read may never
  // return; only plain disk files are read.
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
    failure.kind = FailureKind::kNotPlainFile;
    return std::nullopt;
  }

  // The open fetched nothing; a read would. A file whose attributes cannot
  // be had may be a placeholder like any other: it is not read.
  std::uint32_t error = 0;
  const AttributeQuery stand_in = attribute_query.load();
  const std::optional<std::uint32_t> attributes = stand_in ? stand_in(path, error) : AttributesOf(file.get(), error);
  if (!attributes) return Failed(failure, error, nullptr);
  if (!DataIsOnThisComputer(*attributes)) {
    failure.kind = FailureKind::kOnlineOnly;
    return std::nullopt;
  }

  DWORD got = 0;
  if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
    return Failed(failure, ::GetLastError(), openable);
  }
  return static_cast<std::size_t>(got);
}

void SetAttributeQuery(AttributeQuery query) noexcept { attribute_query.store(query); }

// Wine's ntdll names itself by this export, which no Windows has.
bool OpensOverlap() noexcept {
  return !win32::ExportedFunction<const char*(CDECL*)()>(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
}

}  // namespace kavren
