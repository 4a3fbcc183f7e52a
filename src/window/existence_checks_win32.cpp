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
  struct Answer {
    bool known = false;
    FileState state = FileState::kUnknown;
  };
  LookUp look_up;
  std::mutex mutex;
  std::condition_variable answered;
  std::map<std::wstring, std::shared_ptr<Answer>> out;  // the checks not yet answered, by path
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
