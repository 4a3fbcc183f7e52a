// clipboard_win32.cpp: the clipboard, opened for one copy and closed on every path.
#include "window/clipboard_win32.h"

#include <cstring>

#include "common/handles_win32.h"

namespace kavren::win32 {

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  unique_global memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  void* target = memory ? ::GlobalLock(memory.get()) : nullptr;
  if (!target) return false;
  std::memcpy(target, text.c_str(), bytes);
  ::GlobalUnlock(memory.get());
  const ClipboardScope clipboard(owner);
  if (!clipboard.open() || !::EmptyClipboard()) return false;
  // Once set, the memory is the clipboard's.
  if (!::SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  (void)memory.release();
  return true;
}

}  // namespace kavren::win32
