// content_verdict_test.cpp: which files without a mark hold UTF-8, which only ASCII, which neither.
#include <gtest/gtest.h>

#include "analysis/content_verdict.h"
#include "analysis/module1.h"
#include "support/temp_dir.h"

namespace kavren {
namespace {

using Bytes = std::vector<unsigned char>;
constexpr ContentVerdict kAscii{ContentKind::kOnlyAscii, false};
constexpr ContentVerdict kUtf8{ContentKind::kUtf8, false};
constexpr ContentVerdict kNotUtf8{ContentKind::kNotUtf8, false};
constexpr ContentVerdict kNul{ContentKind::kNulBytes, false};

Bytes operator+(Bytes front, const Bytes& back) {
  front.insert(front.end(), back.begin(), back.end());
  return front;
}

// Chinese text: a run of plain three-byte characters, which is read two at a time.
const Bytes kHan = {0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87, 0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87, 0xE4, 0xB8, 0xAD};

TEST(JudgeContent, TellsUtf8FromLocalCodePagesByStrictUtf8) {
  const std::tuple<const char*, Bytes, bool, ContentVerdict> cases[] = {
      {"a run of Chinese", kHan + kHan, false, kUtf8},
      {"a surrogate inside Chinese", kHan + Bytes{0xED, 0xA0, 0x80} + kHan, false, kNotUtf8},
      {"an overlong inside Chinese", kHan + Bytes{0xE0, 0x80, 0x80} + kHan, false, kNotUtf8},
      {"a Hangul syllable inside Chinese", kHan + Bytes{0xED, 0x95, 0x9C} + kHan, false, kUtf8},
      {"no continuation inside Chinese", kHan + Bytes{0xE4, 'a', 0xAD} + kHan, false, kNotUtf8},
      {"ASCII", {'a', 'b', '\r', '\n'}, false, kAscii},
      {"2-byte é", {'c', 'a', 'f', 0xC3, 0xA9}, false, kUtf8},
      {"3-byte 中", {0xE4, 0xB8, 0xAD, 'a'}, false, kUtf8},
      {"4-byte U+1F600", {0xF0, 0x9F, 0x98, 0x80}, false, kUtf8},
      {"U+10FFFF", {0xF4, 0x8F, 0xBF, 0xBF}, false, kUtf8},
      {"GBK 中文", {0xD6, 0xD0, 0xCE, 0xC4}, false, kNotUtf8},
      {"GB18030 four bytes", {0x81, 0x30, 0x89, 0x37}, false, kNotUtf8},
      {"Big5 中文", {0xA4, 0xA4, 0xA4, 0xE5}, false, kNotUtf8},
      {"Shift_JIS 日本", {0x93, 0xFA, 0x96, 0x7B}, false, kNotUtf8},
      {"Latin-1 café au", {'c', 'a', 'f', 0xE9, ' ', 'a', 'u'}, false, kNotUtf8},
      {"overlong /", {0xC0, 0xAF}, false, kNotUtf8},
      {"overlong 3-byte", {0xE0, 0x80, 0xAF}, false, kNotUtf8},
      {"overlong 4-byte", {0xF0, 0x80, 0x80, 0xAF}, false, kNotUtf8},
      {"surrogate", {0xED, 0xA0, 0x80}, false, kNotUtf8},
      {"past U+10FFFF", {0xF4, 0x90, 0x80, 0x80}, false, kNotUtf8},
      {"F5 lead", {0xF5, 0x80, 0x80, 0x80}, false, kNotUtf8},
      {"stray continuation", {'a', 0x80, 'b'}, false, kNotUtf8},
      {"third byte not a continuation", {0xE4, 0xB8, 'a'}, false, kNotUtf8},
      {"UTF-16 LE without a mark", {'a', 0, 'b', 0}, false, kNul},
      {"UTF-16 BE without a mark", {0, 'a', 0, 'b'}, false, kNul},
      // The file ends inside a character: broken; the read ends there: not the file's fault.
      {"cut by the file's end", {0xE4, 0xB8, 0xAD, 0xE4, 0xB8}, false, kNotUtf8},
      {"cut by the read", {0xE4, 0xB8, 0xAD, 0xE4, 0xB8}, true, {ContentKind::kUtf8, true}},
      {"ASCII then a cut lead", {'a', 0xF0, 0x9F}, true, {ContentKind::kUtf8, true}},
      {"a cut lead that no character starts with", {'a', 0xC1}, true, {ContentKind::kNotUtf8, true}},
      {"a cut F0 with a second byte it never has", {'a', 0xF0, 0x8F}, true, {ContentKind::kNotUtf8, true}},
      {"invalid past a long ASCII run", Bytes(37, 'x') + Bytes{0xFF} + Bytes(9, 'y'), false, kNotUtf8},
      {"GBK after a long ASCII run", Bytes(4000, 'x') + Bytes{0xD6, 0xD0}, false, kNotUtf8},
      {"NUL past a long ASCII run", Bytes(4000, 'x') + Bytes{0}, false, kNul},
  };
  for (const auto& [what, bytes, head_only, verdict] : cases) {
    EXPECT_EQ(JudgeContent(bytes, head_only), verdict) << what;
  }
}

// What the detector finds in files, through the one read of the program: the
// verdict rests on the first page, and says so when the file holds more.
TEST(GetFileEncoding, JudgesTheFirstPageOfAFileWithoutAMark) {
  const Bytes zhong = {0xE4, 0xB8, 0xAD};
  const Bytes gbk = {0xD6, 0xD0};
  const std::pair<Bytes, ContentVerdict> cases[] = {
      {Bytes(100, 'a') + zhong, kUtf8},
      {Bytes(4095, 'a') + zhong, {ContentKind::kUtf8, true}},
      {Bytes(5000, 'a') + gbk, {ContentKind::kOnlyAscii, true}},
      {Bytes(3000, 'a') + gbk + Bytes(3000, 'a'), {ContentKind::kNotUtf8, true}},
      {Bytes(4000, 'a'), kAscii},
      {Bytes{0xEF, 0xBB, 0xBF} + gbk, {}},
      {Bytes{0xFF, 0xFE, 'a', 0}, {}},
      {{}, {}},
  };
  kavren::testing::TempDir dir;
  for (const auto& [bytes, verdict] : cases) {
    ReadFailure failure;
    ContentVerdict content;
    (void)GetFileEncoding(dir.Write(L"f.txt", bytes), failure, &content);
    EXPECT_EQ(content, verdict) << bytes.size();
  }
}

}  // namespace
}  // namespace kavren
