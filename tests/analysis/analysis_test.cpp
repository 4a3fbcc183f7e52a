// analysis_test.cpp: the pass and its detector against byte patterns, names and things that cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "analysis/analysis_pass.h"
#include "analysis/file_access.h"
#include "analysis/module1.h"
#include "support/stalled_reader.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace kavren {
namespace {

using Bytes = std::vector<unsigned char>;

// A file in the scratch folder, unless its name starts with / or a
// backslash or names a drive; the bytes written to it first, if any; the
// label it must get, and for an unreadable file why.
struct Case {
  std::wstring name;
  std::optional<Bytes> bytes;
  const wchar_t* label;
  FailureKind why = FailureKind::kNone;
};

// The labels that a pass over `paths` writes, with the lists wired as the
// window wires them.
std::vector<std::wstring> LabelsAfterPass(const std::vector<std::wstring>& paths, ReadAheadPool pool = kReadAheadPool,
                                          RowNotes* unreadable = nullptr, FileReader read = {}) {
  RowList List1, List2;
  CommandButton Command2;
  for (const std::wstring& path : paths) List1.AppendRow(L"bare.txt", path);
  List1.SetSelectionHandler([&] { (void)List2.SelectRow(List1.CurrentRow()); });
  List2.SetSelectionHandler([&] { (void)List1.SelectRow(List2.CurrentRow()); });
  PassOptions options;
  options.pool = pool;
  options.notes = unreadable;
  options.read = std::move(read);
  RunAnalysisPass(List1, List2, Command2, options);
  EXPECT_TRUE(List1.CurrentRow() == List1.RowCount() - 1 && List2.CurrentRow() == kNoRow && !Command2.Enabled());
  std::vector<std::wstring> labels;
  for (RowIndex i = 0; List2.GetRow(i); ++i) labels.emplace_back(*List2.GetRow(i));
  return labels;
}

TEST(RunAnalysisPass, LabelsEachChosenPathByItsMarkOrAsUnreadableAndEndsOnTheLastFile) {
  std::wstring deep;
  for (wchar_t c = L'a'; c < L'i'; ++c) deep += std::wstring(40, c) + L"/";
  std::wstring too_long;  // longer than any path the system opens
  while (too_long.size() <= 32'767) too_long += std::wstring(200, L'l') + L"/";
  std::vector<Case> cases = {
      {L"e.txt", Bytes{}, L"ANSI", FailureKind::kEmpty},
      {L"f.txt", Bytes{0xFF}, L"ANSI"},
      {L"bare.txt", Bytes{0xFF, 0xFE}, L"Unicode"},
      {L"u32.txt", Bytes{0xFF, 0xFE, 0, 0}, L"Unicode"},
      {L"held.txt", Bytes{0xFF, 0xFE}, L"Unicode"},
      {L"be.txt", Bytes{0xFE, 0xFF, 0, 0x41}, L"UUnicodeBigEndian"},
      {L"u8.txt", Bytes{0xEF, 0xBB, 0xBF}, L"UTF8"},
      {L"gbk.txt", Bytes{0xEF, 0xBB, 0xC4, 0xE3}, L"ANSI"},
      {L"\U00020000.txt", Bytes{0xEF, 0xBB, 0xBF}, L"UTF8"},
      {deep + L"第一章 长.txt", Bytes{0xFE, 0xFF}, L"UUnicodeBigEndian"},
      {L"missing.txt", std::nullopt, L"无法读取", FailureKind::kNotFound},
      {too_long + L"a.txt", std::nullopt, L"无法读取", FailureKind::kPathTooLong},
      {L"gone/a.txt", std::nullopt, L"无法读取", FailureKind::kNotFound},
      // Windows opens these as devices in any folder, with any extension
      // or trailing spaces; elsewhere they are refused all the same.
      {L"aux", Bytes{0xFF, 0xFE}, L"无法读取", FailureKind::kNotPlainFile},
      {L"NUL .tar.gz", Bytes{0xFF, 0xFE}, L"无法读取", FailureKind::kNotPlainFile},
      {L"x/com9.txt", Bytes{0xFF, 0xFE}, L"无法读取", FailureKind::kNotPlainFile},
      {L"Lpt3.log", Bytes{0xFF, 0xFE}, L"无法读取", FailureKind::kNotPlainFile},
      {L"x", std::nullopt, L"无法读取", FailureKind::kNotPlainFile},  // the folder
      {L"COM10.txt", Bytes{0xFF, 0xFE}, L"Unicode"},
      {L"CONSOLE.txt", Bytes{0xFE, 0xFF}, L"UUnicodeBigEndian"},
      {L"\\\\?\\pipe\\x", std::nullopt, L"无法读取", FailureKind::kNotPlainFile},
      {L"\\\\.\\pipe\\kavren-test", std::nullopt, L"无法读取", FailureKind::kNotPlainFile},
      // Opened, a pipe on another machine learns who the user is.
      {L"\\\\kavren-test\\PIPE\\x", std::nullopt, L"无法读取", FailureKind::kNotPlainFile},
      {L"\\\\?\\UNC\\kavren-test\\pipe\\x", std::nullopt, L"无法读取", FailureKind::kNotPlainFile},
      {L"\\\\.\\mailslot\\kavren-test", std::nullopt, L"无法读取", FailureKind::kNotPlainFile},
#ifdef _WIN32
      {L"locked.txt", Bytes{0xFF, 0xFE}, L"无法读取", FailureKind::kInUse},
      // Written below, with another mark in syswow64, which a 32-bit program
      // on 64-bit Windows is shown instead.
      {L"C:\\windows\\System32\\kavren-wow64.txt", std::nullopt, L"UUnicodeBigEndian"},
      // Not readable, not even for root.
      {L"Z:\\proc\\sys\\vm\\drop_caches", std::nullopt, L"无法读取", FailureKind::kAccessDenied},
      // Opens, as a character device.
      {L"Z:\\dev\\zero", std::nullopt, L"无法读取", FailureKind::kNotPlainFile},
#else
      // Not readable, not even for root.
      {L"/proc/sys/vm/drop_caches", std::nullopt, L"无法读取", FailureKind::kAccessDenied},
      // Here the name alone decides; Wine, asked for a share, starts services that outlive the test.
      {L"\\\\kavren-test\\pipeline\\a.txt", std::nullopt, L"无法读取", FailureKind::kNotFound},
#endif
  };
  kavren::testing::TempDir dir;
#ifdef _WIN32
  // With redirection off, or a 32-bit test would write both into syswow64.
  PVOID redirection = nullptr;
  ::Wow64DisableWow64FsRedirection(&redirection);
  std::ofstream(L"C:\\windows\\system32\\kavren-wow64.txt").write("\xFE\xFF", 2);
  std::ofstream(L"C:\\windows\\syswow64\\kavren-wow64.txt").write("\xFF\xFE", 2);
  ::Wow64RevertWow64FsRedirection(redirection);
#else
  ASSERT_EQ(::mkfifo(kavren::testing::PathOf(dir.Wide(L"fifo")).c_str(), 0600), 0);
  cases.push_back({L"fifo", std::nullopt, L"无法读取", FailureKind::kNotPlainFile});
#endif
  std::vector<std::wstring> paths;
  for (const Case& c : cases) {
    const bool absolute = c.name.starts_with(L"/") || c.name.starts_with(L"\\") || c.name.find(L':') == 1;
    paths.push_back(c.bytes ? dir.Write(c.name, *c.bytes) : absolute ? c.name : dir.Wide(c.name));
    // The current directory holds files of the same names, and of the rows'
    // bare name: only the chosen full paths may decide the labels.
    if (!absolute && c.name.size() < 100) dir.Write(L"cwd/" + c.name, {0xFE, 0xFF});
  }
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(kavren::testing::PathOf(dir.Wide(L"cwd")));
  // No handle or descriptor outlives a file's examination, whatever its outcome.
#ifdef _WIN32
  auto open = [&](DWORD access, DWORD share) {
    return ::CreateFileW(dir.Wide(L"held.txt").c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  // Another program writes the file, and asked for delete access as well, as editors and downloaders do.
  const HANDLE holder = open(GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  const HANDLE locker = ::CreateFileW(dir.Wide(L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
  RowNotes unreadable;
  const std::vector<std::wstring> labels = LabelsAfterPass(paths, kReadAheadPool, &unreadable);
  ::CloseHandle(holder);
  const HANDLE alone = open(GENERIC_READ, 0);  // exclusive: fails while any other handle is open
  EXPECT_NE(alone, INVALID_HANDLE_VALUE) << "a handle was left open";
  ::CloseHandle(alone);
#else
  const auto descriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
  const auto before = descriptors();
  RowNotes unreadable;
  const std::vector<std::wstring> labels = LabelsAfterPass(paths, kReadAheadPool, &unreadable);
  EXPECT_EQ(descriptors(), before) << "a descriptor was left open";
#endif
  std::filesystem::current_path(saved);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(labels.at(i), cases[i].label) << paths[i];
    const auto found = unreadable.find(static_cast<RowIndex>(i));
    EXPECT_EQ(found == unreadable.end() ? FailureKind::kNone : found->second.kind, cases[i].why) << paths[i];
  }
  EXPECT_EQ(LabelsAfterPass(paths, {0, 0}), labels) << "the files read ahead got other labels than one by one";
#ifdef _WIN32
  ::CloseHandle(locker);
#endif
  EXPECT_TRUE(LabelsAfterPass({}).empty());
  // Many short passes: a wake-up lost between a worker and the pass would leave it waiting for ever.
  for (int round = 0; round < 300; ++round) EXPECT_EQ(LabelsAfterPass({9, paths[2]}).size(), 9u);
  // Many unreadable or online only at once, on a thread of the pass's own as the window runs it, taken in
  // batches: every reason kept, whichever thread found it, and every file opened once. The files are gone at
  // once, so that the threads take rows as fast as they can.
  auto missing = std::make_shared<std::vector<std::wstring>>();
  for (int i = 0; i < 50'000; ++i) missing->push_back(std::to_wstring(i));
  std::vector<std::atomic<int>> opens(missing->size());
  BackgroundPass background(missing, {64, 64},
                            [&](const std::wstring& path, ReadFailure& failure) {
                              const std::size_t row = std::stoul(path);
                              ++opens[row];
                              failure.kind = row % 2 ? FailureKind::kOnlineOnly : FailureKind::kNotFound;
                              return row % 2 ? EncodingCode::kOnlineOnly : EncodingCode::kUnreadable;
                            },
                            {});
  BackgroundPass::Batch many;
  while (!many.over) {
    BackgroundPass::Batch batch = background.Take();
    many.codes.insert(many.codes.end(), batch.codes.begin(), batch.codes.end());
    many.notes.merge(batch.notes);
    many.over = batch.over;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(many.codes.size(), missing->size());
  EXPECT_EQ(many.notes.size(), missing->size());
  EXPECT_TRUE(many.codes[1] == EncodingCode::kOnlineOnly && many.notes[1].kind == FailureKind::kOnlineOnly);
  EXPECT_TRUE(std::all_of(opens.begin(), opens.end(), [](const auto& count) { return count == 1; }))
      << "a file was opened twice";
  // Each reason says its own cause, kind by kind.
  const std::wstring_view words[] = {L"",           L"找不到文件",       L"拒绝访问",
                                     L"另一个程序", L"不是普通文件",     L"路径太长",
                                     L"读取时出错", L"空文件（0 字节）", L"始终保留在此设备上"};
  for (int kind = 1; kind < 9; ++kind) EXPECT_NE(FailureText(FailureKind(kind)).find(words[kind]), words->npos) << kind;
}

// Cloud files cannot be made here or under Wine (which keeps only the hidden
// and system attributes): the attributes the Windows side finds on opening a
// file decide whether it reads it. What becomes of one left unread is in the
// pass above.
TEST(DataIsOnThisComputer, IsFalseForOnlineOnlyRecalledAndOfflineFilesAndTrueForPinnedAndPlainOnes) {
  const std::pair<std::uint32_t, bool> read_or_not[] = {
      {0x0040'0400, false},  // online only: recall on data access, a reparse point
      {0x0004'0000, false},  // recalled on open
      {0x1000, false},       // offline
      {0x0008'0400, true},   // pinned: always kept on this device
      {0x0040'0020, false},  // a placeholder disguised, without its reparse point
  };
  for (const auto& [attributes, read] : read_or_not) EXPECT_EQ(DataIsOnThisComputer(attributes), read) << attributes;
}

TEST(RunAnalysisPass, AStopWhileAFileStallsReturnsAtOnceWithTheRowsBeforeItAndLeavesItsReaderBehindSafely) {
  using namespace std::chrono_literals;
  kavren::testing::TempDir dir;
  kavren::testing::StalledReader stalled(L"stall.txt");
  RowList List1;
  RowList List2;
  CommandButton Command2;
  // The one worker stalls on the last row, every row taken.
  for (int i = 0; i < 40; ++i) {
    const std::wstring name = i == 39 ? L"stall.txt" : std::to_wstring(i) + L".txt";
    List1.AppendRow(name, dir.Write(name, {0xEF, 0xBB, 0xBF}));
  }
  std::stop_source stop;
  int waiting = 0;  // progress told while row 39 is still unread
  auto stopped_at = std::chrono::steady_clock::now();
  PassOptions options;
  options.progress = [&](RowIndex done, RowIndex) {
    // A few slices of waiting, then the user stops.
    if (done == 39 && ++waiting == 3) {
      stopped_at = std::chrono::steady_clock::now();
      stop.request_stop();
    }
  };
  options.pool = {1, 1};
  options.stop = stop.get_token();
  options.read = stalled.Reader();
  EXPECT_EQ(RunAnalysisPass(List1, List2, Command2, options), 39);
  EXPECT_LT(std::chrono::steady_clock::now() - stopped_at, 5s) << "the pass waited for the stalled file";
  EXPECT_EQ(waiting, 3) << "no progress while the pass waited, so nothing could stop it";
  EXPECT_EQ(List2.RowCount(), 39);
  EXPECT_FALSE(Command2.Enabled());
  // The read returns later, into nothing of the caller's.
  stalled.Release();
  std::this_thread::sleep_for(200ms);
}

}  // namespace
}  // namespace kavren
