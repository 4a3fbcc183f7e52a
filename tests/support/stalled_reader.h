// stalled_reader.h: a file seam whose read of one file stalls, as a file on a sleeping NAS or a cloud drive does.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "analysis/analysis_pass.h"
#include "analysis/module1.h"

namespace kavren::testing {

// Reads as the program does, but a file whose name ends in `name` answers
// only once Release() is called, or after `stall`. Its state lives as long
// as any worker still inside the stalled read.
class StalledReader {
 public:
  explicit StalledReader(std::wstring name, std::chrono::seconds stall = std::chrono::seconds(20))
      : state_(std::make_shared<State>()) {
    state_->name = std::move(name);
    state_->stall = stall;
  }
  void Release() {
    const std::lock_guard lock(state_->mutex);
    state_->released = true;
    state_->changed.notify_all();
  }
  // Whether the stalled read has returned, waiting up to `timeout` for it.
  bool Returned(std::chrono::milliseconds timeout) {
    std::unique_lock lock(state_->mutex);
    return state_->changed.wait_for(lock, timeout, [&] { return state_->returned; });
  }
  [[nodiscard]] FileReader Reader() const {
    return [state = state_](const std::wstring& path, ReadFailure& failure) {
      if (path.ends_with(state->name)) {
        std::unique_lock lock(state->mutex);
        state->changed.wait_for(lock, state->stall, [&] { return state->released; });
        state->returned = true;
        state->changed.notify_all();
      }
      return GetFileEncoding(path, failure);
    };
  }

 private:
  struct State {
    std::wstring name;
    std::chrono::seconds stall{};
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    bool returned = false;
  };
  std::shared_ptr<State> state_;
};

}  // namespace kavren::testing
