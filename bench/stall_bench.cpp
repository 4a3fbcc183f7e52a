// stall_bench.cpp: the real program under Wine on a share where one file's read and one folder's listing stall
// for 20 s: how long the window leaves other programs unanswered, and how soon Esc stops and a close ends it.
//
//   stall_bench SHARE      (scripts/stall-bench mounts bench/slow_fs there, with the files it wants)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "timing.h"
#include "window/form1_win32.h"

namespace {

using namespace std::chrono_literals;
using kavren::bench::MsSince;
using kavren::win32::Control;

bool Start(const std::wstring& command, PROCESS_INFORMATION& started) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring line = command;
  return ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
}

HWND FormOf(DWORD process) {
  for (const auto end = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < end;) {
    for (HWND window = nullptr;
         (window = ::FindWindowExW(nullptr, window, kavren::win32::Form1::kClassName, nullptr));) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == process && ::IsWindowVisible(window)) return window;
    }
    std::this_thread::sleep_for(50ms);
  }
  return nullptr;
}

std::wstring StatusText(HWND form, int row, DWORD* answered_ms = nullptr) {
  wchar_t text[256] = L"";
  const auto start = std::chrono::steady_clock::now();
  const HWND bar = ::GetDlgItem(form, kavren::win32::StatusRowId(row));
  ::SendMessageTimeoutW(bar, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, nullptr);
  if (answered_ms) *answered_ms = static_cast<DWORD>(MsSince(start));
  return text;
}

// Another program asking the window once every 200 ms, as a screen reader
// or the system's hung-window check would, until `enough` holds or 15 s.
struct Asked {
  int questions = 0;
  int unanswered = 0;  // not within 1 s
  DWORD longest_ms = 0;
  bool hung = false;
};
template <typename Enough>
Asked AskUntil(HWND form, Enough enough) {
  Asked asked;
  for (const auto end = std::chrono::steady_clock::now() + 15s; std::chrono::steady_clock::now() < end;) {
    std::this_thread::sleep_for(200ms);
    DWORD ms = 0;
    const std::wstring next = StatusText(form, 1, &ms);
    ++asked.questions;
    asked.unanswered += ms >= 1000;
    asked.longest_ms = std::max(asked.longest_ms, ms);
    asked.hung = asked.hung || ::IsHungAppWindow(form);
    if (enough(next)) break;
  }
  return asked;
}

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3 + 1, '\0');
  bytes.resize(
      static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                     bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
  return bytes;
}

// Milliseconds until `done` holds, polled every 10 ms, or -1 after 30 s.
template <typename Done>
double MsUntil(Done done) {
  const auto start = std::chrono::steady_clock::now();
  while (!done()) {
    if (MsSince(start) > 30'000) return -1;
    std::this_thread::sleep_for(10ms);
  }
  return MsSince(start);
}

// One start of the program with `arguments`: its long work (a pass, if
// `analyse`) reaches the stall; another program asks the window every
// 200 ms for 6 s; then Esc, or a close if `close`.
void Scenario(const char* what, const std::wstring& exe, const std::wstring& arguments, bool analyse, bool close) {
  PROCESS_INFORMATION app{};
  const HWND form = Start(L"\"" + exe + L"\" " + arguments, app) ? FormOf(app.dwProcessId) : nullptr;
  if (!form) {
    std::printf("%s: the program did not start\n", what);
    return;
  }
  if (analyse) {
    // The walk of the command line's folders comes first.
    MsUntil([&] { return StatusText(form, 0).starts_with(L"共 "); });
    ::PostMessageW(::GetDlgItem(form, kavren::win32::ControlId(Control::Command2)), BM_CLICK, 0, 0);
  }
  const auto start = std::chrono::steady_clock::now();
  const Asked asked =
      AskUntil(form, [&](const std::wstring&) { return std::chrono::steady_clock::now() - start > 6s; });
  const std::wstring during = StatusText(form, 0) + L" | " + StatusText(form, 1);
  std::printf("%s: during the stall %d questions, %d unanswered within 1 s, longest answer %lu ms, hung %s\n", what,
              asked.questions, asked.unanswered, asked.longest_ms, asked.hung ? "yes" : "no");
  std::printf("%s: status during the stall: %s\n", what, Utf8(during).c_str());
  auto exit_ms = [&] {
    ::PostMessageW(form, WM_CLOSE, 0, 0);
    return MsUntil([&] { return ::WaitForSingleObject(app.hProcess, 0) == WAIT_OBJECT_0; });
  };
  if (close) {
    std::printf("%s: from the close to the program's exit ms=%.0f\n", what, exit_ms());
  } else {
    ::PostMessageW(::GetDlgItem(form, kavren::win32::ControlId(Control::List1)), WM_KEYDOWN, VK_ESCAPE, 0);
    const double stop_ms = MsUntil([&] { return StatusText(form, 0).starts_with(L"已停止"); });
    const std::wstring after = StatusText(form, 0) + L" | " + StatusText(form, 1);
    std::printf("%s: from Esc to the stop ms=%.0f, status: %s\n", what, stop_ms, Utf8(after).c_str());
    // Time to see the stopped window, or to take its picture.
    std::this_thread::sleep_for(2s);
    std::printf("%s: then from the close to the program's exit, the storage still stalled, ms=%.0f\n", what, exit_ms());
  }
  ::CloseHandle(app.hProcess);
  ::CloseHandle(app.hThread);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: stall_bench SHARE\n");
    return 2;
  }
  // Each line as it comes: the scenarios take a while.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::wstring share = argv[1];
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(::GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  exe = exe.substr(0, exe.rfind(L'\\')) + L"\\KavrenTxtEncodingViewer.exe";
  auto pass = [&](const wchar_t* start) {
    return L"\"" + share + L"\\a\" \"" + share + L"\\stalled" + start + L"\" \"" + share + L"\\b\"";
  };
  std::printf("stall: a share waiting 2 ms in every open, one file's first read and one folder's listing 20 s\n");
  Scenario("pass, Esc", exe, pass(L"1"), true, false);
  Scenario("pass, close", exe, pass(L"2"), true, true);
  Scenario("walk, Esc", exe, L"\"" + share + L"\\walk1\"", false, false);
  Scenario("walk, close", exe, L"\"" + share + L"\\walk2\"", false, true);
  return 0;
}
