#include "faults/syscall_faults.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace tz::test::faults {
namespace {

Stage armed = Stage::none;
// Plain storage: the calls below may come before this file's objects are made.
char source_name[256] = "";
off_t data_left = 0;
int temp_fd = -1;  // the temporary file last created
bool happened = false;

template <typename F>
F next(const char* symbol) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, symbol));
}

// Fails the call with `error`, once the fault is armed for `stage` and `applies`.
bool fails(Stage stage, bool applies, int error) {
  if (armed != stage || !applies) return false;
  happened = true;
  errno = error;
  return true;
}

bool is_temp_name(const char* path) {
  const char* base = std::strrchr(path, '/');
  return std::strncmp(base ? base + 1 : path, ".tenzor-copy-", 13) == 0;
}

}  // namespace

void arm(Stage stage, const char* name, off_t bytes) {
  armed = stage;
  std::snprintf(source_name, sizeof source_name, "%s", name ? name : "");
  data_left = bytes;
  happened = false;
}

void disarm() {
  arm(Stage::none);
}

bool fired() {
  return happened;
}

}  // namespace tz::test::faults

using tz::test::faults::Stage;
namespace f = tz::test::faults;

extern "C" int openat(int dir_fd, const char* path, int flags, ...) {
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list args;
    va_start(args, flags);
    mode = va_arg(args, mode_t);
    va_end(args);
  }
  if (f::fails(Stage::open_source,
               !(flags & (O_CREAT | O_DIRECTORY)) && std::strcmp(f::source_name, path) == 0, EIO) ||
      f::fails(Stage::create_temp, (flags & O_CREAT) && f::is_temp_name(path), ENOSPC)) {
    return -1;
  }
  static const auto real = f::next<int (*)(int, const char*, int, ...)>("openat");
  const int fd = real(dir_fd, path, flags, mode);
  if (fd >= 0 && (flags & O_CREAT) && f::is_temp_name(path)) f::temp_fd = fd;
  return fd;
}

namespace tz::test::faults {
namespace {

// Writes at most what still fits into `fd` before the disk is full, through `write_up_to`
// (which takes the length to write); -1 with ENOSPC when nothing fits.
template <typename Write>
ssize_t limited(int fd, size_t length, Write write_up_to) {
  const bool counted = armed == Stage::data && fd == temp_fd;
  if (counted && data_left <= 0) {
    fails(Stage::data, true, ENOSPC);
    return -1;
  }
  if (counted) length = static_cast<size_t>(std::min<off_t>(static_cast<off_t>(length), data_left));
  const ssize_t count = write_up_to(length);
  if (counted && count > 0) data_left -= count;
  return count;
}

}  // namespace
}  // namespace tz::test::faults

extern "C" ssize_t copy_file_range(int in, off64_t* in_offset, int out, off64_t* out_offset,
                                   size_t length, unsigned int flags) {
  static const auto real =
      f::next<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned int)>("copy_file_range");
  return f::limited(out, length,
                    [&](size_t n) { return real(in, in_offset, out, out_offset, n, flags); });
}

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  static const auto real = f::next<ssize_t (*)(int, const void*, size_t)>("write");
  return f::limited(fd, size, [&](size_t n) { return real(fd, data, n); });
}

extern "C" ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
  static const auto real = f::next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  return f::limited(fd, size, [&](size_t n) { return real(fd, data, n, offset); });
}

extern "C" int fsync(int fd) {
  if (f::fails(Stage::flush, !f::happened, EIO)) return -1;
  static const auto real = f::next<int (*)(int)>("fsync");
  return real(fd);
}

extern "C" int syncfs(int fd) {
  if (f::fails(Stage::flush, !f::happened, EIO)) return -1;
  static const auto real = f::next<int (*)(int)>("syncfs");
  return real(fd);
}

extern "C" int renameat(int from_dir, const char* from, int to_dir, const char* to) {
  if (f::fails(Stage::rename, f::is_temp_name(from), EIO)) return -1;
  static const auto real = f::next<int (*)(int, const char*, int, const char*)>("renameat");
  return real(from_dir, from, to_dir, to);
}

extern "C" int renameat2(int from_dir, const char* from, int to_dir, const char* to,
                         unsigned int flags) {
  if (f::fails(Stage::rename, f::is_temp_name(from), EIO)) return -1;
  static const auto real =
      f::next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
  return real(from_dir, from, to_dir, to, flags);
}
