#pragma once

#include <fcntl.h>
#include <ftw.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <cstdio>

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

// `path` and everything below it, links not followed.
inline void remove_raw_tree(const QByteArray& path) {
  ::nftw(
      path.constData(),
      [](const char* entry, const struct stat*, int, FTW*) { return ::remove(entry); }, 16,
      FTW_DEPTH | FTW_PHYS);
}

}  // namespace tz::test
