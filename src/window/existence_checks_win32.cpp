// existence_checks_win32.cpp: each file's check on a thread of its own, shared by every menu that asks while it is out.
#include "window/existence_checks_win32.h"

#include <condition_variable>
#include <map>
#include <mutex>

#include "common/background_work.h"

namespace kavren::win32 {

// What the checks' threads and the menu share; a thread stuck on a share
// holds it for as long as it is stuck, which may be longer than the window lives.
struct ExistenceChecks::Shared {
  // Under `mutex`: written once, by the check's thread, as it answers.
  struct Answer {
    bool known = false;
    FileState state = FileState::kUnknown;
  };
  LookUp look_up;    // set before any check; read by the checks' threads
  std::mutex mutex;  // guards the answers and `out`
  std::condition_variable answered;
  // The checks not yet answered, by path: added to by the window's thread as
  // it asks, taken out by the check's thread as it answers (or by the
  // window's, where no thread could ask).
  std::map<std::wstring, std::shared_ptr<Answer>> out;
};

ExistenceChecks::ExistenceChecks(LookUp look_up) : shared_(std::make_shared<Shared>()) {
  shared_->look_up = std::move(look_up);
}

FileState ExistenceChecks::Check(const std::wstring& path, std::chrono::milliseconds wait) {
  std::unique_lock lock(shared_->mutex);
  std::shared_ptr<Shared::Answer>& slot = shared_->out[path];
  const std::shared_ptr<Shared::Answer> answer = slot ? slot : std::make_shared<Shared::Answer>();
  if (!slot) {
    slot = answer;
    auto ask = [shared = shared_, answer, path] {
      const PathKind kind = shared->look_up(path);
      const std::lock_guard lock(shared->mutex);
      answer->state = kind == PathKind::kFile ? FileState::kThere : FileState::kGone;
      answer->known = true;
      shared->out.erase(path);
      shared->answered.notify_all();
    };
    if (!RunApart(std::move(ask))) {
      shared_->out.erase(path);
      return FileState::kUnknown;
    }
  }
  shared_->answered.wait_for(lock, wait, [&] { return answer->known; });
  return answer->state;
}

}  // namespace kavren::win32
