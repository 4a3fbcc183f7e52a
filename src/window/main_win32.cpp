// main_win32.cpp: start-up -- show form1 and run its message loop; nothing else.
#include <windows.h>

#include <objbase.h>

#include "window/form1_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // A chosen file on a drive that has since gone (a removed stick, an empty
  // card reader) must fail quietly, not raise the system's "insert a disk" box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The shell and the Open dialog both want a single-threaded apartment.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  int exit_code = 1;
  if (auto form = kavren::win32::Form1::Create(instance, show_command)) {
    exit_code = kavren::win32::RunMessageLoop(form->hwnd());
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return exit_code;
}
