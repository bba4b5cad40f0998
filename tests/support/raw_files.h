#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tz::test {

// Files and directories made and removed by their exact bytes, with POSIX calls: for
// names the drive helpers, which take text, cannot carry. A failure fails the test.

inline void write_raw(const QByteArray& path, const QByteArray& data = "x",
                      qint64 mtime = 1'700'000'000) {
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path.constData();
  ASSERT_EQ(::write(fd, data.constData(), static_cast<size_t>(data.size())),
            static_cast<ssize_t>(data.size()));
  const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
  ASSERT_EQ(::futimens(fd, times), 0);
  ::close(fd);
}

inline void make_raw_dir(const QByteArray& path) {
  ASSERT_EQ(::mkdir(path.constData(), 0755), 0) << path.constData();
}

// `path` and everything below it, links not followed, at any depth: one directory at a
// time by descriptor, so that neither the whole path's length nor the stack limits it.
// Directories without write permission are opened up on the way. Best effort, as a
// clean-up must be.
inline void remove_raw_tree(const QByteArray& path) {
  if (::unlink(path.constData()) == 0) return;  // a file or a link
  int dir = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return;
  // Removes what is not a directory; returns the subdirectories left.
  const auto empty_files = [](int fd) {
    ::fchmod(fd, 0700);
    std::vector<QByteArray> subdirs;
    DIR* listing = ::fdopendir(::dup(fd));
    if (!listing) return subdirs;
    while (const dirent* entry = ::readdir(listing)) {
      const char* name = entry->d_name;
      if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 &&
          ::unlinkat(fd, name, 0) != 0)
        subdirs.emplace_back(name);
    }
    ::closedir(listing);
    return subdirs;
  };
  std::vector<std::vector<QByteArray>> left{empty_files(dir)};  // per level
  std::vector<QByteArray> way_down;                             // below `path`
  for (;;) {
    if (!left.back().empty()) {
      const QByteArray name = left.back().back();
      left.back().pop_back();
      const int sub = ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
      if (sub < 0) continue;
      ::close(dir);
      dir = sub;
      way_down.push_back(name);
      left.push_back(empty_files(dir));
      continue;
    }
    left.pop_back();
    if (way_down.empty()) break;
    const int up = ::openat(dir, "..", O_RDONLY | O_DIRECTORY);
    ::close(dir);
    dir = up;
    if (dir < 0) return;
    ::unlinkat(dir, way_down.back().constData(), AT_REMOVEDIR);
    way_down.pop_back();
  }
  ::close(dir);
  ::rmdir(path.constData());
}

}  // namespace tz::test
