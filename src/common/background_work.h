// background_work.h: work on a thread of its own, for a window that must never wait on it.
//
// Every piece of work the window starts goes one of two ways. Long work (the
// pass, the walk of a drop) is a BackgroundWork: one thread, an outbox under
// a lock that the window's thread empties on its tick, one stop, and, when
// the system has no thread to give, an end at once that says so, the work
// never having run. A single call to the shell or the storage (a menu's
// verb, a file's existence) is RunApart: a thread nobody waits for, or
// nothing at all. Neither ever runs the work on the caller's thread, which
// is the window's: a share or a shell may keep a thread for a minute.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

namespace kavren {

// Starts `task` on a thread nobody waits for. False if no thread could be
// started; `task` has then not run, and is gone.
[[nodiscard]] inline bool RunApart(std::function<void()> task) noexcept {
  try {
    std::thread(std::move(task)).detach();
    return true;
  } catch (...) {
    // No thread to be had, or no memory for its start.
    return false;
  }
}

template <typename Found>
class BackgroundWork {
 public:
  // The block the work's thread and the window's share. The thread holds it
  // for as long as it runs, which may be longer than the window waits.
  class Outbox {
   public:
    // Under the lock, `change` adds to what was found. Work's thread only.
    template <typename Change>
    void Put(Change&& change) {
      const std::lock_guard lock(mutex_);
      change(found_);
    }

   private:
    friend class BackgroundWork;
    std::mutex mutex_;      // guards the three below
    Found found_{};         // added to by the work's thread; emptied by the window's in Take
    bool over_ = false;     // set once, by the work's thread as the work returns, or at the start when it cannot run
    bool starved_ = false;  // set with over_: the system had no thread for the work, or the work none for its helpers
  };

  // Runs on the work's thread; true if it ended early for want of threads.
  // One that throws ends there, starved too.
  using Job = std::function<bool(std::stop_token stop, Outbox& outbox)>;

  // What a stopped work's thread is left to: the pass returns within a
  // slice of its stop and is waited for; a walk may sit in a listing for a
  // minute and is left to end by itself, its outbox with it.
  enum class AtStop { kWait, kLeave };

  // `over` is told on the work's thread once the work has ended, so that
  // the last of it can be taken at once; and, where no thread could be
  // started, on the caller's, before this returns.
  BackgroundWork(Job job, std::function<void()> over, AtStop at_stop)
      : outbox_(std::make_shared<Outbox>()), at_stop_(at_stop) {
    auto run = [outbox = outbox_, job = std::move(job), over, stop = stop_.get_token()] {
      bool starved = true;
      try {
        starved = job(stop, *outbox);
      } catch (...) {
        // Out of memory for a label or a path: the work ends where it got
        // to, for want of what the system could not give.
      }
      End(*outbox, starved);
      if (over) over();
    };
    try {
      thread_ = std::thread(std::move(run));
    } catch (const std::system_error&) {
      End(*outbox_, true);
      if (over) over();
    }
  }
  BackgroundWork(const BackgroundWork&) = delete;
  BackgroundWork& operator=(const BackgroundWork&) = delete;
  ~BackgroundWork() {
    stop_.request_stop();
    if (!thread_.joinable()) return;
    if (at_stop_ == AtStop::kWait || Over()) {
      thread_.join();
    } else {
      thread_.detach();
    }
  }

  void RequestStop() noexcept { stop_.request_stop(); }

  struct Taken {
    Found found;           // since the last Take
    bool over = false;     // nothing more will come
    bool starved = false;  // it ended early: the system had no thread to give
  };
  // What was found since the last call; on the window's thread.
  [[nodiscard]] Taken Take() {
    const std::lock_guard lock(outbox_->mutex_);
    Taken taken{std::exchange(outbox_->found_, Found{}), outbox_->over_, outbox_->starved_};
    return taken;
  }

 private:
  static void End(Outbox& outbox, bool starved) {
    const std::lock_guard lock(outbox.mutex_);
    outbox.over_ = true;
    outbox.starved_ = starved;
  }
  [[nodiscard]] bool Over() {
    const std::lock_guard lock(outbox_->mutex_);
    return outbox_->over_;
  }

  std::shared_ptr<Outbox> outbox_;
  std::stop_source stop_;
  std::thread thread_;
  AtStop at_stop_;
};

}  // namespace kavren
