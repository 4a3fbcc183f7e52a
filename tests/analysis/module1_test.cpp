// module1_test.cpp: the detector against byte patterns, names and the kinds of thing that cannot be read.
#include "analysis/module1.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace kavren {
namespace {

using Bytes = std::vector<unsigned char>;

struct Case {
  const char* what;
  std::wstring name;           // in the scratch folder, unless it starts with / or a backslash
  std::optional<Bytes> bytes;  // written to the file first; nullopt writes nothing
  EncodingCode expected;
};

TEST(GetFileEncoding, NamesTheMarkOrReportsTheFileUnreadable) {
  using enum EncodingCode;
  std::wstring deep;
  for (wchar_t c = L'a'; c < L'i'; ++c) deep += std::wstring(40, c) + L"/";
  std::vector<Case> cases = {
      {"empty", L"e.txt", Bytes{}, NoMark},
      {"one byte FF", L"f.txt", Bytes{0xFF}, NoMark},
      {"UTF-16 LE", L"le.txt", Bytes{0xFF, 0xFE}, Utf16LittleEndian},
      {"UTF-32 LE reads as UTF-16 LE", L"le32.txt", Bytes{0xFF, 0xFE, 0, 0}, Utf16LittleEndian},
      {"UTF-16 BE", L"be.txt", Bytes{0xFE, 0xFF, 0, 0x41}, Utf16BigEndian},
      {"swapped marks", L"sw.txt", Bytes{0xFE, 0xFE, 0xFF, 0xFF}, NoMark},
      {"UTF-8", L"u8.txt", Bytes{0xEF, 0xBB, 0xBF}, Utf8},
      {"GBK text starting EF BB", L"gbk.txt", Bytes{0xEF, 0xBB, 0xC4, 0xE3}, NoMark},
      {"CJK name", L"第一章 小说.txt", Bytes{0xFF, 0xFE}, Utf16LittleEndian},
      {"name outside the BMP", L"\U00020000.txt", Bytes{0xEF, 0xBB, 0xBF}, Utf8},
      {"path over 260 characters", deep + L"长.txt", Bytes{0xFE, 0xFF}, Utf16BigEndian},
      {"missing", L"missing.txt", std::nullopt, Unreadable},
      {"folder", L"aaa", std::nullopt, Unreadable},
      // Windows opens these as devices in any folder, with any extension
      // or trailing spaces; elsewhere they are refused all the same.
      {"reserved name", L"aux", Bytes{0xFF, 0xFE}, Unreadable},
      {"with extension and space", L"NUL .tar.gz", Bytes{0xFF, 0xFE}, Unreadable},
      {"port in a folder", L"x/com9.txt", Bytes{0xFF, 0xFE}, Unreadable},
      {"not a port", L"COM10.txt", Bytes{0xFF, 0xFE}, Utf16LittleEndian},
      {"longer name", L"CONSOLE.txt", Bytes{0xFE, 0xFF}, Utf16BigEndian},
      {"long-path form", L"\\\\?\\pipe\\x", std::nullopt, Unreadable},
      {"named pipe", L"\\\\.\\pipe\\kavren-test", std::nullopt, Unreadable},
      {"character device", L"/dev/zero", std::nullopt, Unreadable},
  };
  kavren::testing::TempDir dir;
  dir.Write(L"aaa/x", {});
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(kavren::testing::PathOf(dir.Wide(L"fifo")).c_str(), 0600), 0);
  cases.push_back({"FIFO without a writer", L"fifo", std::nullopt, Unreadable});
#endif
  for (const Case& c : cases) {
    const bool absolute = c.name.starts_with(L"/") || c.name.starts_with(L"\\");
    const std::wstring path = c.bytes ? dir.Write(c.name, *c.bytes) : absolute ? c.name : dir.Wide(c.name);
    EXPECT_EQ(GetFileEncoding(path), c.expected) << c.what;
  }
}

// No handle or descriptor outlives a call, whatever the outcome; and a file
// that another program holds open for writing is still read.
TEST(GetFileEncoding, LeavesNothingOpenAndReadsAFileAnotherProgramWrites) {
  kavren::testing::TempDir dir;
  const std::wstring paths[] = {dir.Write(L"held.txt", {0xFF, 0xFE}), dir.Wide(L"."), L"/dev/zero", L"\\\\.\\pipe\\x"};
#ifdef _WIN32
  for (const std::wstring& path : paths) (void)GetFileEncoding(path);
  const auto open = [&](DWORD access, DWORD share) {
    return ::CreateFileW(paths[0].c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  HANDLE holder = open(GENERIC_READ, 0);  // exclusive: fails while any other handle is open
  ASSERT_NE(holder, INVALID_HANDLE_VALUE) << "a handle was left open";
  EXPECT_EQ(GetFileEncoding(paths[0]), EncodingCode::Unreadable);
  ::CloseHandle(holder);
  holder = open(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_EQ(GetFileEncoding(paths[0]), EncodingCode::Utf16LittleEndian);
  ::CloseHandle(holder);
#else
  const auto open_descriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
  const auto before = open_descriptors();
  for (const std::wstring& path : paths) (void)GetFileEncoding(path);
  EXPECT_EQ(open_descriptors(), before);
#endif
}

}  // namespace
}  // namespace kavren
