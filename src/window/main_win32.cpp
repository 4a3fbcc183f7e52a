// main_win32.cpp: start-up -- show form1, add the files it was started with, and run its message loop.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "common/exported_function_win32.h"
#include "common/handles_win32.h"
#include "window/form1_win32.h"
#include "window/message_loop_win32.h"

namespace {

using kavren::win32::ExportedFunction;

// The paths Explorer hands over for a drop on the program's icon, Send To
// or Open with, made full: a relative one typed in a console means the
// folder it was typed in, whatever the current directory is later.
std::vector<std::wstring> HandedOverPaths() {
  int count = 0;
  const kavren::win32::unique_local<wchar_t**> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::wstring> paths;
  for (int i = 1; arguments && i < count; ++i) {
    std::wstring full(::GetFullPathNameW(arguments.get()[i], 0, nullptr, nullptr), L'\0');
    const DWORD written =
        full.empty() ? 0
                     : ::GetFullPathNameW(arguments.get()[i], static_cast<DWORD>(full.size()), full.data(), nullptr);
    paths.push_back(written > 0 && written < full.size() ? full.substr(0, written) : arguments.get()[i]);
  }
  return paths;
}

// The program is run from wherever it was unzipped, often Downloads, and
// Windows looks for a DLL loaded by bare name in the program's folder first.
// From here on only the system folder is searched. Windows 7 without
// KB2533623 lacks SetDefaultDllDirectories; there SetDllDirectoryW(L"") at
// least takes the current directory out. Windows 10 also prefers system32
// images for the DLLs the loader finds by itself (Wine only stubs this).
void RestrictDllSearch() noexcept {
  const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto set_default = ExportedFunction<SetDefaultDllDirectoriesFn>(kernel32, "SetDefaultDllDirectories");
  if (!set_default || !set_default(LOAD_LIBRARY_SEARCH_SYSTEM32)) ::SetDllDirectoryW(L"");

  // ProcessImageLoadPolicy, and its PreferSystem32Images bit: the SDK
  // declares them only for Windows 10 targets.
  constexpr int kProcessImageLoadPolicy = 10;
  constexpr DWORD kPreferSystem32Images = 1u << 2;
  using SetProcessMitigationPolicyFn = BOOL(WINAPI*)(int, PVOID, SIZE_T);
  if (const auto set_policy = ExportedFunction<SetProcessMitigationPolicyFn>(kernel32, "SetProcessMitigationPolicy")) {
    DWORD policy = kPreferSystem32Images;
    set_policy(kProcessImageLoadPolicy, &policy, sizeof policy);
  }
}

// Since Windows 10 1803 a process may be shown cloud placeholders disguised
// as ordinary files, without their reparse point. Explorer sees them as they
// are, and so does this program. What decides whether a file is read, its
// recall bits, shows either way; the call is missing before 1803 and in Wine.
void ExposePlaceholders() noexcept {
  constexpr char kExposePlaceholders = 2;  // PHCM_EXPOSE_PLACEHOLDERS
  using SetPlaceholderModeFn = char(NTAPI*)(char);
  const auto set_mode = ExportedFunction<SetPlaceholderModeFn>(::GetModuleHandleW(L"ntdll.dll"),
                                                               "RtlSetProcessPlaceholderCompatibilityMode");
  if (set_mode) set_mode(kExposePlaceholders);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // Before anything that could load a DLL: the rest of the program's DLLs
  // are delay-loaded, so they are found only now, in the system folder.
  RestrictDllSearch();
  ExposePlaceholders();
  // A chosen file on a drive that has since gone (a removed stick, an empty
  // card reader) must fail quietly, not raise the system's "insert a disk" box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The Open dialog and the drop are the shell's, which wants a
  // single-threaded apartment on the thread that calls it.
  const kavren::win32::ShellApartment apartment;

  int exit_code = 1;
  if (auto form = kavren::win32::Form1::Create(instance, show_command)) {
    form->AppendPaths(HandedOverPaths());
    exit_code = kavren::win32::RunMessageLoop(form->hwnd());
  }
  return exit_code;
}
