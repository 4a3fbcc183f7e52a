// window_bench.cpp: times filling List1 and the pass through the real window against bare loops over the same files,
// and how long the window keeps another program waiting during a pass of 200,000 files.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
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
// Against the faster of the bare loops that make the program's own calls.
constexpr double kProgramCallsGoal = 1.10;
constexpr int kLoopThreads = 64;
// The largest batch the program promises, and one a tenth of it: the
// window answers within kAnswerGoalMs throughout, and a file costs the
// same at either size, within kPerFileGoal.
constexpr int kLargeRows[] = {20'000, 200'000};
constexpr int kLargeRounds = 3;
constexpr double kAnswerGoalMs = 250.0;
constexpr double kPerFileGoal = 1.5;
constexpr auto kAskEvery = std::chrono::milliseconds(100);
// Pools timed on the pass alone (no window), under Wine as well.
struct Pool {
  const char* name;
  kavren::ReadAheadPool pool;
};
// "growing" is the pool that grows while reads are slow; under Wine the
// program keeps its first size ("chosen"), since there its trial steps cost
// thread starts and gain nothing.
const Pool kPools[] = {{"8", {8, 8}},
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

// A click on Command2, and the messages handled until the pass is over and
// painted: it runs on a thread of its own, and its end is posted to the window.
void PassThroughWindow(Form1& form) {
  ::SendMessageW(form.control(Control::Command2), BM_CLICK, 0, 0);
  while (form.Working()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpPendingMessages();
  }
  ::UpdateWindow(form.hwnd());
  PumpPendingMessages();
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
    unsigned char head[kavren::kHeadBytes];
    DWORD got = 0;
    if (::ReadFile(handle, head, sizeof head, &got, nullptr) && got > 0) checksum += head[0];
    ::CloseHandle(handle);
  }
  return checksum;
}

// The calls the pass makes for each file, as file_access_win32 makes them:
// the open, the device check, the attribute query of the open handle, the
// read of the head, the close; on `threads` threads taking files in turn.
unsigned ProgramCallsLoop(const std::vector<ChosenFile>& files, int threads) {
  std::atomic<std::size_t> next = 0;
  std::atomic<unsigned> checksum = 0;
  auto work = [&] {
    for (std::size_t i; (i = next++) < files.size();) {
      const HANDLE handle = ::CreateFileW(
          files[i].path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
          OPEN_EXISTING,
          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_NO_RECALL | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
      if (handle == INVALID_HANDLE_VALUE) continue;
      FILE_ATTRIBUTE_TAG_INFO attributes{};
      unsigned char head[kavren::kHeadBytes];
      DWORD got = 0;
      if (::GetFileType(handle) == FILE_TYPE_DISK &&
          ::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &attributes, sizeof attributes) &&
          ::ReadFile(handle, head, sizeof head, &got, nullptr) && got > 0) {
        checksum += head[0];
      }
      ::CloseHandle(handle);
    }
  };
  if (threads <= 1) {
    work();
    return checksum;
  }
  std::vector<std::jthread> pool;
  for (int i = 0; i < threads; ++i) pool.emplace_back(work);
  pool.clear();
  return checksum;
}

double TimeBarePass(const std::vector<ChosenFile>& files, kavren::ReadAheadPool pool) {
  kavren::RowList List1, List2;
  kavren::CommandButton Command2;
  for (const ChosenFile& file : files) List1.AppendRow(file.name, file.path);
  const auto start = std::chrono::steady_clock::now();
  kavren::RunAnalysisPassToEnd(List1, List2, Command2, pool);
  return MsSince(start);
}

// Another thread asks the window a question every kAskEvery, as another
// program would, and keeps the longest wait for an answer.
class Questioner {
 public:
  explicit Questioner(HWND window)
      : thread_([this, window](std::stop_token stop) {
          while (!stop.stop_requested()) {
            const auto asked = std::chrono::steady_clock::now();
            wchar_t text[64];
            DWORD_PTR answer = 0;
            ::SendMessageTimeoutW(window, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 60'000, &answer);
            longest_ms_ = std::max(longest_ms_.load(), MsSince(asked));
            std::this_thread::sleep_for(kAskEvery);
          }
        }) {}
  double Stop() {
    thread_.request_stop();
    thread_.join();
    return longest_ms_;
  }

 private:
  std::atomic<double> longest_ms_ = 0;
  std::jthread thread_;
};

struct LargePass {
  double pass_ms;
  double longest_answer_ms;
};

// The window's pass over `rows` rows naming the files in turn, with another
// thread asking questions from the click to the end. Nullopt if it failed.
std::optional<LargePass> TimeLargePass(const std::vector<ChosenFile>& files, int rows) {
  std::vector<ChosenFile> batch;
  batch.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    // Each file by another way round for each row it names: a path already listed is not listed again.
    const ChosenFile& file = files[static_cast<std::size_t>(i) % files.size()];
    const std::size_t folder = file.path.find_last_of(L'\\');
    const std::wstring round = std::to_wstring(i / files.size());
    batch.push_back({file.name, file.path.substr(0, folder) + L"\\" + round + L"\\.." + file.path.substr(folder)});
  }
  auto form = Form1::Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  if (!form) return std::nullopt;
  form->AppendChosenFiles(std::move(batch));
  ::UpdateWindow(form->hwnd());
  PumpPendingMessages();
  Questioner questioner(form->hwnd());
  const auto start = std::chrono::steady_clock::now();
  PassThroughWindow(*form);
  const LargePass pass = {MsSince(start), questioner.Stop()};
  if (form->list2().RowCount() != rows) return std::nullopt;
  form.reset();
  PumpPendingMessages();
  return pass;
}

