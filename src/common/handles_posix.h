// handles_posix.h: the owner of a POSIX file descriptor, beside the Win32 owners of handles_win32.h.
#pragma once

#include <unistd.h>

#include "common/unique_any.h"

namespace kavren {

struct FdTraits {
  static constexpr int Invalid() noexcept { return -1; }
  static void Close(int fd) noexcept { ::close(fd); }
};
using unique_fd = unique_any<int, FdTraits>;

}  // namespace kavren
