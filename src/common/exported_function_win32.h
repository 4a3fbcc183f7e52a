// exported_function_win32.h: a function of a system DLL looked up at run time, where a Windows may lack it.
#pragma once

#include <windows.h>

namespace kavren::win32 {

// `name` as `module` exports it, or null where the module is not loaded or
// does not export it (an older Windows, Wine, a shell that replaces
// Explorer's). The program calls such functions only through this, and
// says beside each call what it does without one.
template <typename Function>
[[nodiscard]] Function ExportedFunction(HMODULE module, const char* name) noexcept {
  // Through void*: GCC warns of a cast from one function type to another,
  // and FARPROC is one.
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace kavren::win32
