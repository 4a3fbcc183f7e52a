// module1.cpp: decides which byte-order mark, if any, a file begins with.
#include "analysis/module1.h"

#include <array>

#include "analysis/content_verdict.h"
#include "analysis/device_names.h"
#include "analysis/file_access.h"

namespace kavren {

EncodingCode ClassifyHead(std::span<const std::uint8_t> head) noexcept {
  auto starts_with = [head](std::initializer_list<std::uint8_t> mark) {
    if (head.size() < mark.size()) return false;
    std::size_t i = 0;
    for (std::uint8_t byte : mark) {
      if (head[i++] != byte) return false;
    }
    return true;
  };
  // UTF-16 is decided on two bytes, so a UTF-32 LE mark (FF FE 00 00) still
  // reads as UTF-16 LE. UTF-8 needs all three bytes: EF BB alone also starts
  // ordinary GBK text.
  if (starts_with({0xFF, 0xFE})) return EncodingCode::kUtf16LittleEndian;
  if (starts_with({0xFE, 0xFF})) return EncodingCode::kUtf16BigEndian;
  if (starts_with({0xEF, 0xBB, 0xBF})) return EncodingCode::kUtf8;
  return EncodingCode::kNoMark;
}

EncodingCode GetFileEncoding(const std::wstring& name, ReadFailure& failure, ContentVerdict* content) {
  if (NamesDevice(name)) {
    failure.kind = FailureKind::kNotPlainFile;
    return EncodingCode::kUnreadable;
  }
  // One page: a read of it costs the storage what a read of three bytes
  // does, and it is the one head in flight on this thread.
  std::array<std::uint8_t, kHeadBytes> head;
  const auto got = ReadFileHead(name, head, failure);
  if (!got) return failure.kind == FailureKind::kOnlineOnly ? EncodingCode::kOnlineOnly : EncodingCode::kUnreadable;
  if (*got == 0) failure.kind = FailureKind::kEmpty;
  const std::span<const std::uint8_t> read(head.data(), *got);
  const EncodingCode code = ClassifyHead(read);
  // A full page may be all of the file or only its start; the verdict
  // claims no more than the page either way.
  if (content && code == EncodingCode::kNoMark) *content = JudgeContent(read, *got == head.size());
  return code;
}

EncodingCode GetFileEncoding(const std::wstring& name) {
  ReadFailure ignored;
  return GetFileEncoding(name, ignored);
}

}  // namespace kavren
