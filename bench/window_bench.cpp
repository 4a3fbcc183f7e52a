// window_bench.cpp: times filling List1 and the pass through the real window against a bare open/read/close loop.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "timing.h"
#include "window/form1_win32.h"

namespace {

using kavren::ChosenFile;
using kavren::bench::Median;
using kavren::bench::MsSince;
using kavren::win32::Control;
using kavren::win32::Form1;

constexpr int kFiles = 5000;
constexpr int kRounds = 7;
constexpr double kAppendGoalMs = 250.0;
constexpr double kRatioGoal = 0.8;
// Pools timed on the pass alone (no window), under Wine as well.
struct Pool {
  const char* name;
  kavren::ReadAheadPool pool;
};
// "growing" is the pool that grows while reads are slow; under Wine the
// program keeps its first size ("chosen"), since there its trial steps cost
// thread starts and gain nothing.
const Pool kPools[] = {{"0", {0, 0}},
                       {"8", {8, 8}},
                       {"16", {16, 16}},
                       {"64", {64, 64}},
                       {"growing", kavren::kReadAheadPool},
                       {"chosen", kavren::DefaultReadAheadPool()}};
// What the pass kept before its pool could grow; the window's pass is timed with both.
constexpr kavren::ReadAheadPool kEight = {8, 8};

// Painting waits for WM_PAINT, which only a message loop delivers; a timing
// that stopped before the queue is empty would leave the repaint out. The
// WM_QUIT of a destroyed form is swallowed too, so the next one lives.
void PumpPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// The program's own access and sharing, so that the loop pays for exactly
// the opens the pass cannot avoid and nothing else.
unsigned BareLoop(const std::vector<ChosenFile>& files) {
  unsigned checksum = 0;
  for (const ChosenFile& file : files) {
    const HANDLE handle =
        ::CreateFileW(file.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) continue;
    unsigned char head[3] = {};
    DWORD got = 0;
    if (::ReadFile(handle, head, sizeof head, &got, nullptr) && got > 0) checksum += head[0];
    ::CloseHandle(handle);
  }
  return checksum;
}

double TimeBarePass(const std::vector<ChosenFile>& files, kavren::ReadAheadPool pool) {
  kavren::RowList List1, List2;
  kavren::CommandButton Command2;
  for (const ChosenFile& file : files) List1.AppendRow(file.name, file.path);
  const auto start = std::chrono::steady_clock::now();
  kavren::PassOptions options;
  options.pool = pool;
  kavren::RunAnalysisPass(List1, List2, Command2, options);
  return MsSince(start);
}

}  // namespace

int wmain() {
  // Small files with each of the four kinds of start, in rotation.
  static const std::string kStarts[] = {
      "\xEF\xBB\xBF"
      "abc",
      std::string("\xFF\xFE"
                  "a\0b\0",
                  6),
      std::string("\xFE\xFF\0a\0b", 6), "plain ascii text\r\n"};
  const auto folder =
      std::filesystem::temp_directory_path() / (L"kavren_window_bench_" + std::to_wstring(::GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  std::vector<ChosenFile> files;
  for (int i = 0; i < kFiles; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"novel_%05d.txt", i + 1);
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary) << kStarts[i % 4];
    files.push_back({name, path.wstring()});
  }

  std::vector<double> append, loop;
  std::map<std::string, std::vector<double>> pass;   // the window's pass, by pool
  std::map<std::string, std::vector<double>> ratio;  // each pass against the loop run around it
  std::map<std::string, std::vector<double>> bare_pass;
  unsigned checksum = 0;
  // The window's pass with a pool; false if it failed.
  auto time_window = [&](int round, const char* name, kavren::ReadAheadPool pool) {
    // Command2 disables itself after one pass, so every pass has its own form.
    auto form = Form1::Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    if (!form) {
      std::printf("error: the window could not be created\n");
      return false;
    }
    form->SetReadAheadPool(pool);
    PumpPendingMessages();

    const auto start = std::chrono::steady_clock::now();
    form->AppendChosenFiles(files);
    ::UpdateWindow(form->hwnd());
    PumpPendingMessages();
    append.push_back(MsSince(start));

    // The loop runs in the pass's own conditions (program up, list full),
    // just before and just after it; the pass is set against their mean.
    auto time_loop = [&] {
      const auto loop_start = std::chrono::steady_clock::now();
      checksum += BareLoop(files);
      return MsSince(loop_start);
    };
    const double before = time_loop();
    const auto pass_start = std::chrono::steady_clock::now();
    ::SendMessageW(form->control(Control::Command2), BM_CLICK, 0, 0);
    // The pass runs on a thread of its own; its end is posted to the window.
    while (form->Working()) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      PumpPendingMessages();
    }
    ::UpdateWindow(form->hwnd());
    PumpPendingMessages();
    pass[name].push_back(MsSince(pass_start));
    loop.push_back((before + time_loop()) / 2);
    ratio[name].push_back(pass[name].back() / loop.back());
    if (form->list2().RowCount() != kFiles || form->list1().CurrentRow() != kFiles - 1 ||
        form->list2().GetRow(1).value_or(L"") != L"Unicode") {
      std::printf("error: round %d: the pass did not label every file\n", round);
      return false;
    }
    form.reset();
    PumpPendingMessages();
    std::printf("%5d %8s %10.3f %10.3f %10.3f %7.3f\n", round, name, append.back(), loop.back(), pass[name].back(),
                pass[name].back() / loop.back());
    return true;
  };
  std::printf("round     pool  append_ms    loop_ms    pass_ms   ratio\n");
  for (int round = 1; round <= kRounds; ++round) {
    // By turns, so that neither pool always runs first.
    const bool eight_first = round % 2 == 1;
    if (!time_window(round, eight_first ? "8" : "chosen", eight_first ? kEight : kavren::DefaultReadAheadPool()) ||
        !time_window(round, eight_first ? "chosen" : "8", eight_first ? kavren::DefaultReadAheadPool() : kEight)) {
      return 1;
    }
    for (const Pool& pool : kPools) bare_pass[pool.name].push_back(TimeBarePass(files, pool.pool));
  }

  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);

  const double append_ms = Median(append), loop_ms = Median(loop);
  std::printf("(checksum %u)\n", checksum);
  std::printf("append files=%d append_ms=%.3f goal_ms=%.0f%s\n", kFiles, append_ms, kAppendGoalMs,
              append_ms <= kAppendGoalMs ? "" : " MISSED");
  for (const Pool& pool : kPools) {
    std::printf("pass alone pool=%s pass_ms=%.1f ratio=%.3f\n", pool.name, Median(bare_pass[pool.name]),
                Median(bare_pass[pool.name]) / loop_ms);
  }
  // Each pass is set against the loop run just before and after it, in the
  // same conditions: the machine's slow spells then fall on both sides.
  const double eight = Median(ratio["8"]), chosen = Median(ratio["chosen"]);
  std::printf("window pool=8 files=%d pass_ms=%.3f ratio=%.3f\n", kFiles, Median(pass["8"]), eight);
  std::printf("window: chosen/pool 8 ratio=%.3f goal=1.00%s\n", chosen / eight, chosen <= eight ? "" : " MISSED");
  std::printf("window pool=chosen files=%d pass_ms=%.3f loop_ms=%.3f ratio=%.3f goal=%.2f%s\n", kFiles,
              Median(pass["chosen"]), loop_ms, chosen, kRatioGoal, chosen <= kRatioGoal ? "" : " MISSED");
  return 0;
}
