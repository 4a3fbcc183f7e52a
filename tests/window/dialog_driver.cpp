// dialog_driver.cpp: finds the #32770 window, fills in its file name and presses its buttons.
#include "window/dialog_driver.h"

#include <chrono>

#include "window/gui_support.h"

namespace kavren::testing {
namespace {

using namespace std::chrono_literals;

// The file-name box is a combo box (cmb13) in the Explorer-style dialog and
// an edit control (edt1) in older layouts.
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileNameEdit = 0x480;

}  // namespace

HWND FindOpenDialog(DWORD process_id) {
  const std::vector<HWND> dialogs = VisibleTopLevelWindows(process_id, L"#32770");
  return dialogs.empty() ? nullptr : dialogs.front();
}

DialogDriver::DialogDriver(DWORD process_id, std::vector<std::wstring> steps)
    : thread_([this, process_id, steps = std::move(steps)]() mutable { Run(process_id, std::move(steps)); }) {}

DialogDriver::~DialogDriver() { Finish(); }

bool DialogDriver::Finish() {
  if (!finished_ && thread_.joinable()) thread_.join();
  finished_ = true;
  return failure_.empty();
}

void DialogDriver::Run(DWORD process_id, std::vector<std::wstring> steps) {
  HWND dialog = nullptr;
  // The first opening in a fresh prefix can take several seconds.
  if (!WaitFor([&] { return (dialog = FindOpenDialog(process_id)) != nullptr; }, 60s)) {
    failure_ = "the Open dialog never appeared";
    return;
  }
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const bool last = i + 1 == steps.size();
    if (steps[i].empty()) {
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      break;
    }
    HWND box = ::GetDlgItem(dialog, kFileNameCombo);
    if (!box) box = ::GetDlgItem(dialog, kFileNameEdit);
    if (!box) {
      failure_ = "the dialog has no file-name box";
      break;
    }
    ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(steps[i].c_str()));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    if (last) break;
    // Going to a folder keeps the dialog open and empties the file-name box
    // once it is there.
    if (!WaitFor([&] { return !::IsWindow(dialog) || ::GetWindowTextLengthW(box) == 0; }, 30s) ||
        !::IsWindow(dialog)) {
      failure_ = "the dialog did not go to the folder of step " + std::to_string(i + 1);
      break;
    }
    std::this_thread::sleep_for(300ms);
  }
  if (!WaitFor([&] { return !::IsWindow(dialog); }, 120s)) {
    if (failure_.empty()) failure_ = "the dialog did not close";
    // Cancel and close until it is gone, whatever it is showing.
    for (int i = 0; i < 20 && ::IsWindow(dialog); ++i) {
      if (HWND popup = ::GetLastActivePopup(dialog); popup && popup != dialog) {
        ::PostMessageW(popup, WM_CLOSE, 0, 0);
      }
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      std::this_thread::sleep_for(500ms);
    }
  }
}

}  // namespace kavren::testing
