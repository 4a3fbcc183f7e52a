// pass_bench.cpp: the analysis pass, with several read-ahead pools, against a bare serial loop over the same
// files: warm, with the page cache dropped before every round, through a simulated network share, and for a
// handful of files.
#include <fcntl.h>
#include <malloc.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "analysis/analysis_pass.h"
#include "support/temp_dir.h"
#include "timing.h"

namespace {

using kavren::bench::Median;
using kavren::bench::MsSince;

constexpr int kWarmFiles = 20'000;
constexpr int kWarmRounds = 7;
constexpr int kColdFiles = 20'000;
constexpr int kColdFolders = 200;
constexpr int kColdRounds = 3;
constexpr int kShareFiles = 2'000;
constexpr int kShareRounds = 3;
constexpr int kShareDelayUs = 2'000;  // a round trip to a NAS on a home network
constexpr int kSmallFiles = 10;
constexpr int kSmallRounds = 15;
constexpr int kSmallPasses = 200;     // one pass of ten files is too short to time alone
constexpr double kSmallNoise = 0.03;  // what two runs of the very same pass differed by here
constexpr double kWarmGoal = 0.75;
constexpr double kColdGoal = 0.15;
constexpr double kShareGoal = 0.05;
constexpr int kStallMs = 20'000;    // a NAS waking its disks
constexpr int kStalledRow = 1'000;  // f1000.txt
constexpr int kStopRounds = 3;
constexpr std::size_t kReadBytes = 4096;  // what the program reads of each file: one page

// Fixed pools, against which the chosen one is set; each runs in turn with
// the loop, round after round.
struct Pool {
  const char* name;
  kavren::ReadAheadPool pool;
};
const Pool kPools[] = {
    {"8", {8, 8}},    {"16", {16, 16}}, {"32", {32, 32}},
    {"48", {48, 48}}, {"64", {64, 64}}, {"chosen", kavren::DefaultReadAheadPool()},
};
constexpr std::string_view kChosen = "chosen";
constexpr std::string_view kEight = "8";  // what the pass kept before the pool could grow

// Chapters of a little more than a page, as a folder of downloaded novels
// holds them: UTF-8 with and without the mark, UTF-16 both ways, and GBK, so
// that the pass judges a whole page of UTF-8 in one file of five and reads
// a full page of every file. Spread over `folders` folders.
std::vector<std::wstring> MakeFiles(const kavren::testing::TempDir& dir, int count, int folders) {
  using Bytes = std::vector<unsigned char>;
  const auto chapter = [](Bytes mark, Bytes text) {
    while (mark.size() < kReadBytes + 1'000) mark.insert(mark.end(), text.begin(), text.end());
    return mark;
  };
  const Bytes zhong_utf8 = {0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87, 0xE3, 0x80, 0x82, '\r', '\n'};
  static const std::vector<Bytes> kChapters = {chapter({0xEF, 0xBB, 0xBF}, zhong_utf8),
                                               chapter({0xFF, 0xFE}, {0x2D, 0x4E, 0x87, 0x65}),
                                               chapter({0xFE, 0xFF}, {0x4E, 0x2D, 0x65, 0x87}), chapter({}, zhong_utf8),
                                               chapter({}, {0xD6, 0xD0, 0xCE, 0xC4, '\r', '\n'})};
  std::vector<std::wstring> paths;
  for (int i = 0; i < count; ++i) {
    const std::wstring name = L"d" + std::to_wstring(i % folders) + L"/f" + std::to_wstring(i) + L".txt";
    paths.push_back(dir.Write(name, kChapters[static_cast<std::size_t>(i) % kChapters.size()]));
  }
  return paths;
}

// The bare serial loop: open, the one fstat that refuses FIFOs and devices,
// read the page the program reads, close. Returns milliseconds.
// With `threads`, the same loop on that many threads taking the files in
// turn, and nothing else: what the storage allows at most, for comparison.
double TimeLoop(const std::vector<std::string>& paths, int threads = 0) {
  const auto start = std::chrono::steady_clock::now();
  std::atomic<unsigned> checksum = 0;
  std::atomic<std::size_t> next = 0;
  const auto read_files = [&] {
    for (std::size_t i; (i = next++) < paths.size();) {
      unsigned char head[kReadBytes];
      const int fd = ::open(paths[i].c_str(), O_RDONLY | O_NONBLOCK);
      if (fd < 0) continue;
      struct stat info {};
      if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::read(fd, head, sizeof head) > 0) checksum += head[0];
      ::close(fd);
    }
  };
  if (threads == 0) {
    read_files();
  } else {
    std::vector<std::jthread> readers;
    for (int i = 0; i < threads; ++i) readers.emplace_back(read_files);
  }
  const double ms = MsSince(start);
  if (checksum == 0) std::printf("(no file read)\n");
  return ms;
}

// The pass as the window runs it: lists wired to mirror each other.
double TimePass(const std::vector<std::wstring>& paths, kavren::ReadAheadPool pool) {
  kavren::RowList List1, List2;
  kavren::CommandButton Command2;
  for (const std::wstring& path : paths) List1.AppendRow(path.substr(path.rfind(L'/') + 1), path);
  List1.SetSelectionHandler([&] { (void)List2.SelectRow(List1.CurrentRow()); });
  List2.SetSelectionHandler([&] { (void)List1.SelectRow(List2.CurrentRow()); });
  const auto start = std::chrono::steady_clock::now();
  kavren::RunAnalysisPassToEnd(List1, List2, Command2, pool);
  const double ms = MsSince(start);
  if (List2.RowCount() != static_cast<kavren::RowIndex>(paths.size())) std::printf("error: rows left unlabelled\n");
  return ms;
}

// Empties the page cache, so that every file is read from the disk again.
bool DropCaches() {
  ::sync();
  std::ofstream control("/proc/sys/vm/drop_caches");
  control << "3\n";
  control.flush();
  return static_cast<bool>(control);
}

std::vector<std::string> Narrow(const std::vector<std::wstring>& paths) {
  std::vector<std::string> narrow;
  for (const std::wstring& path : paths) narrow.emplace_back(path.begin(), path.end());  // ASCII names
  return narrow;
}

// The medians of one comparison, by pool name; "loop" is the bare loop.
using Medians = std::map<std::string_view, double>;

// Runs the loop and every pool in turn, round after round, so that a slow
// spell of the machine falls on all of them; prints and returns the medians.
Medians Compare(const char* what, const std::vector<std::wstring>& paths, int rounds, bool cold) {
  const std::vector<std::string> narrow = Narrow(paths);
  std::map<std::string_view, std::vector<double>> ms;
  for (int round = 1; round <= rounds; ++round) {
    if (cold && !DropCaches()) return {};
    ms["loop"].push_back(TimeLoop(narrow));
    if (cold) DropCaches();
    ms["loop x64"].push_back(TimeLoop(narrow, 64));
    for (const Pool& pool : kPools) {
      if (cold) DropCaches();
      ms[pool.name].push_back(TimePass(paths, pool.pool));
    }
  }
  Medians medians;
  for (const auto& [name, values] : ms) medians[name] = Median(values);
  std::printf("%s files=%zu rounds=%d loop_ms=%.1f\n", what, paths.size(), rounds, medians["loop"]);
  for (const Pool& pool : kPools) {
    std::printf("%s pool=%s pass_ms=%.1f ratio=%.3f\n", what, pool.name, medians[pool.name],
                medians[pool.name] / medians["loop"]);
  }
  std::printf("%s bare loop on 64 threads (what the storage allows) loop_ms=%.1f ratio=%.3f\n", what,
              medians["loop x64"], medians["loop x64"] / medians["loop"]);
  return medians;
}

// A pass over a handful of files is over in well under a millisecond, most
// of it starting threads: each round times many passes of the pool of eight
// and of the chosen pool, by turns.
void CompareSmall(const char* what, const std::vector<std::wstring>& paths, int rounds, int passes) {
  std::map<std::string_view, std::vector<double>> ms;
  for (int round = 1; round <= rounds; ++round) {
    for (const Pool& pool : kPools) {
      if (pool.name != kEight && pool.name != kChosen) continue;
      double total = 0;
      for (int i = 0; i < passes; ++i) total += TimePass(paths, pool.pool);
      ms[pool.name].push_back(total / passes);
    }
  }
  const double eight = Median(ms[kEight]);
  const double chosen = Median(ms[kChosen]);
  std::printf("%s files=%zu rounds=%d passes=%d pool=8 pass_ms=%.3f pool=chosen pass_ms=%.3f\n", what, paths.size(),
              rounds, passes, eight, chosen);
  // For files in the cache both start the same eight threads and never grow: they differ by the machine's noise.
  std::printf("%s: chosen/pool 8 ratio=%.3f goal=1.00 (noise: +-%.0f%%)%s\n", what, chosen / eight, kSmallNoise * 100,
              chosen <= eight * (1 + kSmallNoise) ? "" : " MISSED");
}

// The simulated share: bench/slow_fs mounted over `source`, every open
// waiting kShareDelayUs. Unmounted when it goes out of scope.
class SlowShare {
 public:
  // With a `stall`, the file of that name answers its first read only after kStallMs.
  SlowShare(const std::filesystem::path& source, const std::filesystem::path& mount_point, const char* stall = nullptr)
      : mount_(mount_point) {
#ifdef KAVREN_SLOW_FS
    // Enough daemon threads to answer every reader at once, as an SMB server does.
    const std::string stall_args = stall ? std::string(" ") + stall + " " + std::to_string(kStallMs) : "";
    const std::string command = std::string(KAVREN_SLOW_FS) + " '" + source.string() + "' '" + mount_.string() + "' " +
                                std::to_string(kShareDelayUs) + stall_args + " -o max_threads=256 2>&1";
    mounted_ = std::system(command.c_str()) == 0 && std::filesystem::exists(mount_ / "d0");
    if (!mounted_) why_ = "mounting the simulated share failed (needs /dev/fuse and root)";
#else
    (void)source;
    (void)stall;
    why_ = "bench/slow_fs was not built (libfuse3-dev is missing)";
#endif
  }
  SlowShare(const SlowShare&) = delete;
  SlowShare& operator=(const SlowShare&) = delete;
  ~SlowShare() {
    if (mounted_) ::umount2(mount_.c_str(), MNT_DETACH);
  }
  [[nodiscard]] bool mounted() const noexcept { return mounted_; }
  [[nodiscard]] const char* why() const noexcept { return why_; }

