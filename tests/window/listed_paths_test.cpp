// listed_paths_test.cpp: which paths name one file as Windows sees them, and the list's index at 100,000 files.
#include "window/listed_paths.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kavren {
namespace {

// A file listed by its first path, then handed over again by the second: listed again only if it is another file.
TEST(ListedPaths, TakesAPathOnlyIfItNamesAFileNotYetListedAsWindowsComparesThem) {
  const std::tuple<std::wstring, std::wstring, bool> pairs[] = {
      {L"C:\\小说\\第1章.txt", L"c:\\小说\\第1章.TXT", false},
      {L"C:\\Books\\Ａé ДΣ ŁŽĀ.txt", L"C:\\BOOKS\\ａÉ дς łžā.txt", false},
      {L"\\\\?\\C:\\books\\a.txt", L"C:\\books\\a.txt", false},
      {L"\\\\?\\unc\\nas\\share\\a.txt", L"\\\\NAS\\share\\a.txt", false},
      {L"C:/books//a.txt", L"C:\\books\\a.txt\\", false},
      {L"C:\\books\\a.txt", L"C:\\books\\a.txt.bak", true},
      {L"C:\\books\\a.txt", L"D:\\books\\a.txt", true},
      {L"\\\\nas\\share\\a.txt", L"\\nas\\share\\a.txt", true},
      {L"C:\\第1章.txt", L"C:\\第2章.txt", true},
      {L"C:\\ı.txt", L"C:\\I.txt", true},
  };
  for (const auto& [first, second, again] : pairs) {
    RowList list;
    ListedPaths listed;
    ASSERT_TRUE(listed.Add(list, first));
    list.AppendRow(L"", first);
    EXPECT_EQ(listed.Add(list, second), again) << first << L" | " << second;
  }
}

// 100,000 files, then each again in capitals: each is looked up in its own bucket, not against every row before it.
TEST(ListedPaths, FindsEachOf100000PathsAtOnce) {
  RowList list;
  ListedPaths listed;
  const auto start = std::chrono::steady_clock::now();
  // Given up on after 30 s, where a lookup against every row would take hours.
  auto in_time = [&] { return std::chrono::steady_clock::now() - start < std::chrono::seconds(30); };
  for (int i = 0; i < 100'000 && in_time(); ++i) {
    const std::wstring path = L"c:\\books\\chapter " + std::to_wstring(i) + L".txt";
    if (listed.Add(list, path)) list.AppendRow(L"", path);
  }
  int again = 0;
  for (int i = 0; i < 100'000 && in_time(); ++i) {
    again += listed.Add(list, L"C:\\BOOKS\\CHAPTER " + std::to_wstring(i) + L".TXT");
  }
  EXPECT_EQ(list.RowCount(), 100'000);
  EXPECT_EQ(again, 0);
  EXPECT_TRUE(in_time());
}

}  // namespace
}  // namespace kavren
