// file_access_posix.cpp: the file seam on POSIX systems, so that the core also builds and runs off Windows.
#include "analysis/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <string>

#include "common/handles_posix.h"

namespace kavren {
namespace {

// The core's text is wide; POSIX file names are bytes, taken here as UTF-8.
// This is the one place the two meet. `out` is reused from file to file and
// only ever grows, so that a pass over many files neither allocates nor
// clears it; the name ends at the NUL written after it. False when the name
// is empty or holds a NUL, which no file name can.
bool Utf8FromWide(std::wstring_view text, std::string& out) {
  if (text.empty()) return false;
  if (out.size() <= text.size() * 4) out.resize(text.size() * 4 + 1);
  char* next = out.data();
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto cp = static_cast<char32_t>(text[i]);
    if (cp == 0) return false;
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
        const auto low = static_cast<char32_t>(text[i + 1]);
        if (low >= 0xDC00 && low < 0xE000) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (cp < 0x80) {
      *next++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
      *next++ = static_cast<char>(0xC0 | (cp >> 6));
      *next++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *next++ = static_cast<char>(0xE0 | (cp >> 12));
      *next++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *next++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *next++ = static_cast<char>(0xF0 | (cp >> 18));
      *next++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *next++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *next++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  *next = '\0';
  return true;
}

std::nullopt_t Failed(ReadFailure& failure, int error) noexcept {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      failure.kind = FailureKind::kNotFound;
      break;
    case EACCES:
    case EPERM:
      failure.kind = FailureKind::kAccessDenied;
      break;
    case EBUSY:
    case ETXTBSY:
      failure.kind = FailureKind::kInUse;
      break;
    case ENAMETOOLONG:
      failure.kind = FailureKind::kPathTooLong;
      break;
    case ENXIO:
    case ENODEV:
    case EISDIR:
      failure.kind = FailureKind::kNotPlainFile;
      break;
    default:
      failure.kind = FailureKind::kOther;
  }
  failure.system_error = static_cast<std::uint32_t>(error);
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> ReadFileHead(const std::wstring& path, std::span<std::uint8_t> buffer,
                                        ReadFailure& failure) {
  thread_local std::string native;
  if (!Utf8FromWide(path, native)) return Failed(failure, EINVAL);

  // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it changes
  // nothing for regular files.
  unique_fd fd(::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd) return Failed(failure, errno);

  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Failed(failure, errno);
  if (!S_ISREG(info.st_mode)) return Failed(failure, ENODEV);

  ssize_t got;
  do {
    got = ::read(fd.get(), buffer.data(), buffer.size());
  } while (got < 0 && errno == EINTR);
  if (got < 0) return Failed(failure, errno);
  return static_cast<std::size_t>(got);
}

// No attributes to ask for: there is nothing to stand in for.
void SetAttributeQuery(AttributeQuery) noexcept {}

bool OpensOverlap() noexcept { return true; }

}  // namespace kavren
