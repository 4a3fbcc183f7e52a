// open_selection_test.cpp: the Open dialog's answer taken apart into (name, path) pairs.
#include "window/open_selection.h"

#include <gtest/gtest.h>

namespace kavren {
namespace {

using namespace std::literals;
using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

TEST(ParseOpenSelection, GivesBareNamesAndTheirFullPaths) {
  const std::pair<std::wstring_view, Pairs> cases[] = {
      {L""sv, {}},
      {L"C:\\a\\b\\c.txt"sv, {{L"c.txt", L"C:\\a\\b\\c.txt"}}},
      {L"plain.txt"sv, {{L"plain.txt", L"plain.txt"}}},
      {L"C:/a/b.txt"sv, {{L"C:/a/b.txt", L"C:/a/b.txt"}}},
      {L"C:\\docs\0b.txt\0a.txt"sv, {{L"b.txt", L"C:\\docs\\b.txt"}, {L"a.txt", L"C:\\docs\\a.txt"}}},
      {L"C:\\\0a.txt\0 a.txt \0a.txt"sv, {{L"a.txt", L"C:\\a.txt"}, {L" a.txt ", L"C:\\ a.txt "}, {L"a.txt", L"C:\\a.txt"}}},
      {L"D:\\小说\0第一章.txt"sv, {{L"第一章.txt", L"D:\\小说\\第一章.txt"}}},
  };
  for (const auto& [selection, expected] : cases) {
    Pairs got;
    for (const ChosenFile& file : ParseOpenSelection(selection)) got.emplace_back(file.name, file.path);
    EXPECT_EQ(got, expected) << ::testing::PrintToString(std::wstring(selection));
  }
}

TEST(SelectionInBuffer, StopsAtTheEmptyItemAndTrustsNoUnfinishedAnswer) {
  const std::pair<std::wstring_view, std::wstring_view> cases[] = {
      {L""sv, L""sv},
      {L"\0\0"sv, L""sv},
      {L"C:\\d\0a.txt\0b.txt\0\0junk\0\0"sv, L"C:\\d\0a.txt\0b.txt"sv},
      {L"C:\\d\0a.txt\0b.t"sv, L""sv},
  };
  for (const auto& [buffer, expected] : cases) EXPECT_EQ(SelectionInBuffer(buffer), expected);
}

}  // namespace
}  // namespace kavren
