// content_verdict.cpp: strict UTF-8 over one page, fast over the ASCII that most text files are full of.
#include "analysis/content_verdict.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace kavren {
namespace {

// The length of the character a lead byte starts, and the range its second
// byte must lie in: the narrow ranges after E0, ED, F0 and F4 are what rule
// out overlong forms, surrogates and code points past U+10FFFF. 0 for a
// byte that starts no character (a stray continuation, C0, C1, F5-FF).
struct Lead {
  std::uint8_t length;
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

// Looked up rather than worked out: a page of Chinese is some 1,300
// characters, each of which starts with a lead byte.
constexpr std::array<Lead, 256> kLeads = [] {
  std::array<Lead, 256> leads{};
  for (int byte = 0; byte < 256; ++byte)
    leads[static_cast<std::size_t>(byte)] = LeadOf(static_cast<std::uint8_t>(byte));
  return leads;
}();

constexpr bool IsContinuation(std::uint8_t byte) noexcept { return (byte & 0xC0) == 0x80; }

// A lead of three bytes that allows every continuation byte after it: not
// E0 (overlong below A0) nor ED (surrogates from A0).
constexpr bool PlainLead(std::uint8_t lead) noexcept { return (lead & 0xF0) == 0xE0 && lead != 0xE0 && lead != 0xED; }

constexpr bool PlainThreeByte(std::uint8_t lead, std::uint8_t second, std::uint8_t third) noexcept {
  return PlainLead(lead) && IsContinuation(second) && IsContinuation(third);
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

// Where the run of plain three-byte characters from `at` ends: two at a
// time out of one eight-byte word where the page has room, since one
// comparison under a mask tells both leads and all four continuations.
std::size_t PlainThreeByteRunEnd(std::span<const std::uint8_t> head, std::size_t at) noexcept {
  // The first six bytes in memory order: lead, continuation, continuation, twice.
  constexpr bool kLittle = std::endian::native == std::endian::little;
  constexpr std::uint64_t kMask = kLittle ? 0xC0C0'F0C0'C0F0 : 0xF0C0'C0F0'C0C0'0000;
  constexpr std::uint64_t kPattern = kLittle ? 0x8080'E080'80E0 : 0xE080'80E0'8080'0000;
  for (std::uint64_t word; at + sizeof word <= head.size(); at += 6) {
    std::memcpy(&word, head.data() + at, sizeof word);
    if ((word & kMask) != kPattern || !PlainLead(head[at]) || !PlainLead(head[at + 3])) break;
  }
  while (at + 3 <= head.size() && PlainThreeByte(head[at], head[at + 1], head[at + 2])) at += 3;
  return at;
}

}  // namespace

ContentVerdict JudgeContent(std::span<const std::uint8_t> head, bool head_only) noexcept {
  if (head.empty()) return {};
  if (std::memchr(head.data(), 0, head.size())) return {ContentKind::kNulBytes, head_only};
  const ContentVerdict not_utf8{ContentKind::kNotUtf8, head_only};
  bool multibyte = false;
  for (std::size_t at = 0; at < head.size();) {
    if (head[at] < 0x80) {
      at = AsciiRunEnd(head, at);
      continue;
    }
    // Chinese, Japanese and Korean text is almost all plain three-byte
    // characters (E1-EC, EE, EF): taken a run at a time.
    const std::size_t run = at;
    at = PlainThreeByteRunEnd(head, at);
    if (at != run) {
      multibyte = true;
      continue;
    }
    const Lead lead = kLeads[head[at]];
    if (lead.length == 0) return not_utf8;
    const std::size_t got = std::min<std::size_t>(lead.length, head.size() - at);
    // One comparison for the range: below `low` wraps round past `high`.
    if (got > 1 && static_cast<std::uint8_t>(head[at + 1] - lead.low) > lead.high - lead.low) return not_utf8;
    if (got > 2 && !IsContinuation(head[at + 2])) return not_utf8;
    if (got > 3 && !IsContinuation(head[at + 3])) return not_utf8;
    // A character cut where the read stopped says nothing against the file,
    // and its start is no ASCII; where the file itself ends, it is broken.
    if (got < lead.length && !head_only) return not_utf8;
    multibyte = true;
    at += lead.length;
  }
  return {multibyte ? ContentKind::kUtf8 : ContentKind::kOnlyAscii, head_only};
}

}  // namespace kavren
