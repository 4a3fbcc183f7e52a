// content_verdict.h: what the first bytes of a file without a mark hold -- UTF-8, only ASCII, or neither.
#pragma once

#include <cstdint>
#include <span>

#include "common/encoding_code.h"

namespace kavren {

// Judges `head`, the first bytes of a file without a mark, by strict UTF-8
// (RFC 3629: no overlong forms, no surrogates, nothing past U+10FFFF).
// `head_only` says that the file may hold more than `head`: a character cut
// at the end of it is then no fault of the file, and the verdict says it
// rests on the head. Any NUL byte decides kNulBytes before UTF-8 is asked.
[[nodiscard]] ContentVerdict JudgeContent(std::span<const std::uint8_t> head, bool head_only) noexcept;

}  // namespace kavren
