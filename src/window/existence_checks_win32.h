// existence_checks_win32.h: whether the files of the lists' menu still exist, asked without waiting on the storage.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "window/path_kind_win32.h"

namespace kavren::win32 {

// What the menu knows of a row's file: there, gone, or not known because
// the storage has not answered.
enum class FileState { kThere, kGone, kUnknown };

// Whether files exist, each asked on a thread of its own. A share that does
// not answer may keep that thread for minutes, so at most one is asked per
// file: a file whose check is still out waits on that one.
class ExistenceChecks {
 public:
  using LookUp = std::function<PathKind(const std::wstring& path)>;
  explicit ExistenceChecks(LookUp look_up = KindOfPath);

  // The state of `path`, waiting no longer than `wait` for the answer.
  [[nodiscard]] FileState Check(const std::wstring& path, std::chrono::milliseconds wait);

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace kavren::win32
