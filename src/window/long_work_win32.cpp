// long_work_win32.cpp: starting the pass and the walk, and taking what they found.
#include "window/long_work_win32.h"
#include "window/private_messages_win32.h"

namespace kavren::win32 {
namespace {

// How often the window takes what the work found and shows it in the lists.
constexpr UINT kTickMs = 250;
// The status bar's clock, when nothing else changes.
constexpr ULONGLONG kStatusIntervalMs = 1000;

}  // namespace

LongWork::~LongWork() { Abandon(); }

std::function<void()> LongWork::TellEnded() const {
  // The handle is copied: the thread may post after LongWork is gone, and
  // a message to a window that is gone is dropped.
  return [window = window_] { ::PostMessageW(window, kWorkEndedMessage, 0, 0); };
}

void LongWork::Started() {
  status_shown_ = ::GetTickCount64();
  ::SetTimer(window_, kWorkTimerId, kTickMs, nullptr);
}

void LongWork::StartPass(const RowList& List1, RowList& List2, CommandButton& Command2, ReadAheadPool pool,
                         FileReader read) {
  PassStarted(state_, static_cast<std::int64_t>(::GetTickCount64()), List1.RowCount());
  pass_ = RunAnalysisPass(List1, List2, Command2, pool, std::move(read), TellEnded());
  Started();
}

void LongWork::StartWalk(std::vector<std::wstring> paths, const Walker& walk) {
  WalkStarted(state_);
  walk_ = std::make_unique<BackgroundWalk>(std::move(paths), walk, TellEnded());
  Started();
}

void LongWork::Stop() noexcept {
  if (pass_) pass_->RequestStop();
  // A walk may be stuck in a listing for as long as the share likes: it is
  // let go at the next Take, not waited for.
  if (walk_) state_.walk_stop = true;
}

void LongWork::Abandon() noexcept {
  // The pass's thread waits on a read no longer than a slice, so it is
  // joined; a walk stuck in a listing is left behind with a block of its own.
  pass_.reset();
  walk_.reset();
  state_.passing = state_.walking = false;
  ::KillTimer(window_, kWorkTimerId);
}

WorkNews LongWork::Take() {
  WorkNews news;
  const ULONGLONG now = ::GetTickCount64();
  if (pass_) {
    BackgroundPass::Taken taken = pass_->Take();
    PassTook(state_, static_cast<std::int64_t>(now), static_cast<RowIndex>(taken.found.codes.size()), taken.over,
             taken.starved);
    news.labels = std::move(taken.found.codes);
    news.contents = std::move(taken.found.contents);
    news.notes = std::move(taken.found.notes);
    if (taken.over) {
      pass_.reset();
      news.ended = WorkNews::Ended::kPass;
    }
  }
  if (walk_) {
    BackgroundWalk::Taken taken = walk_->Take();
    news.files = std::move(taken.found);
    if (WalkTook(state_, static_cast<RowIndex>(news.files.size()), taken.over, taken.starved)) {
      walk_.reset();
      news.ended = WorkNews::Ended::kWalk;
    }
  }
  if (news.ended != WorkNews::Ended::kNone) ::KillTimer(window_, kWorkTimerId);
  // The count in the status bar is the rows labelled at that moment, and
  // the clock moves on once a second while nothing else does.
  if (!news.labels.empty() || !news.files.empty() || news.ended != WorkNews::Ended::kNone ||
      now - status_shown_ >= kStatusIntervalMs) {
    status_shown_ = now;
    news.status_due = true;
  }
  return news;
}

}  // namespace kavren::win32
