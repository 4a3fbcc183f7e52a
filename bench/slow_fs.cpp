// slow_fs.cpp: a FUSE file system that passes through to a folder and waits a set time in every open, standing
// for a network share whose every open is a round trip to the server.
//
//   slow_fs SOURCE MOUNTPOINT DELAY_US [STALL_NAME STALL_MS] [fuse options...]
//
// With a stall, a file whose name starts with STALL_NAME answers the read of its first bytes, and such a folder
// its listing, only after STALL_MS more: a NAS waking its disks, a cloud file being fetched. The name is matched
// on the entry's own name, whatever folders lead to it. Until its read returns, the file's first page stays
// locked in the kernel, and any other open of that file waits for it: under Wine, wineserver performs the
// opens of every program, so each program that is to stall wants a file of its own.
//
// Mount it with enough daemon threads (-o max_threads=256): libfuse's loop runs only 10 requests at once by
// default, and then it, not the storage, limits any reader with more threads than that.
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const char* source;
long delay_us;
const char* stall_name = nullptr;
long stall_ms = 0;

void Wait(long us) {
  const struct timespec wait = {us / 1000000, (us % 1000000) * 1000};
  nanosleep(&wait, nullptr);
}

void StallIfNamed(const char* path) {
  const char* slash = std::strrchr(path, '/');
  if (stall_name && std::strncmp(slash ? slash + 1 : path, stall_name, std::strlen(stall_name)) == 0) {
    Wait(stall_ms * 1000);
  }
}

// The real path below SOURCE; FUSE hands every path with a leading slash.
int RealPath(const char* path, char* real) {
  return std::snprintf(real, PATH_MAX, "%s%s", source, path) < PATH_MAX ? 0 : -ENAMETOOLONG;
}

int SlowGetattr(const char* path, struct stat* info, fuse_file_info* file) {
  (void)file;
  char real[PATH_MAX];
  if (RealPath(path, real) != 0) return -ENAMETOOLONG;
  return lstat(real, info) == 0 ? 0 : -errno;
}

int SlowReaddir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t offset, fuse_file_info* file,
                fuse_readdir_flags flags) {
  (void)offset;
  (void)file;
  (void)flags;
  char real[PATH_MAX];
  if (RealPath(path, real) != 0) return -ENAMETOOLONG;
  StallIfNamed(path);
  DIR* dir = opendir(real);
  if (!dir) return -errno;
  for (dirent* entry; (entry = readdir(dir)) != nullptr;)
    fill(buffer, entry->d_name, nullptr, 0, fuse_fill_dir_flags{});
  closedir(dir);
  return 0;
}

// The round trip: each open waits, on its own daemon thread, so many opens wait at once.
int SlowOpen(const char* path, fuse_file_info* file) {
  char real[PATH_MAX];
  if (RealPath(path, real) != 0) return -ENAMETOOLONG;
  Wait(delay_us);
  const int fd = open(real, file->flags & ~O_NONBLOCK);
  if (fd < 0) return -errno;
  file->fh = static_cast<uint64_t>(fd);
  return 0;
}

int SlowRead(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  if (offset == 0) StallIfNamed(path);
  const ssize_t got = pread(static_cast<int>(file->fh), buffer, size, offset);
  return got < 0 ? -errno : static_cast<int>(got);
}

int SlowRelease(const char* path, fuse_file_info* file) {
  (void)path;
  close(static_cast<int>(file->fh));
  return 0;
}

fuse_operations Operations() {
  fuse_operations operations{};
  operations.getattr = SlowGetattr;
  operations.open = SlowOpen;
  operations.read = SlowRead;
  operations.release = SlowRelease;
  operations.readdir = SlowReaddir;
  return operations;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s SOURCE MOUNTPOINT DELAY_US [fuse options...]\n", argv[0]);
    return 2;
  }
  source = argv[1];
  delay_us = std::strtol(argv[3], nullptr, 10);
  int first_option = 4;
  if (argc >= 6 && argv[4][0] != '-') {
    stall_name = argv[4];
    stall_ms = std::strtol(argv[5], nullptr, 10);
    first_option = 6;
  }
  // FUSE's own arguments: the program, the mount point, then whatever follows the delay and the stall.
  char* fuse_argv[64] = {argv[0], argv[2]};
  int fuse_argc = 2;
  for (int i = first_option; i < argc && fuse_argc < 63; ++i) fuse_argv[fuse_argc++] = argv[i];
  const fuse_operations operations = Operations();
  return fuse_main(fuse_argc, fuse_argv, &operations, nullptr);
}
