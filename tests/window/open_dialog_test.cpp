// open_dialog_test.cpp: choosing files through the real Open dialog.
#include <gtest/gtest.h>

#include "window/dialog_driver.h"
#include "window/gui_support.h"

namespace kavren::testing {
namespace {

using namespace std::chrono_literals;
using win32::Control;

TEST(OpenDialog, MultiSelectionSecondFolderAndCancel) {
  Form1Fixture f;
  FileFolder folder_a, folder_b;
  folder_a.Write(L"同名.txt", {0xEF, 0xBB, 0xBF});
  folder_a.Write(L"b.txt", {0xFE, 0xFF});
  folder_a.Write(L"c.txt", {0x61});
  folder_b.Write(L"同名.txt", {0xFF, 0xFE});

  {
    DialogDriver driver({folder_a.path(), L"\"同名.txt\" \"b.txt\""});
    f.Press(Control::Command1);
    ASSERT_TRUE(driver.Finish()) << driver.failure();
  }
  EXPECT_EQ(ListBoxRows(f[Control::List1]), (std::vector<std::wstring>{L"同名.txt", L"b.txt"}));

  // The second choice comes from another folder and moves the current
  // directory there; each file must still be read where it was chosen.
  {
    DialogDriver driver({folder_b.path(), L"同名.txt"});
    f.Press(Control::Command1);
    ASSERT_TRUE(driver.Finish()) << driver.failure();
  }
  {
    DialogDriver driver({L""});
    f.Press(Control::Command1);
    ASSERT_TRUE(driver.Finish()) << driver.failure();
  }
  EXPECT_EQ(ListBoxRows(f[Control::List1]), (std::vector<std::wstring>{L"同名.txt", L"b.txt", L"同名.txt"}));
  EXPECT_EQ(f.form().list1().GetPath(2).value(), folder_b.path() + L"\\同名.txt");

  f.Press(Control::Command2);
  EXPECT_EQ(ListBoxRows(f[Control::List2]),
            (std::vector<std::wstring>{L"UTF8", L"UUnicodeBigEndian", L"Unicode"}));
}

TEST(OpenDialog, TwentyThousandFilesAreAddedWhole) {
  Form1Fixture f;
  FileFolder folder;
  constexpr int kFiles = 20'000;
  // The names need not exist: the dialog is not asked to insist on that,
  // and what is measured is the size of its answer. (Creating 20,000 files
  // in one folder takes Wine the better part of a minute.)
  std::wstring typed;
  for (int i = 0; i < kFiles; ++i) {
    wchar_t name[32];
    ::swprintf(name, 32, L"novel_%05d.txt", i);
    typed += L"\"" + std::wstring(name) + L"\" ";
  }
  DialogDriver driver({folder.path(), typed});
  f.Press(Control::Command1);
  ASSERT_TRUE(driver.Finish()) << driver.failure();
  ASSERT_EQ(::SendMessageW(f[Control::List1], LB_GETCOUNT, 0, 0), kFiles);
  EXPECT_EQ(ListBoxRows(f[Control::List1]).back(), L"novel_19999.txt");
  EXPECT_EQ(f.form().list1().GetPath(kFiles - 1).value(), folder.path() + L"\\novel_19999.txt");
}

}  // namespace
}  // namespace kavren::testing