// The large batches by turns, kLargeRounds rounds; false if one failed.
bool RunLargePasses(const std::vector<ChosenFile>& files) {
  std::map<int, std::vector<double>> per_file_us, longest_ms;
  std::printf("round    rows    pass_ms  us_per_file  longest_answer_ms\n");
  for (int round = 1; round <= kLargeRounds; ++round) {
    for (int rows : kLargeRows) {
      const std::optional<LargePass> pass = TimeLargePass(files, rows);
      if (!pass) {
        std::printf("error: round %d: the pass over %d rows failed\n", round, rows);
        return false;
      }
      per_file_us[rows].push_back(1000 * pass->pass_ms / rows);
      longest_ms[rows].push_back(pass->longest_answer_ms);
      std::printf("%5d %7d %10.1f %12.2f %18.1f\n", round, rows, pass->pass_ms, per_file_us[rows].back(),
                  pass->longest_answer_ms);
    }
  }
  const int small = kLargeRows[0], large = kLargeRows[1];
  // The longest wait of every round: one freeze is one too many.
  const double longest = *std::max_element(longest_ms[large].begin(), longest_ms[large].end());
  const double per_file = Median(per_file_us[large]) / Median(per_file_us[small]);
  std::printf("large: rows=%d longest_answer_ms=%.1f goal_ms=%.0f%s\n", large, longest, kAnswerGoalMs,
              longest <= kAnswerGoalMs ? "" : " MISSED");
  std::printf("large: per file rows=%d/rows=%d ratio=%.3f goal=%.2f%s\n", large, small, per_file, kPerFileGoal,
              per_file <= kPerFileGoal ? "" : " MISSED");
  return true;
}

}  // namespace

// window_bench [small] [large]: the parts named; without one, both.
int wmain(int argc, wchar_t** argv) {
  const std::vector<std::wstring_view> parts(argv + 1, argv + argc);
  auto wanted = [&](std::wstring_view part) { return parts.empty() || std::ranges::count(parts, part) > 0; };
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

  if (wanted(L"large") && !RunLargePasses(files)) return 1;
  if (!wanted(L"small")) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
  }

  std::vector<double> append, loop;
  std::map<std::string, std::vector<double>> pass;   // the window's pass, by pool
  std::map<std::string, std::vector<double>> ratio;  // each pass against the loop run around it
  std::map<std::string, std::vector<double>> bare_pass;
  // Each pass against the faster of the loops making the program's calls, on one thread and on kLoopThreads.
  std::map<std::string, std::vector<double>> calls_ratio;
  std::vector<double> calls_serial, calls_threads;
  unsigned checksum = 0;
  // The window's pass with a pool; false if it failed.
  auto time_window = [&](int round, const char* name, kavren::ReadAheadPool pool) {
    // Command2 disables itself after one pass, so every pass has its own form.
    auto form = Form1::Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL, {.read_ahead = pool});
    if (!form) {
      std::printf("error: the window could not be created\n");
      return false;
    }
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
    auto time_calls = [&](int threads) {
      const auto loop_start = std::chrono::steady_clock::now();
      checksum += ProgramCallsLoop(files, threads);
      return MsSince(loop_start);
    };
    const double before = time_loop();
    const double serial_before = time_calls(1);
    const double threads_before = time_calls(kLoopThreads);
    const auto pass_start = std::chrono::steady_clock::now();
    PassThroughWindow(*form);
    pass[name].push_back(MsSince(pass_start));
    loop.push_back((before + time_loop()) / 2);
    ratio[name].push_back(pass[name].back() / loop.back());
    calls_serial.push_back((serial_before + time_calls(1)) / 2);
    calls_threads.push_back((threads_before + time_calls(kLoopThreads)) / 2);
    calls_ratio[name].push_back(pass[name].back() / std::min(calls_serial.back(), calls_threads.back()));
    if (form->list2().RowCount() != kFiles || form->list1().CurrentRow() != kFiles - 1 ||
        form->list2().GetRow(1).value_or(L"") != L"Unicode") {
      std::printf("error: round %d: the pass did not label every file\n", round);
      return false;
    }
    form.reset();
    PumpPendingMessages();
    std::printf("%5d %8s %10.3f %10.3f %10.3f %7.3f %11.3f %12.3f %11.3f\n", round, name, append.back(), loop.back(),
                pass[name].back(), pass[name].back() / loop.back(), calls_serial.back(), calls_threads.back(),
                calls_ratio[name].back());
    return true;
  };
  std::printf("round     pool  append_ms    loop_ms    pass_ms   ratio  calls_1_ms calls_%d_ms calls_ratio\n",
              kLoopThreads);
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
  const double calls = Median(calls_ratio["chosen"]);
  std::printf("window pool=chosen files=%d calls_1_ms=%.3f calls_%d_ms=%.3f pass/faster calls ratio=%.3f goal=%.2f%s\n",
              kFiles, Median(calls_serial), kLoopThreads, Median(calls_threads), calls, kProgramCallsGoal,
              calls <= kProgramCallsGoal ? "" : " MISSED");
  return 0;
}
