// shell_open_win32.h: from a file in the list to the file itself, through the shell.
#pragma once

#include <chrono>
#include <string>

namespace kavren::win32 {

// Each asks the shell on a thread of its own and returns at once: the shell
// may take its time (a slow share, a program that starts slowly, a dialog
// of its own), and the window never waits for it. A shell that fails says
// nothing, as the web link does.

// The file opens in its default program (the shell's "open" verb).
void OpenInDefaultProgram(const std::wstring& path);
// Explorer opens the file's folder with the file selected.
void ShowInFolder(const std::wstring& path);

// Whether `path` names an existing file, asked for no longer than `wait`; a
// share that does not answer in time is taken to have it.
[[nodiscard]] bool FileSeemsToExist(const std::wstring& path, std::chrono::milliseconds wait);

}  // namespace kavren::win32
