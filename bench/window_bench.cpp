// window_bench.cpp: times filling List1 and the pass through the real window against a bare open/read/close loop.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "win32/form1.h"
#include "window/open_selection.h"

namespace {

using kavren::ChosenFile;
using kavren::win32::Control;
using kavren::win32::Form1;

constexpr int kFiles = 5000;
constexpr int kRounds = 7;
constexpr double kAppendGoalMs = 250.0;
constexpr double kRatioGoal = 1.30;

// Each of the four kinds of start the detector tells apart, in rotation, so
// that the pass writes every label and no single branch is favoured.
struct Kind {
  std::string_view bytes;
  std::wstring_view label;
};
constexpr Kind kKinds[] = {
    {std::string_view("\xEF\xBB\xBF" "abc", 6), L"UTF8"},
    {std::string_view("\xFF\xFE" "a\0b\0", 6), L"Unicode"},
    {std::string_view("\xFE\xFF\0a\0b", 6), L"UUnicodeBigEndian"},
    {std::string_view("plain ascii text\r\n"), L"ANSI"},
};

class Stopwatch {
 public:
  Stopwatch() noexcept {
    ::QueryPerformanceFrequency(&frequency_);
    ::QueryPerformanceCounter(&start_);
  }
  [[nodiscard]] double ElapsedMs() const noexcept {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
           static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};
};

// Painting is deferred to WM_PAINT, which only a message loop delivers; a
// timing that stopped before the queue is empty would leave the repaint out.
// A WM_QUIT from a destroyed form must not reach the next one, so it is
// swallowed here too.
void PumpPendingMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

std::wstring NovelName(int index) {
  wchar_t name[32];
  std::swprintf(name, std::size(name), L"novel_%05d.txt", index + 1);
  return name;
}

// A fresh folder per run, so that leftovers of an earlier, killed run can
// neither collide with nor pad out this one.
std::wstring MakeTempFolder() {
  wchar_t base[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(static_cast<DWORD>(std::size(base)), base);
  if (length == 0 || length > MAX_PATH) return {};
  wchar_t suffix[64];
  std::swprintf(suffix, std::size(suffix), L"kavren_window_bench_%lu_%llu", ::GetCurrentProcessId(),
                static_cast<unsigned long long>(::GetTickCount64()));
  std::wstring folder = std::wstring(base, length) + suffix;
  if (!::CreateDirectoryW(folder.c_str(), nullptr)) return {};
  return folder;
}

bool WriteSmallFile(const std::wstring& path, std::string_view bytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

// The program's own sharing and access, so that the loop pays for exactly
// the opens the pass cannot avoid and nothing else.
bool BareLoop(const std::vector<ChosenFile>& files, unsigned& checksum) {
  for (const ChosenFile& file : files) {
    const HANDLE handle = ::CreateFileW(file.path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    unsigned char head[3] = {};
    DWORD got = 0;
    const BOOL ok = ::ReadFile(handle, head, sizeof head, &got, nullptr);
    ::CloseHandle(handle);
    if (!ok || got == 0) return false;
    checksum += head[0];
  }
  return true;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

// Cheap enough to run after every pass, and enough to catch a pass that
// stopped early, skipped rows or mislabelled them.
bool PassLooksRight(const Form1& form, int round) {
  const kavren::RowList& list1 = form.list1();
  const kavren::RowList& list2 = form.list2();
  if (list2.RowCount() != kFiles || list1.CurrentRow() != kFiles - 1) {
    std::printf("error: round %d: List2 has %d rows and List1's current row is %d (want %d and %d)\n",
                round, static_cast<int>(list2.RowCount()), static_cast<int>(list1.CurrentRow()), kFiles,
                kFiles - 1);
    return false;
  }
  for (int i = 0; i < kFiles; ++i) {
    if (list2.GetRow(i).value_or(L"") != kKinds[i % std::size(kKinds)].label) {
      std::printf("error: round %d: List2 row %d has the wrong label\n", round, i);
      return false;
    }
  }
  if (::IsWindowEnabled(form.control(Control::Command2))) {
    std::printf("error: round %d: Command2 is still enabled after the pass\n", round);
    return false;
  }
  return true;
}

struct Round {
  double append_ms = 0;
  double loop_ms = 0;
  double pass_ms = 0;
  bool loop_first = true;
};

int Run(const std::vector<ChosenFile>& files) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  std::vector<Round> rounds;
  unsigned checksum = 0;

  std::printf("%5s  %-10s  %10s  %10s  %10s  %7s\n", "round", "order", "append_ms", "loop_ms", "pass_ms",
              "ratio");
  for (int r = 0; r < kRounds; ++r) {
    Round round;
    // Alternating the order keeps whichever goes second from always finding
    // the caches the first one warmed.
    round.loop_first = r % 2 == 0;

    // Command2 disables itself after one pass, so every round needs its own form.
    std::unique_ptr<Form1> form = Form1::Create(instance, SW_SHOWNORMAL);
    if (!form) {
      std::printf("error: round %d: the window could not be created\n", r + 1);
      return 1;
    }
    PumpPendingMessages();

    {
      const Stopwatch watch;
      form->AppendChosenFiles(files);
      ::UpdateWindow(form->hwnd());
      PumpPendingMessages();
      round.append_ms = watch.ElapsedMs();
    }
    if (form->list1().RowCount() != kFiles) {
      std::printf("error: round %d: List1 has %d rows after the append (want %d)\n", r + 1,
                  static_cast<int>(form->list1().RowCount()), kFiles);
      return 1;
    }

    auto time_loop = [&]() -> bool {
      const Stopwatch watch;
      const bool ok = BareLoop(files, checksum);
      round.loop_ms = watch.ElapsedMs();
      if (!ok) std::printf("error: round %d: the bare loop could not read every file\n", r + 1);
      return ok;
    };
    auto time_pass = [&] {
      const Stopwatch watch;
      ::SendMessageW(form->control(Control::Command2), BM_CLICK, 0, 0);
      ::UpdateWindow(form->hwnd());
      PumpPendingMessages();
      round.pass_ms = watch.ElapsedMs();
    };
    if (round.loop_first) {
      if (!time_loop()) return 1;
      time_pass();
    } else {
      time_pass();
      if (!time_loop()) return 1;
    }
    if (!PassLooksRight(*form, r + 1)) return 1;

    form.reset();
    PumpPendingMessages();

    std::printf("%5d  %-10s  %10.3f  %10.3f  %10.3f  %7.3f\n", r + 1,
                round.loop_first ? "loop,pass" : "pass,loop", round.append_ms, round.loop_ms, round.pass_ms,
                round.pass_ms / round.loop_ms);
    std::fflush(stdout);
    rounds.push_back(round);
  }

  std::vector<double> append, loop, pass, ratios;
  for (const Round& round : rounds) {
    append.push_back(round.append_ms);
    loop.push_back(round.loop_ms);
    pass.push_back(round.pass_ms);
    ratios.push_back(round.pass_ms / round.loop_ms);
  }
  const double append_ms = Median(append);
  const double loop_ms = Median(loop);
  const double pass_ms = Median(pass);
  // The ratio of the medians, not the median of the ratios: a round where
  // only one side hiccupped should not decide it.
  const double ratio = pass_ms / loop_ms;
  std::printf("%5s  %-10s  %10.3f  %10.3f  %10.3f  %7.3f  (median of per-round ratios %.3f)\n", "med", "",
              append_ms, loop_ms, pass_ms, ratio, Median(ratios));
  std::printf("(checksum %u)\n", checksum);
  std::printf("append files=%d append_ms=%.3f goal_ms=%.0f%s\n", kFiles, append_ms, kAppendGoalMs,
              append_ms <= kAppendGoalMs ? "" : " MISSED");
  std::printf("window files=%d pass_ms=%.3f loop_ms=%.3f ratio=%.3f goal=%.2f%s\n", kFiles, pass_ms, loop_ms,
              ratio, kRatioGoal, ratio <= kRatioGoal ? "" : " MISSED");
  std::fflush(stdout);
  return 0;
}

}  // namespace

int wmain() {
  const std::wstring folder = MakeTempFolder();
  if (folder.empty()) {
    std::printf("error: no temporary folder could be made\n");
    return 1;
  }

  std::vector<ChosenFile> files;
  files.reserve(kFiles);
  int status = 0;
  for (int i = 0; i < kFiles; ++i) {
    ChosenFile file{NovelName(i), folder + L"\\" + NovelName(i)};
    if (!WriteSmallFile(file.path, kKinds[i % std::size(kKinds)].bytes)) {
      std::printf("error: could not write test file %d\n", i + 1);
      status = 1;
      break;
    }
    files.push_back(std::move(file));
  }
  std::printf("window_bench: %d files, %d rounds\n", kFiles, kRounds);
  std::fflush(stdout);

  if (status == 0) status = Run(files);

  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(folder), ignored);
  return status;
}