 private:
  std::filesystem::path mount_;
  bool mounted_ = false;
  const char* why_ = "";
};

// The user stops a pass over the share while one file's read stalls: the
// time from the stop request to the pass's end, whatever the file does. The
// pass is taken from every millisecond, as the window's tick would.
void TimeStops(const std::vector<std::wstring>& paths) {
  std::vector<double> ms;
  for (int round = 0; round < kStopRounds; ++round) {
    kavren::RowList List1, List2;
    kavren::CommandButton Command2;
    for (const std::wstring& path : paths) List1.AppendRow(path.substr(path.rfind(L'/') + 1), path);
    std::atomic<bool> over = false;
    const auto pass =
        kavren::RunAnalysisPass(List1, List2, Command2, kavren::DefaultReadAheadPool(), {}, [&over] { over = true; });
    auto waiting_since = std::chrono::steady_clock::now();
    auto asked = waiting_since;
    bool stopped = false;
    for (bool ended = false; !ended; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
      ended = over;
      kavren::LabelRows(List1, List2, pass->Take().found.codes, true);
      const auto now = std::chrono::steady_clock::now();
      if (List2.RowCount() < kStalledRow) waiting_since = now;
      // Half a second of waiting, then the user presses Esc.
      if (List2.RowCount() == kStalledRow && !stopped && now - waiting_since > std::chrono::milliseconds(500)) {
        asked = now;
        stopped = true;
        pass->RequestStop();
      }
    }
    ms.push_back(MsSince(asked));
    if (List2.RowCount() != kStalledRow) std::printf("error: the stopped pass labelled %td rows\n", List2.RowCount());
  }
  std::printf(
      "stop: a read stalled %d s, files=%zu rounds=%d from the stop request to the pass's return ms=%.1f "
      "(slowest %.1f)\n",
      kStallMs / 1000, paths.size(), kStopRounds, Median(ms), *std::max_element(ms.begin(), ms.end()));
}

void StopOverShare() {
  kavren::testing::TempDir source(std::filesystem::current_path() / "build");
  kavren::testing::TempDir mount_point(std::filesystem::current_path() / "build");
  MakeFiles(source, kShareFiles, 20);
  const SlowShare mount(kavren::testing::PathOf(source.Wide(L"")), kavren::testing::PathOf(mount_point.Wide(L"")),
                        "f1000.txt");
  if (mount.mounted()) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < kShareFiles; ++i) {
      paths.push_back(mount_point.Wide(L"d" + std::to_wstring(i % 20) + L"/f" + std::to_wstring(i) + L".txt"));
    }
    TimeStops(paths);
  } else {
    std::printf("stop: skipped, %s\n", mount.why());
  }
}

