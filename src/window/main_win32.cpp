// main_win32.cpp: start-up -- show form1, add the files it was started with, and run its message loop.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "window/form1_win32.h"

namespace {

struct LocalTraits {
  static wchar_t** Invalid() noexcept { return nullptr; }
  static void Close(wchar_t** memory) noexcept { ::LocalFree(memory); }
};

// The paths Explorer hands over for a drop on the program's icon, Send To
// or Open with, made full: a relative one typed in a console means the
// folder it was typed in, whatever the current directory is later.
std::vector<std::wstring> HandedOverPaths() {
  int count = 0;
  const kavren::unique_any<wchar_t**, LocalTraits> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // A chosen file on a drive that has since gone (a removed stick, an empty
  // card reader) must fail quietly, not raise the system's "insert a disk" box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The shell and the Open dialog both want a single-threaded apartment.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  int exit_code = 1;
  if (auto form = kavren::win32::Form1::Create(instance, show_command)) {
    form->AppendPaths(HandedOverPaths());
    exit_code = kavren::win32::RunMessageLoop(form->hwnd());
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return exit_code;
}
