// dialog_driver.h: works the system's Open dialog from another thread, as a user would.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace kavren::testing {

// Each step types text into the dialog's file-name box and presses Open; an
// empty step presses Cancel. A folder path makes the dialog go there; then
// "a.txt" "b.txt" (quoted) chooses several files. The driver waits for the
// dialog of process `process_id` to appear, works it, and waits for it to
// close. If anything takes too long it cancels the dialog, so that no test
// is left hanging in a modal loop, and reports the failure.
class DialogDriver {
 public:
  DialogDriver(DWORD process_id, std::vector<std::wstring> steps);
  explicit DialogDriver(std::vector<std::wstring> steps)
      : DialogDriver(::GetCurrentProcessId(), std::move(steps)) {}
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver();

  // Waits for the driver to finish; true when every step went as planned.
  bool Finish();
  [[nodiscard]] const std::string& failure() const { return failure_; }

 private:
  void Run(DWORD process_id, std::vector<std::wstring> steps);

  std::thread thread_;
  std::string failure_;
  bool finished_ = false;
};

// The visible Open dialog of a process, or null.
[[nodiscard]] HWND FindOpenDialog(DWORD process_id);

}  // namespace kavren::testing
