// long_path_win32_test.cpp: which paths get the \\?\ form, and the exact form they get.
#include "common/long_path_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analysis/module1.h"

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

// A 32-bit program on 64-bit Windows is shown SysWOW64 where it names System32: the pass reads the file the user
// named, not its twin. A 64-bit program is shown what it names.
TEST(OpenablePath, ReadsAFileInSystem32AsTheUserNamedItNotItsSysWow64Twin) {
  BOOL wow64 = FALSE;
  if (!::IsWow64Process(::GetCurrentProcess(), &wow64) || !wow64) GTEST_SKIP() << "nothing is redirected here";
  const std::filesystem::path twins[] = {L"C:\\windows\\Sysnative\\kavren.txt", L"C:\\windows\\SysWOW64\\kavren.txt"};
  std::ofstream(twins[0], std::ios::binary) << "\xFF\xFE";
  std::ofstream(twins[1], std::ios::binary) << "\xEF\xBB\xBF";
  EXPECT_EQ(GetFileEncoding(L"C:\\windows\\system32\\kavren.txt"), EncodingCode::kUtf16LittleEndian);
  for (const auto& twin : twins) std::filesystem::remove(twin);
}

}  // namespace
}  // namespace kavren
