// app_test.cpp: what only the real system shows -- the Open dialog, the shell, and the program as its own process.
#include <gtest/gtest.h>

#include <fstream>

#include <oleacc.h>

#include "support/gui_support.h"
#include "support/temp_dir.h"

namespace kavren::testing {
namespace {

std::vector<std::wstring> Choose(Form1Fixture& f, std::vector<std::wstring> steps) {
  auto driver = DriveOpenDialog(std::move(steps));
  ::SendMessageW(f[Control::Command1], BM_CLICK, 0, 0);
  EXPECT_EQ(driver.get(), "");
  return ListBoxRows(f[Control::List1]);
}

TEST(OpenDialog, ChoosesFromTwoFoldersLeavesTheCurrentDirectoryReopensWhereTheUserWasAndTakes20000Files) {
  Form1Fixture f;
  TempDir a, b;
  const std::wstring before = std::filesystem::current_path().wstring();
  a.Write(L"同名.txt", {0xEF, 0xBB, 0xBF}), a.Write(L"b.txt", {0xFE, 0xFF});
  b.Write(L"同名.txt", {0xFF, 0xFE}), b.Write(L"c.txt", {0x61});
  Choose(f, {a.Wide(L""), L"\"同名.txt\" \"b.txt\""});
  Choose(f, {b.Wide(L""), L"同名.txt"});
  Choose(f, {L""});  // cancelled
  EXPECT_EQ(Choose(f, {L"c.txt"}), (std::vector<std::wstring>{L"同名.txt", L"b.txt", L"同名.txt", L"c.txt"}));
  EXPECT_EQ(*f.form().list1().GetPath(3), b.Wide(L"c.txt")) << "the dialog did not open where the user was";
  EXPECT_EQ(std::filesystem::current_path().wstring(), before) << "the chosen folder is left in use";
  f.Click(Control::Command2);
  EXPECT_EQ(ListBoxRows(f[Control::List2]), (std::vector<std::wstring>{L"UTF8", L"UUnicodeBigEndian", L"Unicode", L"ANSI"}));

  // The names need not exist, and creating 20,000 files takes Wine a minute.
  std::wstring typed;
  for (int i = 100'000; i < 120'000; ++i) typed += L"\"novel_" + std::to_wstring(i) + L".txt\" ";
  EXPECT_EQ(Choose(f, {a.Wide(L""), typed}).size(), 20'004u);
  EXPECT_EQ(*f.form().list1().GetPath(20'003), a.Wide(L"novel_119999.txt"));
}

TEST(Links, BothLabelsHandTheMakersAddressToTheBrowserAsANormalWindow) {
  // http goes to a recorder for the length of the test.
  const std::wstring recorder = L"\"" + ProgramFolder() + L"\\link_recorder.exe\" \"%1\"";
  std::filesystem::remove("link_recorder.log");
  wchar_t browser[1024] = {};
  LONG size = sizeof browser;
  ::RegQueryValueW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", browser, &size);
  ::RegSetValueW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", REG_SZ, recorder.c_str(), 0);
  Form1Fixture f;
  for (Control label : {Control::Label1, Control::Label2}) {
    f.Post(f[label], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)), f.Post(f[label], WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  std::vector<std::string> lines;
  PumpUntil(f.hwnd(), [&] {
    std::ifstream log("link_recorder.log");
    lines.clear();
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines.size() >= 2;
  }, 15s);
  ::RegSetValueW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", REG_SZ, browser, 0);
  EXPECT_EQ(lines, std::vector<std::string>(2, "show=1 args=\"http://kv.test/\""));
}

TEST(App, StartsWithForm1AloneNamesItsListsAndEndsWithCodeZeroByExitButtonOrClose) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (bool by_button : {true, false}) {
    // KAVREN_EXE names another copy to start, such as the one in the release zip.
    wchar_t other[MAX_PATH] = {};
    std::wstring command = ::GetEnvironmentVariableW(L"KAVREN_EXE", other, MAX_PATH) ? other : ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe";
    command = L"\"" + command + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION app{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &app));
    PumpUntil(nullptr, [&] { return !VisibleTopLevelWindows(app.dwProcessId, win32::kForm1ClassName).empty(); }, 30s);
    ::Sleep(300);  // time for any other window it might wrongly show
    const std::vector<HWND> windows = VisibleTopLevelWindows(app.dwProcessId);
    ASSERT_EQ(windows.size(), 1u);
    // What a screen reader, another process, hears for each list.
    for (const auto& [list, expected] : {std::pair(Control::List1, L"文件名"), std::pair(Control::List2, L"编码方式")}) {
      IAccessible* object = nullptr;
      BSTR name = nullptr;
      const HWND box = ::GetDlgItem(windows[0], win32::ControlId(list));
      if (SUCCEEDED(::AccessibleObjectFromWindow(box, OBJID_CLIENT, IID_IAccessible, (void**)&object))) {
        object->get_accName(VARIANT{{{VT_I4, 0, 0, 0, {CHILDID_SELF}}}}, &name), object->Release();
      }
      EXPECT_EQ(std::wstring(name ? name : L""), expected), ::SysFreeString(name);
    }
    ::PostMessageW(by_button ? ::GetDlgItem(windows[0], win32::ControlId(Control::Command6)) : windows[0],
                   by_button ? BM_CLICK : WM_CLOSE, 0, 0);
    DWORD code = 259;
    if (::WaitForSingleObject(app.hProcess, 10'000) != WAIT_OBJECT_0) ::TerminateProcess(app.hProcess, 99);
    ::GetExitCodeProcess(app.hProcess, &code);
    EXPECT_EQ(code, 0u) << (by_button ? "exit button" : "close");
    ::CloseHandle(app.hProcess), ::CloseHandle(app.hThread);
  }
}

}  // namespace
}  // namespace kavren::testing
