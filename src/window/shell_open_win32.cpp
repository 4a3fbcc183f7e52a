// shell_open_win32.cpp: the shell's verbs and Explorer, each on a thread of its own.
#include "window/shell_open_win32.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>

#include "common/background_work.h"
#include "common/exported_function_win32.h"
#include "common/handles_win32.h"
#include "window/app_version.h"
#include "window/private_messages_win32.h"

namespace kavren::win32 {
namespace {

constexpr wchar_t kNoTextProgram[] =
    L"Windows 中没有打开文本文件（.txt）的程序，所以无法打开这个文件。\n\n"
    L"请在 Windows 的“设置”→“应用”→“默认应用”中为 .txt 文件选择一个程序（如记事本），然后再试。";
constexpr wchar_t kMessageTitle[] = L"" KAVREN_PRODUCT_NAME;

void Apart(void (*ask)(HWND, const std::wstring&), HWND window, const std::wstring& path) {
  // No thread to be had: the shell is not asked on the window's thread,
  // which it could keep for as long as it likes. The beep says that the
  // click came and did nothing.
  if (!RunApart([ask, window, path] { ask(window, path); })) ::MessageBeep(MB_ICONWARNING);
}

// Whether any program opens .txt files. Windows answers a failed open of
// the class with ERROR_NO_ASSOCIATION; Wine answers 0 or 31 and leaves the
// error alone, so the class is asked for its command. The unknown class's
// "Open with" does not count: that would be no program either.
bool TextHasProgram() {
  wchar_t command[1024];
  DWORD size = std::size(command);
  const HRESULT found =
      ::AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_COMMAND, L".txt", L"open", command, &size);
  return SUCCEEDED(found) || found == E_POINTER;
}

// The class of .txt rather than the file's own: its verb, whatever the file is.
void AskShellForText(HWND window, const std::wstring& path) {
  const ShellApartment apartment;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The thread ends on return: the shell finishes before it does.
  info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = path.c_str();
  info.lpClass = L".txt";
  info.nShow = SW_SHOWNORMAL;
  if (shell_calls.open_as_text(&info)) return;
  const bool no_program = ::GetLastError() == ERROR_NO_ASSOCIATION ||
                          info.hInstApp == reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC) || !TextHasProgram();
  // Said by the window, on its own thread: a box of this thread's would have
  // no owner, could open behind the window, and would go with the thread.
  if (no_program) ::PostMessageW(window, kNoTextProgramMessage, 0, 0);
}

// Looked up at run time: a shell without them gets Explorer instead.
bool SelectWithShell(const std::wstring& path) {
  const unique_module shell32(::LoadLibraryW(L"shell32.dll"));
  using ILCreateFromPathWFn = PIDLIST_ABSOLUTE(WINAPI*)(PCWSTR);
  using SHOpenFolderAndSelectItemsFn = HRESULT(WINAPI*)(PCIDLIST_ABSOLUTE, UINT, PCUITEMID_CHILD_ARRAY, DWORD);
  const auto create = ExportedFunction<ILCreateFromPathWFn>(shell32.get(), "ILCreateFromPathW");
  const auto select = ExportedFunction<SHOpenFolderAndSelectItemsFn>(shell32.get(), "SHOpenFolderAndSelectItems");
  if (!create || !select) return false;
  const unique_cotaskmem<PIDLIST_ABSOLUTE> item(create(path.c_str()));
  return item && SUCCEEDED(select(item.get(), 0, nullptr, 0));
}

void StartExplorer(const std::wstring& path) {
  std::optional<std::wstring> command = ExplorerCommandLine(path);
  if (!command) return;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (::CreateProcessW(nullptr, command->data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    const unique_file process(started.hProcess);
    const unique_file thread(started.hThread);
  }
}

void AskShellToSelect(HWND, const std::wstring& path) {
  const ShellApartment apartment;
  if (!shell_calls.select_in_folder(path)) shell_calls.start_explorer(path);
}

}  // namespace

ShellCalls shell_calls = {[](SHELLEXECUTEINFOW* info) { return ::ShellExecuteExW(info) != FALSE; }, SelectWithShell,
                          StartExplorer};

void OpenAsText(HWND window, const std::wstring& path) { Apart(AskShellForText, window, path); }

void SayNoTextProgram(HWND window) { ::MessageBoxW(window, kNoTextProgram, kMessageTitle, MB_OK | MB_ICONINFORMATION); }

void ShowInFolder(const std::wstring& path) { Apart(AskShellToSelect, nullptr, path); }

void OpenWebAddress(const std::wstring& address) {
  Apart(
      [](HWND, const std::wstring& url) {
        const ShellApartment apartment;
        // No parameters and no working folder: for an address the shell wants
        // null there, and the browser is shown as a normal window. The result
        // is ignored; the program says nothing either way.
        ::ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      },
      nullptr, address);
}

std::optional<std::wstring> ExplorerCommandLine(const std::wstring& path) {
  wchar_t windows[MAX_PATH];
  const UINT length = ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
  // No file's name holds a quotation mark; a path that does would end the
  // quoted one early and hand Explorer the rest as words of its own.
  if (length == 0 || length >= MAX_PATH || path.find(L'"') != std::wstring::npos) return std::nullopt;
  std::wstring folder(windows, length);
  if (!folder.ends_with(L'\\')) folder += L'\\';
  return L"\"" + folder + L"explorer.exe\" /select,\"" + path + L"\"";
}

}  // namespace kavren::win32
