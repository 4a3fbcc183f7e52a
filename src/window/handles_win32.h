// handles_win32.h: owners for the Win32 handles the front end keeps.
#pragma once

#include <windows.h>

#include "common/unique_any.h"

namespace kavren::win32 {

struct FontTraits {
  static HFONT Invalid() noexcept { return nullptr; }
  static void Close(HFONT font) noexcept { ::DeleteObject(font); }
};
using unique_font = unique_any<HFONT, FontTraits>;

struct VirtualMemoryTraits {
  static void* Invalid() noexcept { return nullptr; }
  static void Close(void* memory) noexcept { ::VirtualFree(memory, 0, MEM_RELEASE); }
};
using unique_virtual_memory = unique_any<void*, VirtualMemoryTraits>;

struct GlobalTraits {
  static HGLOBAL Invalid() noexcept { return nullptr; }
  static void Close(HGLOBAL memory) noexcept { ::GlobalFree(memory); }
};
using unique_global = unique_any<HGLOBAL, GlobalTraits>;

struct MenuTraits {
  static HMENU Invalid() noexcept { return nullptr; }
  static void Close(HMENU menu) noexcept { ::DestroyMenu(menu); }
};
using unique_menu = unique_any<HMENU, MenuTraits>;

}  // namespace kavren::win32
