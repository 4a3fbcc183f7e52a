// open_selection_test.cpp: the Open dialog's selection string taken apart.
#include "window/open_selection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kavren {
namespace {

using namespace std::literals;

struct ParseCase {
  std::wstring_view selection;
  std::vector<std::pair<std::wstring, std::wstring>> expected;  // name, path
};

TEST(ParseOpenSelection, GivesBareNamesAndTheirFullPaths) {
  const std::vector<ParseCase> cases = {
      {L""sv, {}},
      {L"C:\\a\\b\\c.txt"sv, {{L"c.txt", L"C:\\a\\b\\c.txt"}}},
      {L"plain.txt"sv, {{L"plain.txt", L"plain.txt"}}},
      {L"C:\\x.txt"sv, {{L"x.txt", L"C:\\x.txt"}}},
      {L"C:/a/b.txt"sv, {{L"C:/a/b.txt", L"C:/a/b.txt"}}},
      {L"C:\\docs\0b.txt\0a.txt"sv, {{L"b.txt", L"C:\\docs\\b.txt"}, {L"a.txt", L"C:\\docs\\a.txt"}}},
      {L"C:\\\0a.txt\0b.txt"sv, {{L"a.txt", L"C:\\a.txt"}, {L"b.txt", L"C:\\b.txt"}}},
      {L"\\\\srv\\share\0a.txt"sv, {{L"a.txt", L"\\\\srv\\share\\a.txt"}}},
      {L"C:\\d\0 a.txt \0a.txt\0a.txt"sv,
       {{L" a.txt ", L"C:\\d\\ a.txt "}, {L"a.txt", L"C:\\d\\a.txt"}, {L"a.txt", L"C:\\d\\a.txt"}}},
      {L"D:\\小说\0第一章.txt\0第二章.txt"sv,
       {{L"第一章.txt", L"D:\\小说\\第一章.txt"}, {L"第二章.txt", L"D:\\小说\\第二章.txt"}}},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<std::wstring, std::wstring>> got;
    for (const auto& file : ParseOpenSelection(c.selection)) got.emplace_back(file.name, file.path);
    EXPECT_EQ(got, c.expected) << ::testing::PrintToString(std::wstring(c.selection));
  }
}

TEST(SelectionInBuffer, StopsAtTheEmptyItem) {
  const std::vector<std::pair<std::wstring_view, std::wstring_view>> cases = {
      {L""sv, L""sv},
      {L"\0\0"sv, L""sv},
      {L"C:\\a.txt\0\0junk\0\0"sv, L"C:\\a.txt"sv},
      {L"C:\\d\0a.txt\0b.txt\0\0"sv, L"C:\\d\0a.txt\0b.txt"sv},
      // No terminator: the dialog did not finish writing, so nothing counts.
      {L"C:\\d\0a.txt\0b.t"sv, L""sv},
  };
  for (const auto& [buffer, expected] : cases) EXPECT_EQ(SelectionInBuffer(buffer), expected);
}

}  // namespace
}  // namespace kavren
