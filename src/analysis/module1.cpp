// module1.cpp: decides which byte-order mark, if any, a file begins with.
#include "analysis/module1.h"

#include <array>

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

EncodingCode GetFileEncoding(const std::wstring& name, ReadFailure& failure) {
  if (NamesDevice(name)) {
    failure.kind = FailureKind::kNotPlainFile;
    return EncodingCode::kUnreadable;
  }
  std::array<std::uint8_t, 3> head{};
  const auto got = ReadFileHead(name, head, failure);
  if (!got) return failure.kind == FailureKind::kOnlineOnly ? EncodingCode::kOnlineOnly : EncodingCode::kUnreadable;
  if (*got == 0) failure.kind = FailureKind::kEmpty;
  return ClassifyHead(std::span<const std::uint8_t>(head.data(), *got));
}

EncodingCode GetFileEncoding(const std::wstring& name) {
  ReadFailure ignored;
  return GetFileEncoding(name, ignored);
}

}  // namespace kavren
