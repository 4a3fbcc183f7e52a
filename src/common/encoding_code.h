// encoding_code.h: what the detector reports about the start of one file.
#pragma once

#include <cstdint>

namespace kavren {

// The numeric values are fixed: 0-3 are the byte-order marks the tool knows,
// and Unreadable keeps a file that was never read from passing as "no mark".
enum class EncodingCode : std::int32_t {
  NoMark = 0,
  Utf16LittleEndian = 1,
  Utf16BigEndian = 2,
  Utf8 = 3,
  Unreadable = 4,
};

}  // namespace kavren
