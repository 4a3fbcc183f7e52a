// module1.h: the byte-order-mark detector, the program's one piece of real analysis.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/encoding_code.h"

namespace kavren {

// Names the mark that a file's first bytes carry. `head` holds what was read,
// which may be fewer than three bytes, or a whole page.
[[nodiscard]] EncodingCode ClassifyHead(std::span<const std::uint8_t> head) noexcept;

// Examines the file at `name` (a full path, or a name relative to the
// current directory). Only its first kHeadBytes are read, in one read call;
// nothing is cached.
// A std::wstring, because the platform wants the name NUL-terminated.
[[nodiscard]] EncodingCode GetFileEncoding(const std::wstring& name);
// The same, and for an unreadable file also why; for a file without a mark
// also, where `content` is given, what its first bytes hold.
[[nodiscard]] EncodingCode GetFileEncoding(const std::wstring& name, ReadFailure& failure,
                                           ContentVerdict* content = nullptr);

}  // namespace kavren
