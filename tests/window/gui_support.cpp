// gui_support.cpp: pumping, SendInput and scratch files for the window tests.
#include "window/gui_support.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace kavren::testing {

void Pump(HWND dialog, std::chrono::milliseconds duration) {
  PumpUntil(dialog, [] { return false; }, duration);
}

bool PumpUntil(HWND dialog, const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Keep it for the fixture, which checks and drains it.
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return done();
      }
      if (dialog && ::IsWindow(dialog) && ::IsDialogMessageW(dialog, &message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(50);
  }
  return true;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD process_id, const std::wstring& window_class) {
  struct Search {
    DWORD process_id;
    const std::wstring& window_class;
    std::vector<HWND> found;
  } search{process_id, window_class, {}};
  ::EnumWindows(
      [](HWND window, LPARAM lparam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lparam);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != s->process_id || !::IsWindowVisible(window)) return TRUE;
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (s->window_class.empty() || s->window_class == name) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

// Absolute coordinates run from 0 to 65535 across the primary screen. The
// move goes with the button events themselves: a separate SetCursorPos can
// land the click where the cursor was before.
void SendMouse(POINT point, std::initializer_list<DWORD> events) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs;
  for (DWORD event : events) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(point.x, 65535, width - 1);
    input.mi.dy = ::MulDiv(point.y, 65535, height - 1);
    input.mi.dwFlags = event | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs.push_back(input);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void ClickAt(POINT point) { SendMouse(point, {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}); }

void ClickCentre(HWND window) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKey(WORD virtual_key, bool with_shift) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (with_shift) key(VK_SHIFT, false);
  key(virtual_key, false);
  key(virtual_key, true);
  if (with_shift) key(VK_SHIFT, true);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

RECT ClientRectIn(HWND window, HWND parent) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::vector<std::wstring> ListBoxRows(HWND list_box) {
  std::vector<std::wstring> rows;
  const auto count = ::SendMessageW(list_box, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring row(static_cast<std::size_t>(::SendMessageW(list_box, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    row.resize(static_cast<std::size_t>(
        ::SendMessageW(list_box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()))));
    rows.push_back(row);
  }
  return rows;
}

LRESULT CurrentSelection(HWND list_box) { return ::SendMessageW(list_box, LB_GETCURSEL, 0, 0); }

FileFolder::FileFolder() {
  std::random_device entropy;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    const auto candidate = base / (L"kavren-window-" + std::to_wstring(entropy()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate.wstring();
      break;
    }
  }
}

FileFolder::~FileFolder() {
  // The Open dialog leaves the current directory in the folder it chose
  // from, and Windows will not remove a folder that is in use that way.
  ::SetCurrentDirectoryW(std::filesystem::temp_directory_path().wstring().c_str());
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ChosenFile FileFolder::Write(const std::wstring& name, const std::vector<unsigned char>& bytes) const {
  const std::wstring full = path_ + L"\\" + name;
  std::ofstream out(std::filesystem::path(full), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return {name, full};
}

Form1Fixture::Form1Fixture() : form_(win32::Form1::Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL)) {
  if (!form_) throw std::runtime_error("form1 was not created");
  ::SetForegroundWindow(form_->hwnd());
  Pump(std::chrono::milliseconds(100));
}

Form1Fixture::~Form1Fixture() {
  form_.reset();
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.rfind(L'\\'));
}

}  // namespace kavren::testing
