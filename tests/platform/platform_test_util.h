#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <algorithm>
#include <chrono>
#include <functional>
#include <future>

#include "platform/file_error.h"
#include "platform/host_file_system.h"
#include "support/temp_drives.h"

namespace tz::test {

// Every entry of a listing: name -> attributes.
inline QMap<QString, int> listed(FileSystem& fs, const QString& pattern_path, int mask) {
  QMap<QString, int> entries;
  auto listing = fs.list(pattern_path, mask);
  while (auto entry = listing->next()) entries.insert(entry->name, entry->attributes);
  return entries;
}

// Bypassing permission checks dropped for a scope, so that a test run as root meets
// the permission errors a user meets. Only the effective set changes: it comes back.
class WithoutOverride {
 public:
  WithoutOverride() {
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    dropped_ = ::syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~WithoutOverride() {
    if (dropped_) ::syscall(SYS_capset, &header_, saved_);
  }
  WithoutOverride(const WithoutOverride&) = delete;
  WithoutOverride& operator=(const WithoutOverride&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool dropped_ = false;
};

// The error number `action` throws, or -1 when it has not returned within 5 seconds.
// Then the pipe at `fifo` gets a writer, which lets a reader stuck on it go, so that a
// fault fails the test instead of hanging it.
inline int error_number_promptly(const QByteArray& fifo, std::function<void()> action) {
  auto result = std::async(std::launch::async, [&] { return error_number(action); });
  if (result.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return result.get();
  const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) ::close(writer);
  result.wait();
  return -1;
}

// Exact on-disk names in the directory open at `fd`, which this closes: hidden ones too,
// sorted.
inline QList<QByteArray> names_at(int fd) {
  QList<QByteArray> found;
  if (DIR* dir = ::fdopendir(fd)) {
    while (const dirent* entry = ::readdir(dir)) {
      const QByteArray name(entry->d_name);
      if (name != "." && name != "..") found.append(name);
    }
    ::closedir(dir);
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The host file system on temporary drives C: and D:, and M: without a medium.
class PlatformTest : public ::testing::Test {
 protected:
  QByteArray native(const QString& path) { return drives.native(path); }
  QByteArray content(const QString& drive_path) { return drives.content(drive_path); }
  // Everything in a drive folder, so that a leftover temporary file shows.
  QStringList names(const QString& drive_path) {
    return QDir(drives.host_path(drive_path))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
  }
  void link(const char* target, const QString& drive_path) {
    ASSERT_EQ(::symlink(target, native(drive_path).constData()), 0);
  }
  QList<QByteArray> raw_names(const QString& drive_dir) {
    return names_at(::open(native(drive_dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  }

  TempDrives drives{{u'C', u'D'}, {u'M'}};
  HostFileSystem fs{drives.table()};
};

}  // namespace tz::test
