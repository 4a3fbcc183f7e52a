// long_work_win32.h: the pass and the walk of a drop, each on a thread of its own, and what the window learns of them.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_pass.h"
#include "window/drop_walk_win32.h"
#include "window/portable/long_work.h"

namespace kavren::win32 {

// What the work handed over since the window last took it.
struct WorkNews {
  std::vector<EncodingCode> labels;      // of the rows after those labelled so far, in order
  std::vector<ContentVerdict> contents;  // of the same rows
  RowNotes notes;                        // of those rows
  std::vector<ChosenFile> files;         // found by the walk, in list order
  enum class Ended { kNone, kPass, kWalk } ended = Ended::kNone;
  bool status_due = false;  // time for the status bar to say where the work stands
};

// Long work runs on threads of its own; the window's thread stays in the
// program's one message loop, takes what came on a timer, and handles every
// input with its ordinary handler meanwhile. One piece of work at a time.
class LongWork {
 public:
  // `window` is told of the work: its ticks and its end.
  explicit LongWork(HWND window) noexcept : window_(window) {}
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;
  ~LongWork();

  // RunAnalysisPass, on List1 as it stands.
  void StartPass(const RowList& List1, RowList& List2, CommandButton& Command2, ReadAheadPool pool, FileReader read);
  void StartWalk(std::vector<std::wstring> paths, const Walker& walk);
  // Esc: the work ends where it is and keeps what it did. A walk ends at
  // once; a pass within kPassWaitSlice.
  void Stop() noexcept;
  // The window goes: the work is stopped and nothing of it is taken again.
  void Abandon() noexcept;
  // Files were chosen, or the lists cleared: what the last walk left
  // unlisted, or that it found nothing, no longer stands.
  void ForgetWalk() noexcept { state_.walk_stopped = state_.walk_empty = false; }

  [[nodiscard]] bool Running() const noexcept { return pass_ || walk_; }
  [[nodiscard]] const WorkState& state() const noexcept { return state_; }

  // On the tick, on kWorkEndedMessage, and after Stop.
  [[nodiscard]] WorkNews Take();

 private:
  void Started();
  // What the work's thread calls as the work ends: the window takes the last of it at once.
  [[nodiscard]] std::function<void()> TellEnded() const;

  const HWND window_;
  WorkState state_;
  std::unique_ptr<BackgroundPass> pass_;
  std::unique_ptr<BackgroundWalk> walk_;
  ULONGLONG status_shown_ = 0;  // when the status bar last said where the work stands
};

}  // namespace kavren::win32
