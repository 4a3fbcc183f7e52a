// open_dialog_test.cpp: the Open dialog's answer taken apart into (name, path) pairs.
#include "window/portable/open_dialog.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

using namespace std::literals;

TEST(ParseOpenSelection, GivesBareNamesAndTheirFullPathsFromWhatTheBufferHolds) {
  const std::pair<std::wstring_view, std::vector<std::wstring>> cases[] = {
      {L""sv, {}},
      {L"\0\0"sv, {}},
      {L"C:\\a\\b\\c.txt\0\0"sv, {L"c.txt", L"C:\\a\\b\\c.txt"}},
      {L"C:\\docs\0b.txt\0a.txt\0\0junk\0\0"sv, {L"b.txt", L"C:\\docs\\b.txt", L"a.txt", L"C:\\docs\\a.txt"}},
      {L"C:\\\0a.txt\0 a.txt \0a.txt\0\0"sv,
       {L"a.txt", L"C:\\a.txt", L" a.txt ", L"C:\\ a.txt ", L"a.txt", L"C:\\a.txt"}},
      {L"D:\\小说\0第一章.txt\0\0"sv, {L"第一章.txt", L"D:\\小说\\第一章.txt"}},
      {L"C:\\f\0d:\\a.txt\0\\\\s\\b.txt\0E:\\c.txt\0\0"sv,
       {L"a.txt", L"d:\\a.txt", L"b.txt", L"\\\\s\\b.txt", L"c.txt", L"E:\\c.txt"}},
      // No terminator: the dialog did not finish writing, so nothing counts.
      {L"C:\\d\0a.txt\0b.t"sv, {}},
  };
  for (const auto& [buffer, expected] : cases) {
    std::vector<std::wstring> got;
    for (const ChosenFile& file : ParseOpenSelection(SelectionInBuffer(buffer)))
      got.insert(got.end(), {file.name, file.path});
    EXPECT_EQ(got, expected) << ::testing::PrintToString(std::wstring(buffer));
  }
}

}  // namespace
}  // namespace kavren
