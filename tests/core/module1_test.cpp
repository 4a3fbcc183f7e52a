// module1_test.cpp: the detector against byte patterns, short files and unreadable kinds.
#include "analysis/module1.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/device_names.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kavren {
namespace {

using Bytes = std::vector<unsigned char>;
using kavren::testing::TempDir;

struct MarkCase {
  const char* what;
  Bytes bytes;
  EncodingCode expected;
};

TEST(GetFileEncoding, NamesTheMarkAFileBeginsWith) {
  const std::vector<MarkCase> cases = {
      {"empty", {}, EncodingCode::NoMark},
      {"one byte FF", {0xFF}, EncodingCode::NoMark},
      {"one byte EF", {0xEF}, EncodingCode::NoMark},
      {"UTF-16 LE mark alone", {0xFF, 0xFE}, EncodingCode::Utf16LittleEndian},
      {"UTF-16 LE text", {0xFF, 0xFE, 0x61, 0x00}, EncodingCode::Utf16LittleEndian},
      {"UTF-32 LE mark", {0xFF, 0xFE, 0x00, 0x00}, EncodingCode::Utf16LittleEndian},
      {"UTF-16 BE mark alone", {0xFE, 0xFF}, EncodingCode::Utf16BigEndian},
      {"UTF-32 BE mark", {0x00, 0x00, 0xFE, 0xFF}, EncodingCode::NoMark},
      {"UTF-8 mark alone", {0xEF, 0xBB, 0xBF}, EncodingCode::Utf8},
      {"UTF-8 text", {0xEF, 0xBB, 0xBF, 0xE4, 0xB8, 0xAD}, EncodingCode::Utf8},
      {"EF BB without BF", {0xEF, 0xBB}, EncodingCode::NoMark},
      {"EF BB 00", {0xEF, 0xBB, 0x00}, EncodingCode::NoMark},
      {"GBK text starting EF BB", {0xEF, 0xBB, 0xC4, 0xE3}, EncodingCode::NoMark},
      {"BB EF", {0xBB, 0xEF}, EncodingCode::NoMark},
      {"FE FE", {0xFE, 0xFE}, EncodingCode::NoMark},
      {"FF FF", {0xFF, 0xFF}, EncodingCode::NoMark},
      {"plain ASCII", {'a', 'b'}, EncodingCode::NoMark},
  };
  TempDir dir;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto path = dir.Write(L"case" + std::to_wstring(i) + L".txt", cases[i].bytes);
    EXPECT_EQ(GetFileEncoding(path), cases[i].expected) << cases[i].what;
  }
}

TEST(GetFileEncoding, ReadsAfreshOnEveryCall) {
  TempDir dir;
  const auto path = dir.Write(L"same.txt", {0xFE, 0xFF});
  EXPECT_EQ(GetFileEncoding(path), EncodingCode::Utf16BigEndian);
  EXPECT_EQ(GetFileEncoding(path), EncodingCode::Utf16BigEndian);
  dir.Write(L"same.txt", {0xEF, 0xBB, 0xBF});
  EXPECT_EQ(GetFileEncoding(path), EncodingCode::Utf8);
}

TEST(GetFileEncoding, ExaminesNamesOutsideTheAnsiCodePage) {
  TempDir dir;
  const auto path = dir.Write(L"第一章 小说.txt", {0xFF, 0xFE, 0x2C, 0x7B});
  EXPECT_EQ(GetFileEncoding(path), EncodingCode::Utf16LittleEndian);
}

TEST(GetFileEncoding, ExaminesPathsLongerThanMaxPath) {
  TempDir dir;
  std::wstring deep;
  for (int i = 0; i < 8; ++i) deep += std::wstring(40, static_cast<wchar_t>(L'a' + i)) + L"/";
  const auto path = dir.Write(deep + L"长路径.txt", {0xEF, 0xBB, 0xBF});
  ASSERT_GT(path.size(), 300u);
  EXPECT_EQ(GetFileEncoding(path), EncodingCode::Utf8);
}