void PrintGoal(const char* what, double ratio, double goal) {
  std::printf("%s: pass/loop ratio=%.3f goal=%.2f%s\n", what, ratio, goal, ratio <= goal ? "" : " MISSED");
}

}  // namespace

// `pass_bench stop` times the stops alone.
int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "stop") {
    StopOverShare();
    return 0;
  }
  auto wanted = [&](std::string_view part) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i) {
      if (part == argv[i]) return true;
    }
    return false;
  };
  Medians warm;
  if (wanted("warm")) {
    kavren::testing::TempDir dir;
    const std::vector<std::wstring> paths = MakeFiles(dir, kWarmFiles, 100);
    TimeLoop(Narrow(paths));  // the files are in the cache from here on
    warm = Compare("warm", paths, kWarmRounds, false);
    CompareSmall("small", std::vector<std::wstring>(paths.begin(), paths.begin() + kSmallFiles), kSmallRounds,
                 kSmallPasses);
    // Memory per row: what the heap holds for both lists after a pass.
    const auto heap_bytes = [] { return static_cast<double>(::mallinfo2().uordblks); };
    const double before = heap_bytes();
    kavren::RowList List1, List2;
    kavren::CommandButton Command2;
    for (const std::wstring& path : paths) List1.AppendRow(path.substr(path.rfind(L'/') + 1), path);
    kavren::RunAnalysisPassToEnd(List1, List2, Command2);
    std::printf("rows=%d bytes_per_row=%.0f (file name, full path and label; wchar_t is %zu bytes here)\n", kWarmFiles,
                (heap_bytes() - before) / kWarmFiles, sizeof(wchar_t));
  }
  Medians share;
  if (wanted("share")) {
    kavren::testing::TempDir source(std::filesystem::current_path() / "build");
    kavren::testing::TempDir mount_point(std::filesystem::current_path() / "build");
    MakeFiles(source, kShareFiles, 20);
    const SlowShare mount(kavren::testing::PathOf(source.Wide(L"")), kavren::testing::PathOf(mount_point.Wide(L"")));
    if (mount.mounted()) {
      std::vector<std::wstring> paths;
      for (int i = 0; i < kShareFiles; ++i) {
        paths.push_back(mount_point.Wide(L"d" + std::to_wstring(i % 20) + L"/f" + std::to_wstring(i) + L".txt"));
      }
      share = Compare("share", paths, kShareRounds, false);
      CompareSmall("share small", std::vector<std::wstring>(paths.begin(), paths.begin() + kSmallFiles), 3, 5);
    } else {
      std::printf("share: skipped, %s\n", mount.why());
    }
  }
  if (wanted("stop")) StopOverShare();
  Medians cold;
  if (wanted("cold")) {
    // On the disk, not in a tmpfs, so that dropping the cache means reading again.
    kavren::testing::TempDir dir(std::filesystem::current_path() / "build");
    cold = Compare("cold", MakeFiles(dir, kColdFiles, kColdFolders), kColdRounds, true);
  }
  if (!warm.empty()) {
    PrintGoal("warm", warm[kChosen] / warm["loop"], kWarmGoal);
    const double against_eight = warm[kChosen] / warm[kEight];
    std::printf("warm: chosen/pool 8 ratio=%.3f goal=1.05%s\n", against_eight, against_eight <= 1.05 ? "" : " MISSED");
  }
  if (share.empty()) {
    std::printf("share: skipped (see above)\n");
  } else {
    PrintGoal("share", share[kChosen] / share["loop"], kShareGoal);
  }
  if (cold.empty()) {
    std::printf("cold: skipped, the page cache cannot be dropped here (needs root)\n");
  } else {
    PrintGoal("cold", cold[kChosen] / cold["loop"], kColdGoal);
  }
  return 0;
}
