// planted_dll.cpp: a DLL left beside the program by someone else. Loaded into a process, it leaves "<its path>.loaded".
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t marker[MAX_PATH + 8] = {};
    const DWORD length = ::GetModuleFileNameW(self, marker, MAX_PATH);
    ::lstrcpyW(marker + length, L".loaded");
    ::CloseHandle(::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}
