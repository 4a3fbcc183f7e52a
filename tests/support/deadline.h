// deadline.h: no test waits for ever; a wait past its deadline ends the test program, naming what it waited for.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace kavren::testing {

// Under Wine a fault inside a window procedure is swallowed and the message
// returns, so a handler that faults before it posts its quit leaves the
// loop waiting for ever; so does a pass whose workers never answer. The
// watcher thread sees the deadline pass and ends the program with a failure.
class Deadline {
 public:
  Deadline(std::string what, std::chrono::seconds limit)
      : watcher_([this, what = std::move(what), limit] {
          std::unique_lock lock(mutex_);
          if (ended_.wait_for(lock, limit, [this] { return done_; })) return;
          std::fprintf(stderr, "\nFAILED: still waiting after %lld s for %s\n", static_cast<long long>(limit.count()),
                       what.c_str());
          std::fflush(stderr);
          std::_Exit(1);
        }) {}
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;
  ~Deadline() {
    {
      const std::lock_guard lock(mutex_);
      done_ = true;
    }
    ended_.notify_one();
    watcher_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread watcher_;  // last: it starts once the rest exists
};

}  // namespace kavren::testing
