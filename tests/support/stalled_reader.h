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
// only once Release() is called, or after 20 s. Its state lives as long as
// any worker still inside the stalled read.
class StalledReader {
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
  };

 public:
  explicit StalledReader(std::wstring name) : name_(std::move(name)) {}
  void Release() {
    const std::lock_guard lock(state_->mutex);
    state_->released = true;
    state_->changed.notify_all();
  }
  // Waits as the stalled read does, for whatever else stalls: a listing, say.
  [[nodiscard]] std::function<void()> Stall() const {
    return [state = state_] {
      std::unique_lock lock(state->mutex);
      state->changed.wait_for(lock, std::chrono::seconds(20), [&] { return state->released; });
    };
  }
  [[nodiscard]] FileReader Reader() const {
    return [stall = Stall(), name = name_](const std::wstring& path, ReadFailure& failure, ContentVerdict& content) {
      if (path.ends_with(name)) stall();
      return GetFileEncoding(path, failure, &content);
    };
  }

 private:
  std::wstring name_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace kavren::testing
