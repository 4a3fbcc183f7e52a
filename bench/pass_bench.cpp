// pass_bench.cpp: the analysis pass, with several read-ahead pool sizes, against a bare serial loop over the
// same files, with the page cache warm and with it dropped before every round.
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "support/temp_dir.h"
#include "timing.h"

namespace {

using kavren::bench::Median;
using kavren::bench::MsSince;

constexpr int kWarmFiles = 100'000;
constexpr int kWarmRounds = 7;
constexpr int kColdFiles = 20'000;
constexpr int kColdFolders = 200;
constexpr int kColdRounds = 3;
constexpr int kPoolSizes[] = {0, 2, 4, 8, 16};
constexpr double kWarmGoal = 0.75;
constexpr double kColdGoal = 0.5;

// Small files with each of the four kinds of start, as a real folder of
// novels in several encodings would hold, spread over `folders` folders.
std::vector<std::wstring> MakeFiles(const kavren::testing::TempDir& dir, int count, int folders) {
  static const std::vector<unsigned char> kStarts[] = {
      {0xEF, 0xBB, 0xBF, 'a', 'b'}, {0xFF, 0xFE, 'a', 0}, {0xFE, 0xFF, 0, 'a'}, {'a', 'b', 'c'}};
  std::vector<std::wstring> paths;
  for (int i = 0; i < count; ++i) {
    const std::wstring name = L"d" + std::to_wstring(i % folders) + L"/f" + std::to_wstring(i) + L".txt";
    paths.push_back(dir.Write(name, kStarts[i % 4]));
  }
  return paths;
}

// The bare serial loop: open, the one fstat that refuses FIFOs and devices,
// read three bytes, close. Returns milliseconds.
double TimeLoop(const std::vector<std::string>& paths) {
  const auto start = std::chrono::steady_clock::now();
  unsigned checksum = 0;
  for (const std::string& path : paths) {
    unsigned char head[3] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::read(fd, head, sizeof head) > 0) checksum += head[0];
    ::close(fd);
  }
  const double ms = MsSince(start);
  if (checksum == 0) std::printf("(no file read)\n");
  return ms;
}

// The pass as the window runs it: lists wired to mirror each other.
double TimePass(const std::vector<std::wstring>& paths, int threads) {
  kavren::RowList List1, List2;
  kavren::CommandButton Command2;
  for (const std::wstring& path : paths) List1.AppendRow(path.substr(path.rfind(L'/') + 1), path);
  List1.SetSelectionHandler([&] { (void)List2.SelectRow(List1.CurrentRow()); });
  List2.SetSelectionHandler([&] { (void)List1.SelectRow(List2.CurrentRow()); });
  const auto start = std::chrono::steady_clock::now();
  kavren::RunAnalysisPass(List1, List2, Command2, {}, threads);
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

// Runs the loop and every pool size in turn, round after round, so that a
// slow spell of the machine falls on all of them; prints the medians and
// returns the ratio of the chosen pool size.
double Compare(const char* what, const std::vector<std::wstring>& paths, int rounds, bool cold) {
  const std::vector<std::string> narrow = Narrow(paths);
  std::map<int, std::vector<double>> ms;  // by pool size; -1 is the bare loop
  for (int round = 1; round <= rounds; ++round) {
    if (cold && !DropCaches()) return -1;
    ms[-1].push_back(TimeLoop(narrow));
    for (int threads : kPoolSizes) {
      if (cold) DropCaches();
      ms[threads].push_back(TimePass(paths, threads));
    }
  }
  const double loop = Median(ms[-1]);
  std::printf("%s files=%zu rounds=%d loop_ms=%.1f\n", what, paths.size(), rounds, loop);
  for (int threads : kPoolSizes) {
    std::printf("%s threads=%d pass_ms=%.1f ratio=%.3f%s\n", what, threads, Median(ms[threads]),
                Median(ms[threads]) / loop, threads == kavren::kReadAheadThreads ? " (chosen)" : "");
  }
  return Median(ms[kavren::kReadAheadThreads]) / loop;
}

}  // namespace

int main() {
  double warm = 0;
  {
    kavren::testing::TempDir dir;
    const std::vector<std::wstring> paths = MakeFiles(dir, kWarmFiles, 1000);
    TimeLoop(Narrow(paths));  // the files are in the cache from here on
    warm = Compare("warm", paths, kWarmRounds, false);
    // Memory per row: what the heap holds for both lists after a pass.
    const auto heap_bytes = [] { return static_cast<double>(::mallinfo2().uordblks); };
    const double before = heap_bytes();
    kavren::RowList List1, List2;
    kavren::CommandButton Command2;
    for (const std::wstring& path : paths) List1.AppendRow(path.substr(path.rfind(L'/') + 1), path);
    kavren::RunAnalysisPass(List1, List2, Command2);
    std::printf("rows=%d bytes_per_row=%.0f (file name, full path and label; wchar_t is %zu bytes here)\n", kWarmFiles,
                (heap_bytes() - before) / kWarmFiles, sizeof(wchar_t));
  }
  double cold = -1;
  {
    // On the disk, not in a tmpfs, so that dropping the cache means reading again.
    kavren::testing::TempDir dir(std::filesystem::current_path() / "build");
    cold = Compare("cold", MakeFiles(dir, kColdFiles, kColdFolders), kColdRounds, true);
  }
  std::printf("warm: pass/loop ratio=%.3f goal=%.2f%s\n", warm, kWarmGoal, warm <= kWarmGoal ? "" : " MISSED");
  if (cold < 0) {
    std::printf("cold: skipped, the page cache cannot be dropped here (needs root)\n");
  } else {
    std::printf("cold: pass/loop ratio=%.3f goal=%.2f%s\n", cold, kColdGoal, cold <= kColdGoal ? "" : " MISSED");
  }
  return 0;
}
