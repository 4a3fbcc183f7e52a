// analysis_test.cpp: the pass and its detector against byte patterns, names and things that cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "analysis/analysis_pass.h"
#include "analysis/file_access.h"
#include "analysis/label_texts.h"
#include "analysis/module1.h"
#include "support/stalled_reader.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include "common/handles_win32.h"
#else
#include <sys/stat.h>
#endif

namespace kavren {
namespace {

using Bytes = std::vector<unsigned char>;
using Outcome = std::pair<std::wstring, FailureKind>;

// A file in the scratch folder, unless its name starts with / or a
// backslash or names a drive; the bytes written to it first, if any; the
// label it must get, and why, for an unreadable or empty file.
using Case = std::tuple<std::wstring, std::optional<Bytes>, const wchar_t*, FailureKind>;

// The labels that a pass over `paths` writes; the pass's notes go to `notes`, if given. (The lists' mirrors, which
// the pass's selection raises, run in every window test.)
std::vector<std::wstring> LabelsAfterPass(const std::vector<std::wstring>& paths, RowNotes* notes = nullptr) {
  RowList List1;
  RowList List2;
  CommandButton Command2;
  for (const std::wstring& path : paths) List1.AppendRow(L"bare.txt", path);
  RunAnalysisPassToEnd(List1, List2, Command2, kReadAheadPool, {}, notes);
  std::vector<std::wstring> labels;
  for (RowIndex i = 0; List2.GetRow(i); ++i) labels.emplace_back(*List2.GetRow(i));
  return labels;
}

TEST(RunAnalysisPass, LabelsEachFileByTheMarkItBeginsWithAndWhatItCannotReadUnreadableWithTheCause) {
  std::wstring deep;
  for (wchar_t c = L'a'; c < L'i'; ++c) deep += std::wstring(40, c) + L"/";
  std::wstring too_long;  // longer than any path the system opens
  while (too_long.size() <= 32'767) too_long += std::wstring(200, L'l') + L"/";
  kavren::testing::TempDir dir;
  using enum FailureKind;
  std::vector<Case> cases = {
      {L"e.txt", Bytes{}, L"ANSI", kEmpty},
      {L"f.txt", Bytes{0xFF}, L"ANSI", kNone},
      {L"le.txt", Bytes{0xFF, 0xFE}, L"Unicode", kNone},
      {L"u32.txt", Bytes{0xFF, 0xFE, 0, 0}, L"Unicode", kNone},
      {L"be.txt", Bytes{0xFE, 0xFF, 0, 0x41}, L"UUnicodeBigEndian", kNone},
      {L"u8.txt", Bytes{0xEF, 0xBB, 0xBF}, L"UTF8", kNone},
      {L"gbk.txt", Bytes{0xEF, 0xBB, 0xC4, 0xE3}, L"ANSI", kNone},
      {L"\U00020000.txt", Bytes{0xEF, 0xBB, 0xBF}, L"UTF8", kNone},
      {deep + L"第一章 长.txt", Bytes{0xFE, 0xFF}, L"UUnicodeBigEndian", kNone},
      // Named like devices, but not quite.
      {L"COM10.txt", Bytes{0xFF, 0xFE}, L"Unicode", kNone},
      {L"CONSOLE.txt", Bytes{0xFE, 0xFF}, L"UUnicodeBigEndian", kNone},
      // What it cannot read is unreadable, with the cause.
      {L"missing.txt", std::nullopt, L"无法读取", kNotFound},
      {L"gone/a.txt", std::nullopt, L"无法读取", kNotFound},
      {too_long + L"a.txt", std::nullopt, L"无法读取", kPathTooLong},
      // Windows opens these as devices in any folder, with any extension
      // or trailing spaces; elsewhere they are refused all the same.
      {L"aux", Bytes{0xFF, 0xFE}, L"无法读取", kNotPlainFile},
      {L"NUL .tar.gz", Bytes{0xFF, 0xFE}, L"无法读取", kNotPlainFile},
      {L"x/Com9.txt", Bytes{0xFF, 0xFE}, L"无法读取", kNotPlainFile},
      {L"x", std::nullopt, L"无法读取", kNotPlainFile},  // the folder
      {L"\\\\?\\pipe\\x", std::nullopt, L"无法读取", kNotPlainFile},
      {L"\\\\.\\pipe\\kavren-test", std::nullopt, L"无法读取", kNotPlainFile},
      // Opened, a pipe on another machine learns who the user is.
      {L"\\\\kavren-test\\PIPE\\x", std::nullopt, L"无法读取", kNotPlainFile},
      {L"\\\\?\\UNC\\kavren-test\\pipe\\x", std::nullopt, L"无法读取", kNotPlainFile},
      {L"\\\\.\\mailslot\\kavren-test", std::nullopt, L"无法读取", kNotPlainFile},
#ifdef _WIN32
      // Opens, as a character device.
      {L"Z:\\dev\\zero", std::nullopt, L"无法读取", kNotPlainFile},
      // Not readable, not even for root.
      {L"Z:\\proc\\sys\\vm\\drop_caches", std::nullopt, L"无法读取", kAccessDenied},
#else
      {L"/proc/sys/vm/drop_caches", std::nullopt, L"无法读取", kAccessDenied},
      // Here the name alone decides; Wine, asked for a share, starts services that outlive the test.
      {L"\\\\kavren-test\\pipeline\\a.txt", std::nullopt, L"无法读取", kNotFound},
#endif
  };
#ifdef _WIN32
  // Another program writing a file, which asked for delete access as well as editors and downloaders do, lets it
  // be read. (One that shares nothing is the window tests' held b.txt.)
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  const win32::unique_file holder(::CreateFileW(dir.Write(L"held.txt", {0xFF, 0xFE}).c_str(), GENERIC_WRITE | DELETE,
                                                share, nullptr, OPEN_EXISTING, 0, nullptr));
  cases.push_back({L"held.txt", std::nullopt, L"Unicode", kNone});
#else
  ASSERT_EQ(::mkfifo(kavren::testing::PathOf(dir.Wide(L"fifo")).c_str(), 0600), 0);
  cases.push_back({L"fifo", std::nullopt, L"无法读取", kNotPlainFile});
#endif
  // Each case's file made, then one pass over them all: each label, and the reason if any.
  std::vector<std::wstring> paths;
  for (const auto& [name, bytes, label, why] : cases) {
    const bool absolute = name.starts_with(L"/") || name.starts_with(L"\\") || name.find(L':') == 1;
    paths.push_back(bytes ? dir.Write(name, *bytes) : absolute ? name : dir.Wide(name));
  }
  RowNotes notes;
  const std::vector<std::wstring> labels = LabelsAfterPass(paths, &notes);
  ASSERT_EQ(labels.size(), cases.size());
  for (RowIndex i = 0; i < static_cast<RowIndex>(cases.size()); ++i) {
    const Outcome outcome(labels[i], notes.contains(i) ? notes[i].kind : kNone);
    EXPECT_EQ(outcome, Outcome(std::get<2>(cases[i]), std::get<3>(cases[i]))) << paths[i];
  }
}

// The word in the tip that tells the user what to do about each cause; a mix-up sends them after the wrong thing.
TEST(FailureText, NamesEachCauseInItsOwnWords) {
  using enum FailureKind;
  const std::pair<FailureKind, std::wstring_view> words[] = {
      {kNotFound, L"找不到文件"},       {kAccessDenied, L"拒绝访问"}, {kInUse, L"另一个程序"},
      {kNotPlainFile, L"不是普通文件"}, {kPathTooLong, L"路径太长"},  {kEmpty, L"空文件"},
      {kOnlineOnly, L"仅联机"},         {kOther, L"读取时出错"},
  };
  for (const auto& [kind, word] : words) EXPECT_NE(FailureText(kind).find(word), std::wstring_view::npos) << int(kind);
}

// A file read, an empty one, a folder and a file that is not there. Then passes of none and of a few files: a
// wake-up lost between a worker and the pass would leave it waiting for ever, which ctest's timeout turns into a
// failure.
TEST(RunAnalysisPass, LeavesNoHandleOrDescriptorOpenWhateverAFileTurnsOutToBeAndEndsEveryTimeHoweverShortThePass) {
  kavren::testing::TempDir dir;
  const std::wstring file = dir.Write(L"a.txt", {0xFF, 0xFE});
  const std::vector<std::wstring> paths = {file, dir.Write(L"e.txt", {}), dir.Wide(L""), dir.Wide(L"missing.txt")};
#ifdef _WIN32
  (void)LabelsAfterPass(paths);
  // Exclusive: fails while any other handle is open.
  EXPECT_TRUE(win32::unique_file(::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
#else
  const auto descriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
  const auto before = descriptors();
  (void)LabelsAfterPass(paths);
  EXPECT_EQ(descriptors(), before);
#endif
  for (int round = 0; round < 300; ++round) {
    for (std::size_t rows : {0u, 9u}) EXPECT_EQ(LabelsAfterPass(std::vector(rows, file)).size(), rows);
  }
}

// Each row's verdict in a pass over rows whose files have no mark.
ContentVerdict VerdictOfRow(std::size_t row) { return {static_cast<ContentKind>(row / 2 % 5), row % 3 == 0}; }

// 50,000 files, half of them online only and half without a mark, each with a
// verdict of its own, through a pass on a thread of its own taken in batches
// as the window takes them; the files are read at once, so that the threads
// take rows as fast as they can. `opens` has a counter for each file. The
// first reads wait on the storage, as on a share: the pool grows.
TEST(BackgroundPass, KeepsEveryRowsReasonAndVerdictWhicheverThreadFoundItAndOpensEachFileOnce) {
  std::vector<std::atomic<int>> opens(50'000);
  std::atomic<int> readers = 0;
  auto paths = std::make_shared<std::vector<std::wstring>>();
  for (std::size_t i = 0; i < opens.size(); ++i) paths->push_back(std::to_wstring(i));
  BackgroundPass background(paths, {8, 64},
                            [&](const std::wstring& path, ReadFailure& failure, ContentVerdict& content) {
                              const std::size_t row = std::stoul(path);
                              ++opens[row];
                              static thread_local bool counted = false;
                              if (!std::exchange(counted, true)) ++readers;
                              if (row < 400) std::this_thread::sleep_for(std::chrono::milliseconds(5));
                              if (row % 2 == 0) content = VerdictOfRow(row);
                              failure.kind = row % 2 ? FailureKind::kOnlineOnly : FailureKind::kNone;
                              return row % 2 ? EncodingCode::kOnlineOnly : EncodingCode::kNoMark;
                            },
                            {});
  PassFindings all;
  for (bool over = false; !over;) {
    BackgroundPass::Taken batch = background.Take();
    all.codes.insert(all.codes.end(), batch.found.codes.begin(), batch.found.codes.end());
    all.contents.insert(all.contents.end(), batch.found.contents.begin(), batch.found.contents.end());
    all.notes.merge(batch.found.notes);
    over = batch.over;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(all.codes.size(), opens.size());
  ASSERT_EQ(all.contents.size(), opens.size());
  EXPECT_EQ(all.notes.size(), opens.size() / 2);
  EXPECT_EQ(all.codes.at(1), EncodingCode::kOnlineOnly);
  EXPECT_EQ(all.notes.at(1).kind, FailureKind::kOnlineOnly);
  for (std::size_t row = 0; row < opens.size(); row += 2) {
    ASSERT_EQ(all.codes[row], EncodingCode::kNoMark) << row;
    ASSERT_EQ(all.contents[row], VerdictOfRow(row)) << row;
  }
  EXPECT_TRUE(std::all_of(opens.begin(), opens.end(), [](const auto& count) { return count == 1; }));
  EXPECT_GT(readers, 8) << "the pool never grew";
}

#ifdef _WIN32
// What the attribute query answers of every file, as each row of the table below sets it.
std::pair<std::optional<std::uint32_t>, std::uint32_t> attribute_answer;

// A placeholder is labelled as such without a read, and a file whose attributes the storage keeps to itself is
// not read either, and says why. Neither Wine nor Linux can make such files: the seam stands in for the query.
TEST(ReadFileHead, ReadsOnlyWhatTheAttributesSayIsOnThisComputer) {
  kavren::testing::TempDir dir;
  const std::wstring file = dir.Write(L"a.txt", {0xFF, 0xFE});
  SetAttributeQuery([](const std::wstring&, std::uint32_t& error) {
    error = attribute_answer.second;
    return attribute_answer.first;
  });
  using enum FailureKind;
  constexpr EncodingCode kRead = EncodingCode::kUtf16LittleEndian, kOnline = EncodingCode::kOnlineOnly;
  const std::tuple<std::optional<std::uint32_t>, std::uint32_t, EncodingCode, FailureKind> answers[] = {
      {0x0040'0400, 0, kOnline, kOnlineOnly},  // online only: recall on data access, a reparse point
      {0x0004'0000, 0, kOnline, kOnlineOnly},  // recalled on open
      {0x1000, 0, kOnline, kOnlineOnly},       // offline
      {0x0040'0020, 0, kOnline, kOnlineOnly},  // a placeholder disguised, without its reparse point
      {0x0008'0400, 0, kRead, kNone},          // pinned: always kept on this device
      {0x0010'0400, 0, kRead, kNone},          // unpinned, not yet sent back to the cloud
      {0x0050'0400, 0, kOnline, kOnlineOnly},  // unpinned, and gone
      {0x20, 0, kRead, kNone},                 // a plain file
      {std::nullopt, ERROR_ACCESS_DENIED, EncodingCode::kUnreadable, kAccessDenied},
      {std::nullopt, ERROR_INVALID_FUNCTION, EncodingCode::kUnreadable, kOther},
  };
  for (const auto& [attributes, error, code, why] : answers) {
    attribute_answer = {attributes, error};
    ReadFailure failure;
    EXPECT_EQ(GetFileEncoding(file, failure), code) << error;
    EXPECT_EQ(std::pair(failure.kind, failure.system_error), std::pair(why, error)) << error;
  }
  SetAttributeQuery(nullptr);
}
#endif

// Out of threads (a pool of none stands for it): no file is read on the pass's own thread, where a stalled one
// would keep Esc and a close waiting; the pass ends at once, saying why.
TEST(BackgroundPass, WithNoThreadToReadWithEndsBeforeItsFirstFileAndSaysWhy) {
  std::atomic<int> reads = 0;
  std::atomic<bool> over = false;
  BackgroundPass pass(
      std::make_shared<std::vector<std::wstring>>(9, L"a.txt"), {0, 0},
      [&](const std::wstring&, ReadFailure&, ContentVerdict&) { return EncodingCode(++reads); }, [&] { over = true; });
  while (!over) std::this_thread::yield();
  EXPECT_TRUE(pass.Take().starved && reads == 0);
}

// The one worker stalls on the last row, every row taken; the window stops the pass as the user presses Esc.
TEST(BackgroundPass, AStopWhileAFileStallsEndsAtOnceWithTheRowsBeforeItAndLeavesItsReaderBehindSafely) {
  using namespace std::chrono_literals;
  kavren::testing::StalledReader stalled(L"stall.txt");
  auto paths = std::make_shared<std::vector<std::wstring>>();
  for (int i = 0; i < 39; ++i) paths->push_back(std::to_wstring(i) + L".txt");
  paths->push_back(L"stall.txt");
  std::atomic<bool> over = false;
  std::size_t taken = 0;
  auto stopped_at = std::chrono::steady_clock::now();
  {
    BackgroundPass pass(paths, {1, 1}, stalled.Reader(), [&] { over = true; });
    while (taken < 39 && std::chrono::steady_clock::now() - stopped_at < 10s) taken += pass.Take().found.codes.size();
    std::this_thread::sleep_for(300ms);  // a few slices of waiting
    stopped_at = std::chrono::steady_clock::now();
    pass.RequestStop();
    while (!over && std::chrono::steady_clock::now() - stopped_at < 10s) std::this_thread::sleep_for(1ms);
    EXPECT_LT(std::chrono::steady_clock::now() - stopped_at, 5s) << "the pass waited for the stalled file";
    taken += pass.Take().found.codes.size();
  }
  EXPECT_EQ(taken, 39u);
  // The read returns later, into nothing of the pass's owner.
  stalled.Release();
  std::this_thread::sleep_for(200ms);
}

}  // namespace
}  // namespace kavren
