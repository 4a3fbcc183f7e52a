// shell_open_win32.h: from a file in the list to the file itself, through the shell.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>

namespace kavren::win32 {

// Each asks the shell on a thread of its own and returns at once: the shell
// may take its time (a slow share, a program that starts slowly, a dialog
// of its own), and the window never waits for it. Where no thread can be had,
// nothing is asked, and the system's warning sound says so.

// The file opens as text, in the program that opens .txt files, whatever
// its extension: the shell's own verb for the file would run a program, a
// script, a shortcut's target or a link. Where no program opens text,
// kNoTextProgramMessage is posted to `window`, which says so with
// SayNoTextProgram.
void OpenAsText(HWND window, const std::wstring& path);
// A message box owned by `window`, on its thread.
void SayNoTextProgram(HWND window);
// Explorer opens the file's folder with the file selected (or the file
// manager that replaces it).
void ShowInFolder(const std::wstring& path);
// The default browser opens a web address.
void OpenWebAddress(const std::wstring& address);
// The command line that starts Explorer itself for ShowInFolder where the
// shell cannot: by its full path in the system's Windows folder, since a
// program named explorer.exe may lie beside this one (in Downloads, say) and
// on a Remote Desktop host GetWindowsDirectoryW names the user's own folder.
// Nullopt for a path that cannot be quoted.
[[nodiscard]] std::optional<std::wstring> ExplorerCommandLine(const std::wstring& path);

// What the verbs ask of the system, each on a thread of its own: the shell's
// verb for text, and its documented way to show a file in its folder (which
// an Explorer window already open there answers), each saying whether it
// acted; then a new Explorer, started only where the shell could not show
// the file. A test puts its own in their place, to see which are asked, in
// what order, and on which thread.
struct ShellCalls {
  bool (*open_as_text)(SHELLEXECUTEINFOW* info);
  bool (*select_in_folder)(const std::wstring& path);
  void (*start_explorer)(const std::wstring& path);
};
// Written by a test before any verb runs; read by the verbs' threads.
extern ShellCalls shell_calls;

}  // namespace kavren::win32
