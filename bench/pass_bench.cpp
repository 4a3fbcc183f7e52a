// pass_bench.cpp: the analysis pass against a bare open/read/close loop over the same files.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "support/temp_dir.h"
#include "timing.h"

namespace {

using kavren::bench::Median;

using kavren::testing::TempDir;

constexpr int kRounds = 5;
constexpr int kSizes[] = {10'000, 100'000};

struct FileSet {
  TempDir dir;
  std::vector<std::wstring> wide_paths;
  std::vector<std::string> paths;
};

// Small files with each of the four kinds of start, as a real folder of
// novels in several encodings would hold.
std::unique_ptr<FileSet> MakeFiles(int count) {
  static const std::vector<unsigned char> kStarts[] = {
      {0xEF, 0xBB, 0xBF, 'a', 'b'}, {0xFF, 0xFE, 'a', 0}, {0xFE, 0xFF, 0, 'a'}, {'a', 'b', 'c'}};
  auto set = std::make_unique<FileSet>();
  for (int i = 0; i < count; ++i) {
    std::string name = "f";
    name += std::to_string(i);
    name += ".txt";
    const std::wstring wide = set->dir.Write(std::wstring(name.begin(), name.end()), kStarts[i % 4]);
    set->wide_paths.push_back(wide);
    set->paths.emplace_back(wide.begin(), wide.end());  // ASCII: the scratch folder and these names
  }
  return set;
}

// The bare loop; with `check_type`, also the one fstat the detector cannot
// do without, since it must refuse FIFOs and devices before reading.
void Loop(benchmark::State& state, const FileSet* files, bool check_type) {
  for (auto _ : state) {
    unsigned checksum = 0;
    for (const std::string& path : files->paths) {
      unsigned char head[3] = {};
      const int fd = ::open(path.c_str(), O_RDONLY);
      if (fd < 0) continue;
      struct stat info {};
      const bool plain = !check_type || (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode));
      if (plain && ::read(fd, head, sizeof head) > 0) checksum += head[0];
      ::close(fd);
    }
    benchmark::DoNotOptimize(checksum);
  }
}

void Pass(benchmark::State& state, const FileSet* files) {
  kavren::RowList List1, List2;
  kavren::CommandButton Command2;
  List1.SetSelectionHandler([&] { (void)List2.SelectRow(List1.CurrentRow()); });
  List2.SetSelectionHandler([&] { (void)List1.SelectRow(List2.CurrentRow()); });
  for (std::size_t i = 0; i < files->wide_paths.size(); ++i) {
    const std::wstring& path = files->wide_paths[i];
    List1.AppendRow(path.substr(path.rfind(L'/') + 1), path);
  }
  for (auto _ : state) {
    state.PauseTiming();
    List2.ClearRows();
    Command2.SetEnabled(true);
    state.ResumeTiming();
    kavren::RunAnalysisPass(List1, List2, Command2);
  }
  benchmark::DoNotOptimize(List2.RowCount());
}

// Keeps every round's time per iteration so that the summary can take the
// median of interleaved rounds.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, std::vector<double>> ms;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.run_name.function_name;
      ms[name].push_back(run.GetAdjustedRealTime() / 1e6);
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::map<int, std::unique_ptr<FileSet>> sets;
  for (int size : kSizes) sets[size] = MakeFiles(size);

  // Loop and pass take turns, round after round, so that a slow spell of the
  // machine falls on both.
  for (int round = 0; round < kRounds; ++round) {
    for (int size : kSizes) {
      const FileSet* files = sets[size].get();
      const int iterations = size >= 100'000 ? 3 : 20;
      std::string suffix = "/";
      suffix += std::to_string(size);
      benchmark::RegisterBenchmark(("loop" + suffix).c_str(), Loop, files, false)
          ->UseRealTime()
          ->Iterations(iterations);
      benchmark::RegisterBenchmark(("pass" + suffix).c_str(), Pass, files)->UseRealTime()->Iterations(iterations);
      benchmark::RegisterBenchmark(("checked_loop" + suffix).c_str(), Loop, files, true)
          ->UseRealTime()
          ->Iterations(iterations);
    }
  }

  benchmark::Initialize(&argc, argv);
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("\npeak_rss_kib=%ld (file lists of both sizes held at once)\n", usage.ru_maxrss);
  {
    // Memory per row: what the heap holds for both lists after a pass over
    // the largest set. The resident size would say nothing here, since the
    // benchmarks' freed lists are still mapped and get reused.
    const auto resident_bytes = [] { return static_cast<double>(::mallinfo2().uordblks); };
    const FileSet* files = sets[kSizes[1]].get();
    const double before = resident_bytes();
    kavren::RowList List1, List2;
    kavren::CommandButton Command2;
    for (const std::wstring& path : files->wide_paths) List1.AppendRow(path.substr(path.rfind(L'/') + 1), path);
    kavren::RunAnalysisPass(List1, List2, Command2);
    std::printf("rows=%d bytes_per_row=%.0f (file name, full path and label; wchar_t is %zu bytes here)\n", kSizes[1],
                (resident_bytes() - before) / kSizes[1], sizeof(wchar_t));
  }
  for (int size : kSizes) {
    const double pass = Median(reporter.ms["pass/" + std::to_string(size)]);
    const double checked = Median(reporter.ms["checked_loop/" + std::to_string(size)]);
    const double loop = Median(reporter.ms["loop/" + std::to_string(size)]);
    std::printf("files=%d checked_loop_ms=%.2f checked_vs_loop=%.3f pass_vs_checked=%.3f\n", size, checked,
                checked / loop, pass / checked);
  }
  for (int size : kSizes) {
    const double pass = Median(reporter.ms["pass/" + std::to_string(size)]);
    const double loop = Median(reporter.ms["loop/" + std::to_string(size)]);
    std::printf("files=%d pass_ms=%.2f loop_ms=%.2f ratio=%.3f goal=1.10%s\n", size, pass, loop, pass / loop,
                pass / loop <= 1.10 ? "" : " MISSED");
  }
  return 0;
}
