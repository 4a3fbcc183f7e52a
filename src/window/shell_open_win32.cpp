// shell_open_win32.cpp: the shell's verbs and Explorer, each on a thread that nothing waits for.
#include "window/shell_open_win32.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/long_path_win32.h"

namespace kavren::win32 {
namespace {

// The shell wants a single-threaded apartment on the thread that calls it.
void AskShell(const std::wstring& file, const std::wstring& parameters) {
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ::ShellExecuteW(nullptr, L"open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr,
                  SW_SHOWNORMAL);
  if (SUCCEEDED(com)) ::CoUninitialize();
}

void AskShellApart(const std::wstring& file, const std::wstring& parameters) {
  try {
    // Copies for the thread: a thread that could not be started may have
    // taken moved strings with it.
    std::thread(AskShell, file, parameters).detach();
  } catch (const std::system_error&) {
    // No thread to be had; the click is not lost.
    AskShell(file, parameters);
  }
}

}  // namespace

void OpenInDefaultProgram(const std::wstring& path) { AskShellApart(path, {}); }

void ShowInFolder(const std::wstring& path) {
  // Explorer by its full path: a program beside this one (in Downloads,
  // say) named explorer.exe is not it.
  wchar_t windows[MAX_PATH];
  const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  // No path holds a quotation mark, so quoting it is enough.
  AskShellApart(std::wstring(windows, length) + L"\\explorer.exe", L"/select,\"" + path + L"\"");
}

bool FileSeemsToExist(const std::wstring& path, std::chrono::milliseconds wait) {
  struct Answer {
    std::mutex mutex;
    std::condition_variable given;
    bool known = false;
    bool exists = true;
  };
  const auto answer = std::make_shared<Answer>();
  auto ask = [answer, path] {
    std::wstring long_form;
    const wchar_t* openable = OpenablePath(path, long_form);
    const DWORD attributes = openable ? ::GetFileAttributesW(openable) : INVALID_FILE_ATTRIBUTES;
    const std::lock_guard lock(answer->mutex);
    answer->exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    answer->known = true;
    answer->given.notify_all();
  };
  try {
    std::thread(ask).detach();
  } catch (const std::system_error&) {
    return true;
  }
  std::unique_lock lock(answer->mutex);
  answer->given.wait_for(lock, wait, [&] { return answer->known; });
  return answer->exists;
}

}  // namespace kavren::win32
