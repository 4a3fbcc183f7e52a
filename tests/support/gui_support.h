// gui_support.h: driving the real form1 from a test, through the program's own message handling.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "window/form1_win32.h"
#include "window/message_loop_win32.h"

namespace kavren::testing {

using namespace std::chrono_literals;
using win32::Control;

// Handles queued messages as the program's loop does, until `done` holds or
// the timeout passes; returns whether it held. WM_QUIT stays queued. On a
// thread without windows it just waits, for another thread or process.
inline bool PumpUntil(HWND form, std::chrono::milliseconds timeout, const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (MSG message;; ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return done();
      }
      win32::DispatchWindowMessage(form, message);
    }
    if (const bool held = done(); held || std::chrono::steady_clock::now() >= deadline) return held;
  }
}

inline std::vector<HWND> VisibleTopLevelWindows(DWORD process_id, const wchar_t* window_class = nullptr) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, window_class, nullptr));) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == process_id && ::IsWindowVisible(window)) found.push_back(window);
  }
  return found;
}

// The rows a list box holds (each shorter than 512 characters).
inline std::vector<std::wstring> ListBoxRows(HWND list_box) {
  std::vector<std::wstring> rows;
  for (wchar_t row[512]; static_cast<LRESULT>(rows.size()) < ::SendMessageW(list_box, LB_GETCOUNT, 0, 0);) {
    rows.emplace_back(row, ::SendMessageW(list_box, LB_GETTEXT, rows.size(), reinterpret_cast<LPARAM>(row)));
  }
  return rows;
}

inline std::wstring WindowText(HWND window) {
  wchar_t text[256] = L"";
  ::GetWindowTextW(window, text, 256);
  return text;
}

// What Explorer hands over: a DROPFILES block with the wide paths after it.
inline HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) list += path + L'\0';
  HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  *drop = {sizeof(DROPFILES), {}, FALSE, TRUE};
  std::memcpy(drop + 1, list.c_str(), (list.size() + 1) * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Starts a program, in `folder` if given; null handles if it did not start.
// The handles are the caller's to close, or to leave to the test's end.
inline PROCESS_INFORMATION Start(std::wstring command, const wchar_t* folder = nullptr) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &started);
  return started;
}

// Where the program and the helper programs are built.
inline std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.rfind(L'\\'));
}

// Works the Open dialog of a process from another thread: each step types
// into its file-name box and presses Open (a folder goes there; "a" "b"
// chooses several); an empty step cancels. Whatever goes wrong, the dialog
// is cancelled in the end, so no test hangs in its modal loop. The result
// says what went wrong, or nothing.
inline std::future<std::string> DriveOpenDialog(std::vector<std::wstring> steps,
                                                DWORD process_id = ::GetCurrentProcessId()) {
  return std::async(std::launch::async, [=] {
    std::string failure;
    // The first opening in a fresh prefix can take several seconds.
    std::vector<HWND> found;
    PumpUntil(nullptr, 20s, [&] { return !(found = VisibleTopLevelWindows(process_id, L"#32770")).empty(); });
    const HWND dialog = found.empty() ? nullptr : found[0];
    // 0x47c is the Explorer-style dialog's file-name box; the old style has none.
    const HWND box = dialog ? ::GetDlgItem(dialog, 0x47c) : nullptr;
    if (!box) failure = dialog ? "not Explorer-style" : "no dialog";
    for (std::size_t i = 0; failure.empty() && i < steps.size() && !steps[i].empty(); ++i) {
      ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(steps[i].c_str()));
      ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      // Going to a folder keeps the dialog open and empties the box.
      if (i + 1 < steps.size() && !PumpUntil(nullptr, 10s, [&] { return ::GetWindowTextLengthW(box) == 0; })) {
        failure = "the dialog did not go to step " + std::to_string(i + 1);
      }
      std::this_thread::sleep_for(300ms);
    }
    const auto give_up = std::chrono::steady_clock::now() + 5s;
    while (dialog && ::IsWindow(dialog)) {
      // A process that hangs with its dialog open is given up on, too.
      if (std::chrono::steady_clock::now() > give_up + 3s) return std::string("the dialog did not close");
      const bool cancel = !failure.empty() || steps.back().empty() || std::chrono::steady_clock::now() > give_up;
      if (cancel) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      std::this_thread::sleep_for(500ms);
    }
    return failure;
  });
}

