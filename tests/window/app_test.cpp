// app_test.cpp: what only the real system shows -- the Open dialog, the shell, and the program as its own process.
#include <gtest/gtest.h>

#include <fstream>

#include <oleacc.h>

#include "support/gui_support.h"
#include "support/temp_dir.h"

namespace kavren::testing {
namespace {

std::vector<std::wstring> Choose(Form1Fixture& f, std::vector<std::wstring> steps) {
  DialogDriver driver(std::move(steps));
  ::SendMessageW(f[Control::Command1], BM_CLICK, 0, 0);
  EXPECT_EQ(driver.Finish(), "");
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
  // http and https go to a recorder for the length of the test.
  const std::wstring recorder = L"\"" + ProgramFolder() + L"\\link_recorder.exe\" \"%1\"";
  std::filesystem::remove("link_recorder.log");
  std::vector<std::pair<const wchar_t*, std::wstring>> saved = {{L"http\\shell\\open\\command", L""},
                                                               {L"https\\shell\\open\\command", L""}};
  for (auto& [key, old] : saved) {
    LONG size = 2048;
    old.resize(1024);
    old.resize(::RegQueryValueW(HKEY_CLASSES_ROOT, key, old.data(), &size) == ERROR_SUCCESS ? wcslen(old.c_str()) : 0);
    ::RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, recorder.c_str(), 0);
  }
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
  for (auto& [key, old] : saved) ::RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, old.c_str(), 0);
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
    WaitFor([&] { return !VisibleTopLevelWindows(app.dwProcessId, win32::kForm1ClassName).empty(); }, 30s);
    ::Sleep(300);  // time for any other window it might wrongly show
    const std::vector<HWND> windows = VisibleTopLevelWindows(app.dwProcessId);
    EXPECT_EQ(windows.size(), 1u);
    // What a screen reader, another process, hears for each list.
    for (const auto& [list, expected] : {std::pair(Control::List1, L"文件名"), std::pair(Control::List2, L"编码方式")}) {
      IAccessible* object = nullptr;
      BSTR name = nullptr;
      if (!windows.empty() && SUCCEEDED(::AccessibleObjectFromWindow(::GetDlgItem(windows[0], win32::ControlId(list)),
                                                                     OBJID_CLIENT, IID_IAccessible, (void**)&object))) {
        object->get_accName(VARIANT{{{VT_I4, 0, 0, 0, {CHILDID_SELF}}}}, &name), object->Release();
      }
      EXPECT_EQ(std::wstring(name ? name : L""), expected), ::SysFreeString(name);
    }
    if (!windows.empty()) {
      const HWND target = by_button ? ::GetDlgItem(windows[0], win32::ControlId(Control::Command6)) : windows[0];
      ::PostMessageW(target, by_button ? BM_CLICK : WM_CLOSE, 0, 0);
    }
    DWORD code = 259;
    if (::WaitForSingleObject(app.hProcess, 10'000) != WAIT_OBJECT_0) ::TerminateProcess(app.hProcess, 99);
    ::GetExitCodeProcess(app.hProcess, &code);
    EXPECT_EQ(code, 0u) << (by_button ? "exit button" : "close");
    ::CloseHandle(app.hProcess), ::CloseHandle(app.hThread);
  }
}

TEST(App, CarriesItsIconAtEverySizeAndAChineseVersionRecord) {
  const std::wstring exe = ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe";
  HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  auto* icons = static_cast<PBYTE>(::LockResource(
      ::LoadResource(module, ::FindResourceW(module, MAKEINTRESOURCEW(100), RT_GROUP_ICON))));
  // Exact sizes only: a missing image would otherwise be scaled from another.
  for (int size : {48, 32, 16}) EXPECT_NE(icons ? ::LookupIconIdFromDirectoryEx(icons, TRUE, size, size, 0) : 0, 0) << size;
  std::vector<char> record(::GetFileVersionInfoSizeW(exe.c_str(), nullptr) + 1);
  ::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(record.size()), record.data());
  wchar_t* name = nullptr;
  UINT length = 0;
  EXPECT_TRUE(::VerQueryValueW(record.data(), L"\\StringFileInfo\\080404B0\\ProductName", (void**)&name, &length) &&
              std::wstring_view(name).starts_with(L"Kavren")) << "no Chinese version record";
  ::FreeLibrary(module);
}

}  // namespace
}  // namespace kavren::testing
