// gui_support.h: driving the real window from a test -- pumping, real input, waiting.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/form1.h"

namespace kavren::testing {

// Handles queued messages for a while, with the window's own keyboard
// navigation, as the program's message loop would.
void Pump(HWND dialog, std::chrono::milliseconds duration);
// Pumps until `done` holds or the timeout passes; returns whether it held.
bool PumpUntil(HWND dialog, const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Waits, without pumping, for something another thread or process does.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// The visible top-level windows of a process; with a class name, only those.
[[nodiscard]] std::vector<HWND> VisibleTopLevelWindows(DWORD process_id, const std::wstring& window_class = {});

// Real input through SendInput, as a user's mouse and keyboard give it.
void ClickAt(POINT screen_point);
void ClickCentre(HWND window);
void PressKey(WORD virtual_key, bool with_shift = false);

[[nodiscard]] RECT ClientRectIn(HWND window, HWND parent);  // child's rect in parent's client area
[[nodiscard]] std::wstring WindowText(HWND window);
[[nodiscard]] std::vector<std::wstring> ListBoxRows(HWND list_box);
[[nodiscard]] LRESULT CurrentSelection(HWND list_box);

// Writes small files into a fresh folder and returns them as the Open
// dialog's answer would; the folder goes when the object does.
class FileFolder {
 public:
  FileFolder();
  FileFolder(const FileFolder&) = delete;
  FileFolder& operator=(const FileFolder&) = delete;
  ~FileFolder();

  [[nodiscard]] const std::wstring& path() const { return path_; }
  ChosenFile Write(const std::wstring& name, const std::vector<unsigned char>& bytes) const;

 private:
  std::wstring path_;
};

// A shown form1 in this process, brought to the front for real input, and
// gone again (with its WM_QUIT drained) when the test ends.
class Form1Fixture {
 public:
  Form1Fixture();
  ~Form1Fixture();
  Form1Fixture(const Form1Fixture&) = delete;
  Form1Fixture& operator=(const Form1Fixture&) = delete;

  [[nodiscard]] win32::Form1& form() { return *form_; }
  [[nodiscard]] HWND hwnd() const { return form_->hwnd(); }
  [[nodiscard]] HWND operator[](win32::Control which) const { return form_->control(which); }
  void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(100)) const {
    testing::Pump(hwnd(), duration);
  }
  bool PumpUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
    return testing::PumpUntil(hwnd(), done, timeout);
  }
  // Clicks a button the way BM_CLICK does, running its handler before returning.
  void Press(win32::Control which) const { ::SendMessageW(form_->control(which), BM_CLICK, 0, 0); }

 private:
  std::unique_ptr<win32::Form1> form_;
};

// The folder this test program runs from, where the application and the
// helper programs are built too.
[[nodiscard]] std::wstring ProgramFolder();

}  // namespace kavren::testing
