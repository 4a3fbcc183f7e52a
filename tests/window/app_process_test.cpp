// app_process_test.cpp: the real KavrenTxtEncodingViewer.exe, started as a user starts it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "win32/controls.h"
#include "win32/form1.h"
#include "window/dialog_driver.h"
#include "window/gui_support.h"

namespace kavren::testing {
namespace {

using namespace std::chrono_literals;
using win32::Control;

// The program in a process of its own, ended by force if a test leaves it.
class RunningApp {
 public:
  RunningApp() {
    std::wstring command = L"\"" + ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process_)) {
      return;
    }
    ::WaitForInputIdle(process_.hProcess, 30'000);
    WaitFor([&] {
      const std::vector<HWND> forms = VisibleTopLevelWindows(process_.dwProcessId, win32::kForm1ClassName);
      if (!forms.empty()) window_ = forms.front();
      return window_ != nullptr;
    }, 30s);
  }
  ~RunningApp() {
    if (process_.hProcess) {
      if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 99);
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
    }
  }
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;

  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] DWORD id() const { return process_.dwProcessId; }
  [[nodiscard]] HWND operator[](Control which) const { return ::GetDlgItem(window_, win32::ControlId(which)); }
  // The exit code, once the process has ended within the timeout.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout) const {
    if (::WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
      return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

TEST(App, StartsWithForm1AloneBothListsEmptyAndEveryButtonEnabled) {
  RunningApp app;
  ASSERT_NE(app.window(), nullptr) << "form1 did not appear";
  EXPECT_EQ(VisibleTopLevelWindows(app.id()), std::vector<HWND>{app.window()});
  EXPECT_EQ(WindowText(app.window()), L"Kavren批量Txt文件编码查看器 V1.0");
  for (Control list : {Control::List1, Control::List2}) {
    EXPECT_EQ(::SendMessageW(app[list], LB_GETCOUNT, 0, 0), 0);
  }
  for (Control button : {Control::Command1, Control::Command2, Control::Command3, Control::Command4,
                         Control::Command5, Control::Command6}) {
    EXPECT_TRUE(::IsWindowEnabled(app[button]));
  }
}

std::wstring VersionString(const std::vector<char>& record, const std::wstring& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = L"\\StringFileInfo\\080404B0\\" + name;
  if (!::VerQueryValueW(record.data(), query.c_str(), &value, &length) || length == 0) return L"";
  return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

TEST(App, CarriesItsIconAndVersionRecord) {
  const std::wstring exe = ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe";
  HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (int size : {48, 32, 16}) {
    HICON icon = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(100), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ::GetIconInfo(icon, &info);
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size) << "no icon image drawn at " << size;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
  }
  ::FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<char> record(::GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_FALSE(record.empty());
  ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(record.size()), record.data()));
  EXPECT_EQ(VersionString(record, L"ProductName"), L"Kavren批量Txt文件编码查看器");
  EXPECT_EQ(VersionString(record, L"FileVersion"), L"1.00");
  EXPECT_EQ(VersionString(record, L"ProductVersion"), L"1.00");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  DWORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(*translation, MAKELONG(0x0804, 1200));
}

TEST(App, ExitButtonOrClosingEndsTheProcess) {
  for (bool by_button : {true, false}) {
    RunningApp app;
    ASSERT_NE(app.window(), nullptr);
    if (by_button) {
      ::PostMessageW(app[Control::Command6], BM_CLICK, 0, 0);
    } else {
      ::PostMessageW(app.window(), WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(app.WaitForExit(10s), std::optional<DWORD>(0));
  }
}

// Saves the window as the screen shows it, as a 24-bit BMP.
bool SaveWindowImage(HWND window, const std::wstring& path) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
  const int rows = ::GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                               DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (rows != height) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

TEST(App, ChooseAnalyseAndSelectAsAUserWould) {
  FileFolder folder;
  const std::vector<std::pair<std::wstring, std::vector<unsigned char>>> files = {
      {L"第一章 风起.txt", {0xEF, 0xBB, 0xBF, 0xE9}}, {L"第二章 云涌.txt", {0xFF, 0xFE, 0x2C, 0x7B}},
      {L"第三章.txt", {0xFE, 0xFF, 0x7B, 0x2C}},      {L"后记.txt", {0xBA, 0xF3, 0xBC, 0xC7}},
      {L"目录.txt", {0xEF, 0xBB, 0xBF, 0x31}},        {L"readme.txt", {'r', 'e', 'a', 'd'}},
  };
  std::wstring typed;
  for (const auto& [name, bytes] : files) {
    folder.Write(name, bytes);
    typed += L"\"" + name + L"\" ";
  }

  RunningApp app;
  ASSERT_NE(app.window(), nullptr);
  {
    DialogDriver driver(app.id(), {folder.path(), typed});
    ::PostMessageW(app[Control::Command1], BM_CLICK, 0, 0);
    ASSERT_TRUE(driver.Finish()) << driver.failure();
  }
  ASSERT_TRUE(WaitFor([&] { return ::SendMessageW(app[Control::List1], LB_GETCOUNT, 0, 0) == 6; }, 10s));
  ::PostMessageW(app[Control::Command2], BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowEnabled(app[Control::Command2]); }, 10s));
  EXPECT_EQ(ListBoxRows(app[Control::List2]),
            (std::vector<std::wstring>{L"UTF8", L"Unicode", L"UUnicodeBigEndian", L"ANSI", L"UTF8", L"ANSI"}));
  EXPECT_EQ(CurrentSelection(app[Control::List1]), 5);
  EXPECT_EQ(CurrentSelection(app[Control::List2]), LB_ERR);

  // A click on the third label selects the third file too.
  const HWND list2 = app[Control::List2];
  RECT list_rect;
  ::GetWindowRect(list2, &list_rect);
  const auto item_height = static_cast<LONG>(::SendMessageW(list2, LB_GETITEMHEIGHT, 0, 0));
  POINT client = {10, item_height * 2 + item_height / 2};
  ::ClientToScreen(list2, &client);
  ::SetForegroundWindow(app.window());
  ClickAt(client);
  EXPECT_TRUE(WaitFor([&] { return CurrentSelection(app[Control::List1]) == 2 && CurrentSelection(list2) == 2; }, 5s));

  // The picture shows the pointer where the click left it, as a user's would.
  ::Sleep(300);
  EXPECT_TRUE(SaveWindowImage(app.window(), ProgramFolder() + L"\\screenshot.bmp"));
  ::PostMessageW(app[Control::Command6], BM_CLICK, 0, 0);
  EXPECT_EQ(app.WaitForExit(10s), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace kavren::testing
