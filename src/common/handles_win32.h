// handles_win32.h: an owner for each kind of Win32 handle the program keeps, so that every close stands here.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "common/unique_any.h"

namespace kavren::win32 {

// A file, a folder or a device opened with CreateFileW.
struct FileHandleTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE file) noexcept { ::CloseHandle(file); }
};
using unique_file = unique_any<HANDLE, FileHandleTraits>;

// A folder listing from FindFirstFileExW, which CloseHandle does not close.
struct FindTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE find) noexcept { ::FindClose(find); }
};
using unique_find = unique_any<HANDLE, FindTraits>;

struct FontTraits {
  static HFONT Invalid() noexcept { return nullptr; }
  static void Close(HFONT font) noexcept { ::DeleteObject(font); }
};
using unique_font = unique_any<HFONT, FontTraits>;

struct MenuTraits {
  static HMENU Invalid() noexcept { return nullptr; }
  static void Close(HMENU menu) noexcept { ::DestroyMenu(menu); }
};
using unique_menu = unique_any<HMENU, MenuTraits>;

// What Explorer hands over with WM_DROPFILES.
struct DropTraits {
  static HDROP Invalid() noexcept { return nullptr; }
  static void Close(HDROP drop) noexcept { ::DragFinish(drop); }
};
using unique_drop = unique_any<HDROP, DropTraits>;

// Movable memory, such as what goes onto the clipboard, until the clipboard takes it.
struct GlobalTraits {
  static HGLOBAL Invalid() noexcept { return nullptr; }
  static void Close(HGLOBAL memory) noexcept { ::GlobalFree(memory); }
};
using unique_global = unique_any<HGLOBAL, GlobalTraits>;

// What the system allocates for the caller with LocalAlloc, such as CommandLineToArgvW's array.
template <typename T>
struct LocalTraits {
  static T Invalid() noexcept { return nullptr; }
  static void Close(T memory) noexcept { ::LocalFree(memory); }
};
template <typename T>
using unique_local = unique_any<T, LocalTraits<T>>;

struct VirtualMemoryTraits {
  static void* Invalid() noexcept { return nullptr; }
  static void Close(void* memory) noexcept { ::VirtualFree(memory, 0, MEM_RELEASE); }
};
using unique_virtual_memory = unique_any<void*, VirtualMemoryTraits>;

// A DLL loaded with LoadLibraryW, for functions that older systems lack.
struct ModuleTraits {
  static HMODULE Invalid() noexcept { return nullptr; }
  static void Close(HMODULE module) noexcept { ::FreeLibrary(module); }
};
using unique_module = unique_any<HMODULE, ModuleTraits>;

// What COM or the shell allocates for the caller, such as an item ID list.
template <typename T>
struct CoTaskMemTraits {
  static T Invalid() noexcept { return nullptr; }
  static void Close(T memory) noexcept { ::CoTaskMemFree(const_cast<void*>(static_cast<const void*>(memory))); }
};
template <typename T>
using unique_cotaskmem = unique_any<T, CoTaskMemTraits<T>>;

// A COM interface pointer, released once.
template <typename T>
struct ComTraits {
  static T Invalid() noexcept { return nullptr; }
  static void Close(T object) noexcept { object->Release(); }
};
template <typename T>
using unique_com = unique_any<T, ComTraits<T>>;

// COM on a thread that asks the shell (its verbs, the Open dialog), which
// wants a single-threaded apartment there; uninitialised only if it was
// initialised here, since a second initialisation that fails must not be paired.
class ShellApartment {
 public:
  ShellApartment() noexcept : com_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ShellApartment(const ShellApartment&) = delete;
  ShellApartment& operator=(const ShellApartment&) = delete;
  ~ShellApartment() {
    if (SUCCEEDED(com_)) ::CoUninitialize();
  }

 private:
  HRESULT com_;
};

// A window's device context with a font selected into it, for measuring
// text: the font it had goes back and the context is released, once.
class WindowDcWithFont {
 public:
  WindowDcWithFont(HWND window, HFONT font) noexcept
      : window_(window), dc_(::GetDC(window)), old_font_(::SelectObject(dc_, font)) {}
  WindowDcWithFont(const WindowDcWithFont&) = delete;
  WindowDcWithFont& operator=(const WindowDcWithFont&) = delete;
  ~WindowDcWithFont() {
    ::SelectObject(dc_, old_font_);
    ::ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_font_;
};

// The screen's device context, for what the screen itself reports (its DPI).
class ScreenDc {
 public:
  ScreenDc() noexcept : dc_(::GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// The clipboard, open for as long as the scope lives. Another program may
// hold it for a moment, so a few tries are made, 20 ms apart.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) noexcept {
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      if (attempt) ::Sleep(20);
      open_ = ::OpenClipboard(owner) != FALSE;
    }
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  ~ClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  [[nodiscard]] bool open() const noexcept { return open_; }

 private:
  bool open_ = false;
};

}  // namespace kavren::win32