// A shown form1 in this process, gone again (its WM_QUIT drained) after the test.
class Form1Fixture {
 public:
  explicit Form1Fixture(win32::Form1Seams seams = {})
      : form_(win32::Form1::Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL, std::move(seams))) {
    if (!form_) throw std::runtime_error("form1 was not created");
    Pump();
  }
  ~Form1Fixture() {
    form_.reset();
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) continue;
  }
  [[nodiscard]] win32::Form1& form() { return *form_; }
  [[nodiscard]] HWND hwnd() const { return form_->hwnd(); }
  [[nodiscard]] HWND operator[](Control which) const { return form_->control(which); }
  void Pump() const {
    PumpUntil(hwnd(), 100ms, [] { return false; });
  }
  // Posts what a control or the user would, and lets the program handle it.
  void Post(HWND target, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    if (::PostMessageW(target, message, wparam, lparam)) Pump();
  }
  // A click, and the work it starts to its end.
  void Click(Control button) const {
    Post((*this)[button], BM_CLICK);
    WaitForWork();
  }
  void WaitForWork() const {
    PumpUntil(hwnd(), 20s, [&] { return !form_->Working(); });
  }
  // Paths handed over as a drop or the command line hands them, walked to the end.
  void Append(std::vector<std::wstring> paths) const {
    form_->AppendPaths(std::move(paths));
    WaitForWork();
  }
  // The menu that a right click on row `row` of `list` opens (kNoRow: the
  // menu key's, or at `at` on the window itself), with `keys` queued for its
  // own loop: a letter is a mnemonic.
  void Menu(HWND list, LRESULT row, const std::vector<WPARAM>& keys, POINT at = {-1, -1}) const {
    RECT item{};
    if (row != kNoRow && ::SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
      at = {item.left + 4, item.top + 2};
      ::ClientToScreen(list, &at);
    }
    for (WPARAM key : keys) ::PostMessageW(hwnd(), key < 'A' ? WM_KEYDOWN : WM_CHAR, key < 'A' ? key : key | 0x20, 0);
    ::SendMessageW(hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y));
    Pump();
  }
  // The tooltip's text for the mouse resting at `at` in `window`, moved
  // there first unless it is there already.
  [[nodiscard]] std::wstring TipAt(HWND window, POINT at, bool move = true) const {
    if (move) Post(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    TTHITTESTINFOW hit{window, at, {sizeof(TOOLINFOW), 0, nullptr, 0, {}, nullptr, nullptr, 0, nullptr}};
    wchar_t text[1024] = L"";
    if (::SendMessageW(form_->tooltip(), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))) {
      hit.ti.lpszText = text;
      ::SendMessageW(form_->tooltip(), TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&hit.ti));
    }
    return text;
  }
  // Where `child` lies in the window's client area.
  [[nodiscard]] RECT Placed(HWND child) const {
    RECT at;
    ::GetWindowRect(child, &at);
    ::MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&at), 2);
    return at;
  }
  // The status bar's rows, each part's text and where the part lies in its row.
  [[nodiscard]] HWND StatusRow(int row) const { return ::GetDlgItem(hwnd(), win32::StatusRowId(row)); }
  [[nodiscard]] std::vector<std::tuple<HWND, std::wstring, RECT>> StatusParts() const {
    std::vector<std::tuple<HWND, std::wstring, RECT>> parts;
    for (int row = 0; row < 3; ++row) {
      const HWND bar = StatusRow(row);
      if (!::IsWindowVisible(bar)) continue;
      for (WPARAM part = 0; part < static_cast<WPARAM>(::SendMessageW(bar, SB_GETPARTS, 0, 0)); ++part) {
        wchar_t text[512] = L"";
        RECT area{};
        ::SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        ::SendMessageW(bar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&area));
        parts.emplace_back(bar, text, area);
      }
    }
    return parts;
  }
  // The same for the mouse on row `row` of a list.
  [[nodiscard]] std::wstring TipAtRow(Control list, LRESULT row, bool move = true) const {
    RECT at;
    ::SendMessageW((*this)[list], LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&at));
    return TipAt((*this)[list], {at.left + 4, (at.top + at.bottom) / 2}, move);
  }

 private:
  std::unique_ptr<win32::Form1> form_;
};

}  // namespace kavren::testing
