// long_work_win32.h: what the window does while a pass or the walk of a drop keeps its thread.
#pragma once

#include <windows.h>

#include <stop_token>
#include <vector>

namespace kavren::win32 {

// Long work runs on the window's thread, which waits on the storage for a
// short slice at a time (the reads and the listings run on threads of their
// own) and handles what has come in between. While it runs, the window is
// busy: a close, the end of the session or Esc stops the work, the user's
// own clicks and keys run no handler, and what other programs send that
// would (a click on a button, a drop) waits for the work to end.
class LongWork {
 public:
  // `window` is the window's handle as it will be once the window exists.
  explicit LongWork(const HWND& window) noexcept : window_(window) {}
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  // One piece of long work, from start to end, under the hourglass. At its
  // end what waited is posted again, or, if the window was closed, the
  // window closes.
  class Scope {
   public:
    explicit Scope(LongWork& work);
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope();

   private:
    LongWork& work_;
    HCURSOR cursor_;
  };

  [[nodiscard]] std::stop_token stop_token() const noexcept { return stop_.get_token(); }
  [[nodiscard]] bool stop_requested() const noexcept { return stop_.stop_requested(); }

  // A message to the window: true if long work took it (to keep for later,
  // or as a close), and the window's handler must not run.
  bool Intercept(UINT message, WPARAM wparam, LPARAM lparam);
  // Handles what has come in: what other programs send, painting, the
  // frame, Esc.
  void HandleMessages();

 private:
  const HWND& window_;
  bool busy_ = false;
  std::stop_source stop_;
  bool closing_ = false;
  std::vector<MSG> deferred_;
};

}  // namespace kavren::win32