TEST(GetFileEncoding, ReportsWhatCannotBeReadAsUnreadable) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder");
  std::vector<std::pair<const char*, std::wstring>> cases = {
      {"missing file", dir.Wide(L"missing.txt")},
      {"folder", dir.Wide(L"folder")},
      {"empty name", L""},
      {"named pipe", L"\\\\.\\pipe\\kavren-test"},
      {"console device", L"CON"},
  };
#ifndef _WIN32
  // Elsewhere these are ordinary files; they are refused all the same, so a
  // list that came from Windows behaves the same everywhere.
  cases.emplace_back("device name with extension", dir.Write(L"nul.txt", {0xFF, 0xFE}));
  cases.emplace_back("port name", dir.Write(L"COM1", {0xFF, 0xFE}));
  const auto fifo = dir.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  cases.emplace_back("FIFO without a writer", fifo.wstring());
  cases.emplace_back("character device", L"/dev/zero");
#endif
  for (const auto& [what, path] : cases) {
    EXPECT_EQ(GetFileEncoding(path), EncodingCode::Unreadable) << what;
  }
}

TEST(NamesDevice, KnowsReservedNamesAndDevicePaths) {
  const std::vector<std::pair<std::wstring, bool>> cases = {
      {L"CON", true},         {L"con", true},           {L"C:\\docs\\aux.txt", true},
      {L"NUL .txt", true},    {L"prn.tar.gz", true},    {L"COM9", true},
      {L"lpt1.log", true},    {L"COM\u00B9", true},     {L"D:\\x\\CONOUT$", true},
      {L"com1:", true},       {L"\\\\.\\pipe\\a", true}, {L"\\\\?\\pipe\\a", true},
      {L"\\\\.\\C:", true},   {L"CONSOLE.txt", false},  {L"COM0", false},
      {L"COM10", false},      {L"LPT", false},          {L"xcon.txt", false},
      {L"C:\\con\\a.txt", false}, {L"\\\\?\\C:\\d\\a.txt", false},
      {L"\\\\?\\UNC\\srv\\share\\a.txt", false}, {L"\\\\srv\\share\\a.txt", false},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(NamesDevice(path), expected) << ::testing::PrintToString(path);
  }
}

#ifdef _WIN32

TEST(GetFileEncoding, ReadsAFileAnotherProgramIsWritingButNotOneHeldExclusively) {
  TempDir dir;
  const auto path = dir.Write(L"held.txt", {0xFF, 0xFE});
  {
    HANDLE writer = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileEncoding(path), EncodingCode::Utf16LittleEndian);
    ::CloseHandle(writer);
  }
  {
    HANDLE exclusive = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileEncoding(path), EncodingCode::Unreadable);
    ::CloseHandle(exclusive);
  }
}

TEST(GetFileEncoding, LeavesNoHandleOpen) {
  TempDir dir;
  const auto path = dir.Write(L"closed.txt", {0xEF, 0xBB, 0xBF});
  for (int i = 0; i < 3; ++i) (void)GetFileEncoding(path);
  // An exclusive open succeeds only when no handle to the file is left.
  HANDLE exclusive = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
  if (exclusive != INVALID_HANDLE_VALUE) ::CloseHandle(exclusive);
}

#else

std::size_t OpenDescriptors() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

TEST(GetFileEncoding, LeavesNoDescriptorOpenOnAnyPath) {
  TempDir dir;
  const auto file = dir.Write(L"a.txt", {0xFF, 0xFE});
  std::filesystem::create_directory(dir.path() / "folder");
  const auto fifo = dir.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::size_t before = OpenDescriptors();
  for (int i = 0; i < 10; ++i) {
    (void)GetFileEncoding(file);
    (void)GetFileEncoding(dir.Wide(L"folder"));
    (void)GetFileEncoding(fifo.wstring());
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(GetFileEncoding, FileWithoutReadPermissionIsUnreadable) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  const auto path = dir.Write(L"locked.txt", {0xFF, 0xFE});
  std::filesystem::permissions(kavren::testing::PathOf(path), std::filesystem::perms::none);
  EXPECT_EQ(GetFileEncoding(path), EncodingCode::Unreadable);
}

#endif

}  // namespace
}  // namespace kavren
