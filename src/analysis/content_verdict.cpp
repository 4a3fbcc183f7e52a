// content_verdict.cpp: strict UTF-8 over one page, fast over the ASCII that most text files are full of.
#include "analysis/content_verdict.h"

#include <cstring>

namespace kavren {
namespace {

// The length of the character a lead byte starts, and the range its second
// byte must lie in: the narrow ranges after E0, ED, F0 and F4 are what rule
// out overlong forms, surrogates and code points past U+10FFFF. 0 for a
// byte that starts no character (a stray continuation, C0, C1, F5-FF).
struct Lead {
  std::size_t length;
  std::uint8_t low;
  std::uint8_t high;
};

constexpr Lead LeadOf(std::uint8_t byte) noexcept {
  if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
  if (byte == 0xE0) return {3, 0xA0, 0xBF};
  if (byte == 0xED) return {3, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
  if (byte == 0xF0) return {4, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
  if (byte == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// Where the ASCII run from `at` ends: eight bytes at a time, since a page
// of English or of markup is mostly that.
std::size_t AsciiRunEnd(std::span<const std::uint8_t> head, std::size_t at) noexcept {
  constexpr std::uint64_t kHighBits = 0x8080'8080'8080'8080;
  for (std::uint64_t word; at + sizeof word <= head.size(); at += sizeof word) {
    std::memcpy(&word, head.data() + at, sizeof word);
    if (word & kHighBits) break;
  }
  while (at < head.size() && head[at] < 0x80) ++at;
  return at;
}

}  // namespace

ContentVerdict JudgeContent(std::span<const std::uint8_t> head, bool head_only) noexcept {
  if (head.empty()) return {};
  if (std::memchr(head.data(), 0, head.size())) return {ContentKind::kNulBytes, head_only};
  const ContentVerdict not_utf8{ContentKind::kNotUtf8, head_only};
  bool multibyte = false;
  for (std::size_t at = AsciiRunEnd(head, 0); at < head.size(); at = AsciiRunEnd(head, at)) {
    const Lead lead = LeadOf(head[at]);
    if (lead.length == 0) return not_utf8;
    for (std::size_t k = 1; k < lead.length; ++k) {
      // A character cut where the read stopped says nothing against the
      // file; where the file itself ends, it is broken.
      if (at + k == head.size())
        return head_only ? ContentVerdict{multibyte ? ContentKind::kUtf8 : ContentKind::kOnlyAscii, true} : not_utf8;
      const std::uint8_t byte = head[at + k];
      const std::uint8_t low = k == 1 ? lead.low : std::uint8_t{0x80};
      const std::uint8_t high = k == 1 ? lead.high : std::uint8_t{0xBF};
      if (byte < low || byte > high) return not_utf8;
    }
    multibyte = true;
    at += lead.length;
  }
  return {multibyte ? ContentKind::kUtf8 : ContentKind::kOnlyAscii, head_only};
}

}  // namespace kavren
