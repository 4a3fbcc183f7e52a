// long_path_win32_test.cpp: which paths get the \\?\ form, and the exact form they get.
#include "common/long_path_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace kavren {
namespace {

// Wine opens long paths without the \\?\ form, so only the strings show a
// wrong form or a wrong limit.
TEST(OpenablePath, GivesPathsOfMaxPathMinus12OrMoreTheLongFormAndLeavesTheRestAsTheyAre) {
  const std::wstring name(300, L'a');
  const std::wstring edge(MAX_PATH - 12 - 3, L'b');  // after "C:\", exactly at the limit
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"C:\\" + edge.substr(1), L"C:\\" + edge.substr(1)},
      {L"C:\\" + edge, L"\\\\?\\C:\\" + edge},
      {L"C:\\x\\..\\" + name, L"\\\\?\\C:\\" + name},
      {L"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
      {L"\\\\?\\C:\\" + name, L"\\\\?\\C:\\" + name},
  };
  for (const auto& [path, expected] : cases) {
    std::wstring long_form;
    const wchar_t* openable = OpenablePath(path, long_form);
    EXPECT_EQ(std::wstring(openable ? openable : L"(none)"), expected) << path.size();
  }
}

}  // namespace
}  // namespace kavren
