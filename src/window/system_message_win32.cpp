// system_message_win32.cpp: FormatMessageW, on one line.
#include "window/system_message_win32.h"

namespace kavren::win32 {

std::wstring SystemMessage(DWORD error) {
  wchar_t text[512];
  DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                       nullptr, error, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
  while (length > 0 && text[length - 1] == L' ') --length;
  // The number first: it is what a user searches for, and the same on every
  // system whatever its language.
  const std::wstring number = L"错误 " + std::to_wstring(error);
  if (length == 0) return number + L"：系统没有这个错误的说明。";
  return number + L"：" + std::wstring(text, length);
}

}  // namespace kavren::win32
