// drop_bench.cpp: times a folder dropped on the real window, and copying the result, against a bare FindFirstFileExW
// walk.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "support/gui_support.h"
#include "timing.h"

namespace {

using kavren::bench::Median;
using kavren::bench::MsSince;
using kavren::win32::Form1;

constexpr int kRounds = 5;
constexpr double kWalkRatioGoal = 1.3;
constexpr double kCopyGoalMs = 500.0;

// The walk at its barest: every entry of every folder, basic information in
// large fetches, nothing kept.
std::size_t BareWalk(const std::wstring& folder) {
  std::size_t files = 0;
  WIN32_FIND_DATAW entry;
  const HANDLE find = ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ++files;
    } else if (entry.cFileName[0] != L'.') {
      files += BareWalk(folder + L"\\" + entry.cFileName);
    }
  } while (::FindNextFileW(find, &entry));
  ::FindClose(find);
  return files;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: drop_bench FOLDER\n");
    return 2;
  }
  const std::wstring top = argv[1];
  std::vector<double> bare, walk, copy;
  std::size_t files = 0;
  std::printf("round    bare_ms    walk_ms   ratio    copy_ms\n");
  for (int round = 1; round <= kRounds; ++round) {
    auto form = Form1::Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    if (!form) {
      std::printf("error: the window could not be created\n");
      return 1;
    }
    kavren::testing::PumpUntil(form->hwnd(), std::chrono::milliseconds(100), [] { return false; });

    // The bare walk runs just before and just after the drop, in the same
    // conditions; the drop is set against their mean.
    auto time_bare = [&] {
      const auto start = std::chrono::steady_clock::now();
      files = BareWalk(top);
      return MsSince(start);
    };
    const double before = time_bare();
    const auto start = std::chrono::steady_clock::now();
    ::SendMessageW(form->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(kavren::testing::MakeDrop({top})), 0);
    // The walk runs on a thread of its own; its end is posted to the window.
    kavren::testing::PumpUntil(form->hwnd(), std::chrono::minutes(5), [&] { return !form->Working(); });
    ::UpdateWindow(form->hwnd());
    walk.push_back(MsSince(start));
    bare.push_back((before + time_bare()) / 2);
    if (static_cast<std::size_t>(form->list1().RowCount()) != files) {
      std::printf("error: the drop added %td rows of %zu files\n", form->list1().RowCount(), files);
      return 1;
    }
    const auto copy_start = std::chrono::steady_clock::now();
    form->CopyResults();
    copy.push_back(MsSince(copy_start));
    std::printf("%5d %10.1f %10.1f %7.3f %10.1f\n", round, bare.back(), walk.back(), walk.back() / bare.back(),
                copy.back());
    form.reset();
    // The destroyed form's WM_QUIT goes too: during the next drop's walk it would end the walk, as it must
    // end the program's.
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) continue;
  }
  const double ratio = Median(walk) / Median(bare);
  std::printf("drop files=%zu walk_ms=%.1f bare_ms=%.1f ratio=%.3f goal=%.2f%s\n", files, Median(walk), Median(bare),
              ratio, kWalkRatioGoal, ratio <= kWalkRatioGoal ? "" : " MISSED");
  std::printf("copy rows=%zu copy_ms=%.1f goal_ms=%.0f%s\n", files, Median(copy), kCopyGoalMs,
              Median(copy) <= kCopyGoalMs ? "" : " MISSED");
  return 0;
}
