// app_test.cpp: what only the real system shows -- the Open dialog, the shell, and the program as its own process.
#include <gtest/gtest.h>

#include <fstream>

#include "support/gui_support.h"
#include "support/temp_dir.h"

namespace kavren::testing {
namespace {

TEST(OpenDialog, ChoosesFromTwoFoldersLeavesTheCurrentDirectoryAndReopensWhereTheUserWas) {
  Form1Fixture f;
  TempDir a, b;
  a.Write(L"同名.txt", {0xEF, 0xBB, 0xBF});
  a.Write(L"b.txt", {0xFE, 0xFF});
  b.Write(L"同名.txt", {0xFF, 0xFE});
  b.Write(L"c.txt", {0x61});
  const std::wstring before = std::filesystem::current_path().wstring();
  for (const std::vector<std::wstring>& steps : std::vector<std::vector<std::wstring>>{
           {a.Wide(L""), L"\"同名.txt\" \"b.txt\""}, {b.Wide(L""), L"同名.txt"}, {L""}, {L"c.txt"}}) {
    DialogDriver driver(steps);
    ::SendMessageW(f[Control::Command1], BM_CLICK, 0, 0);
    EXPECT_EQ(driver.Finish(), "");
  }
  EXPECT_EQ(std::filesystem::current_path().wstring(), before) << "the chosen folder is left in use";
  EXPECT_EQ(ListBoxRows(f[Control::List1]), (std::vector<std::wstring>{L"同名.txt", L"b.txt", L"同名.txt", L"c.txt"}));
  ASSERT_EQ(f.form().list1().RowCount(), 4);
  EXPECT_EQ(*f.form().list1().GetPath(3), b.Wide(L"c.txt")) << "the dialog did not open where the user was";
  f.Click(Control::Command2);
  EXPECT_EQ(ListBoxRows(f[Control::List2]), (std::vector<std::wstring>{L"UTF8", L"UUnicodeBigEndian", L"Unicode", L"ANSI"}));
}

TEST(OpenDialog, TwentyThousandChosenFilesAreAddedWhole) {
  Form1Fixture f;
  TempDir folder;
  // The names need not exist (the dialog is not asked to insist), and
  // creating 20,000 files takes Wine most of a minute.
  std::wstring typed;
  for (int i = 0; i < 20'000; ++i) typed += L"\"novel_" + std::to_wstring(100'000 + i) + L".txt\" ";
  DialogDriver driver({folder.Wide(L""), typed});
  ::SendMessageW(f[Control::Command1], BM_CLICK, 0, 0);
  ASSERT_EQ(driver.Finish(), "");
  ASSERT_EQ(::SendMessageW(f[Control::List1], LB_GETCOUNT, 0, 0), 20'000);
  EXPECT_EQ(*f.form().list1().GetPath(19'999), folder.Wide(L"novel_119999.txt"));
}

TEST(Links, BothLabelsHandTheShownAddressToTheBrowserAsANormalWindow) {
  // http and https point at a recorder for the length of the test.
  const std::wstring recorder = L"\"" + ProgramFolder() + L"\\link_recorder.exe\" \"%1\"";
  const std::string log = "link_recorder.log";
  std::filesystem::remove(log);
  const wchar_t* keys[] = {L"http\\shell\\open\\command", L"https\\shell\\open\\command"};
  std::vector<std::wstring> saved;
  for (const wchar_t* key : keys) {
    wchar_t old[1024] = {};
    LONG size = sizeof old;
    saved.push_back(::RegQueryValueW(HKEY_CLASSES_ROOT, key, old, &size) == ERROR_SUCCESS ? old : L"");
    ::RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, recorder.c_str(), 0);
  }
  Form1Fixture f;
  for (Control label : {Control::Label1, Control::Label2}) {
    f.Post(f[label], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    f.Post(f[label], WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  std::vector<std::string> lines;
  PumpUntil(f.hwnd(), [&] {
    lines.clear();
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines.size() >= 2;
  }, 15s);
  for (std::size_t i = 0; i < 2; ++i) ::RegSetValueW(HKEY_CLASSES_ROOT, keys[i], REG_SZ, saved[i].c_str(), 0);

  const std::string expected = "show=1 args=\"http://kv.test/\"";
  EXPECT_EQ(lines, (std::vector<std::string>{expected, expected}));
  EXPECT_NE(WindowText(f[Control::Label1]).find(L"(kv.test)"), std::wstring::npos) << "the label shows another address";
}

// The program in a process of its own, ended by force if a test leaves it.
class RunningApp {
 public:
  RunningApp() {
    std::wstring command = L"\"" + ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) return;
    WaitFor([&] { return !VisibleTopLevelWindows(process_.dwProcessId, win32::kForm1ClassName).empty(); }, 30s);
    ::Sleep(300);  // time for any other window it might wrongly show
  }
  ~RunningApp() {
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.hProcess, 99);
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
  }
  [[nodiscard]] std::vector<HWND> windows() const { return VisibleTopLevelWindows(process_.dwProcessId); }
  [[nodiscard]] DWORD ExitCode() const {
    DWORD code = 259;
    if (::WaitForSingleObject(process_.hProcess, 10'000) == WAIT_OBJECT_0) ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION process_{};
};

TEST(App, StartsWithForm1AloneAndEndsWithCodeZeroByExitButtonOrClose) {
  for (bool by_button : {true, false}) {
    RunningApp app;
    const std::vector<HWND> windows = app.windows();
    ASSERT_EQ(windows.size(), 1u);
    const HWND exit_button = ::GetDlgItem(windows[0], win32::ControlId(Control::Command6));
    ::PostMessageW(by_button ? exit_button : windows[0], by_button ? BM_CLICK : WM_CLOSE, 0, 0);
    EXPECT_EQ(app.ExitCode(), 0u) << (by_button ? "exit button" : "close");
  }
}

TEST(App, CarriesItsIconAtEverySizeAndAChineseVersionRecord) {
  const std::wstring exe = ProgramFolder() + L"\\KavrenTxtEncodingViewer.exe";
  HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (int size : {48, 32, 16}) {
    // Exact sizes only: a missing image would otherwise be scaled from another.
    const HRSRC group = ::FindResourceW(module, MAKEINTRESOURCEW(100), RT_GROUP_ICON);
    const auto* directory = static_cast<PBYTE>(::LockResource(::LoadResource(module, group)));
    ASSERT_NE(directory, nullptr);
    EXPECT_NE(::LookupIconIdFromDirectoryEx(const_cast<PBYTE>(directory), TRUE, size, size, 0), 0) << size;
  }
  ::FreeLibrary(module);
  DWORD ignored = 0;
  std::vector<char> record(::GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_TRUE(!record.empty() && ::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(record.size()), record.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", &value, &length));
  EXPECT_EQ(*static_cast<DWORD*>(value), static_cast<DWORD>(MAKELONG(0x0804, 1200)));
  for (const wchar_t* name : {L"ProductName", L"FileVersion", L"ProductVersion"}) {
    EXPECT_TRUE(::VerQueryValueW(record.data(), (L"\\StringFileInfo\\080404B0\\" + std::wstring(name)).c_str(), &value,
                                 &length) && length > 1) << "no " << ::testing::PrintToString(std::wstring(name));
  }
}

}  // namespace
}  // namespace kavren::testing
