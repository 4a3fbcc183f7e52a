// encoding_code.h: what the detector reports about the start of one file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kavren {

// The numeric values are fixed: 0-3 are the byte-order marks the tool knows,
// and kUnreadable keeps a file that was never read from passing as "no mark".
// kOnlineOnly is a file that could be read, but whose data is not on this
// computer: reading its first byte would download all of it.
enum class EncodingCode : std::int32_t {
  kNoMark = 0,
  kUtf16LittleEndian = 1,
  kUtf16BigEndian = 2,
  kUtf8 = 3,
  kUnreadable = 4,
  kOnlineOnly = 5,
};

// Why a file was not read, as the user can act on it: it is gone, it is not
// theirs to read, another program holds it, it is no file at all, its path
// is longer than the system opens, or something else, which only the
// system's own message can name. kEmpty is no failure: the file was read and
// has no bytes at all, which has no mark, and is noted all the same (a
// failed download or save leaves such files). Nor is kOnlineOnly: the file
// was left unread on purpose, since its data is elsewhere.
enum class FailureKind : std::uint8_t {
  kNone,
  kNotFound,
  kAccessDenied,
  kInUse,
  kNotPlainFile,
  kPathTooLong,
  kOther,
  kEmpty,
  kOnlineOnly,
};

// What the first bytes of a file without a mark hold, for the files whose
// label alone cannot say whether they need converting: the same bytes read
// as GBK and as UTF-8 mean the same only when they are ASCII. kNulBytes is
// UTF-16 or UTF-32 without a mark, or no text at all. kNone for every file
// with a mark, an empty one, and one that was not read.
enum class ContentKind : std::uint8_t {
  kNone,
  kOnlyAscii,
  kUtf8,
  kNotUtf8,
  kNulBytes,
};

struct ContentVerdict {
  ContentKind kind = ContentKind::kNone;
  bool head_only = false;  // drawn from the first kHeadBytes of a file that may hold more
  bool operator==(const ContentVerdict&) const = default;
};

// How much of each file is read: one page, in the one read that finds the mark.
inline constexpr std::size_t kHeadBytes = 4096;

struct ReadFailure {
  FailureKind kind = FailureKind::kNone;
  std::uint32_t system_error = 0;  // GetLastError() or errno, as it came
};

}  // namespace kavren
