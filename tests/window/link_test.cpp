// link_test.cpp: both labels hand the same address to the shell, as a normal window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "win32/maker.h"
#include "window/gui_support.h"

namespace kavren::testing {
namespace {

using namespace std::chrono_literals;
using win32::Control;

// Points http and https at the recorder for the life of the test, and puts
// the old handlers back afterwards.
class BrowserStandIn {
 public:
  BrowserStandIn() {
    const std::wstring command = L"\"" + ProgramFolder() + L"\\link_recorder.exe\" \"%1\"";
    for (const wchar_t* key : kKeys) {
      wchar_t old[1024] = {};
      LONG size = sizeof old;
      saved_.push_back(::RegQueryValueW(HKEY_CLASSES_ROOT, key, old, &size) == ERROR_SUCCESS ? old : L"");
      ::RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(),
                     static_cast<DWORD>(command.size() * sizeof(wchar_t)));
    }
    std::filesystem::remove(log_path());
  }
  ~BrowserStandIn() {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      ::RegSetValueW(HKEY_CLASSES_ROOT, kKeys[i], REG_SZ, saved_[i].c_str(),
                     static_cast<DWORD>(saved_[i].size() * sizeof(wchar_t)));
    }
  }
  BrowserStandIn(const BrowserStandIn&) = delete;
  BrowserStandIn& operator=(const BrowserStandIn&) = delete;

  static std::wstring log_path() { return ProgramFolder() + L"\\link_recorder.log"; }
  static std::vector<std::wstring> Lines() {
    std::ifstream in{std::filesystem::path(log_path()), std::ios::binary};
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(in, line);) {
      std::wstring wide(line.size(), L'\0');
      wide.resize(static_cast<std::size_t>(::MultiByteToWideChar(
          CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), static_cast<int>(wide.size()))));
      lines.push_back(wide);
    }
    return lines;
  }

 private:
  static constexpr const wchar_t* kKeys[] = {L"http\\shell\\open\\command", L"https\\shell\\open\\command"};
  std::vector<std::wstring> saved_;
};

TEST(Links, BothLabelsOpenTheMakersAddressInANormalWindow) {
  BrowserStandIn browser;
  Form1Fixture f;
  ClickCentre(f[Control::Label1]);
  ASSERT_TRUE(f.PumpUntil([] { return BrowserStandIn::Lines().size() >= 1; }, 15s)) << "Label1 opened nothing";
  ClickCentre(f[Control::Label2]);
  ASSERT_TRUE(f.PumpUntil([] { return BrowserStandIn::Lines().size() >= 2; }, 15s)) << "Label2 opened nothing";
  f.Pump(300ms);

  const std::wstring expected = L"show=" + std::to_wstring(SW_SHOWNORMAL) + L" args=" + win32::MakerSiteUrl();
  EXPECT_EQ(BrowserStandIn::Lines(), (std::vector<std::wstring>{expected, expected}));
  // The address opened is the one the label shows.
  EXPECT_NE(win32::SiteLabelText().find(std::wstring(win32::kMakerAddress)), std::wstring::npos);
  EXPECT_TRUE(win32::MakerSiteUrl().starts_with(L"http://") || win32::MakerSiteUrl().starts_with(L"https://"));
  EXPECT_TRUE(::IsWindow(f.hwnd()));
}

}  // namespace
}  // namespace kavren::testing
