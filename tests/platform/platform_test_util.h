#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <ctime>

#include "platform/file_error.h"
#include "platform/host_file_system.h"
#include "support/temp_drives.h"

namespace tz::test {

// The error number `action` throws, 0 when it succeeds.
template <class Action>
int error_number(Action&& action) {
  try {
    action();
  } catch (const FileError& error) {
    return error.number();
  }
  return 0;
}

// Every entry of a listing: name -> attributes.
inline QMap<QString, int> listed(FileSystem& fs, const QString& pattern_path, int mask) {
  QMap<QString, int> entries;
  auto listing = fs.list(pattern_path, mask);
  while (auto entry = listing->next()) entries.insert(entry->name, entry->attributes);
  return entries;
}

// An environment variable set for a scope; a new time zone takes effect at once.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value)
      : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value);
    ::tzset();
  }
  ~ScopedEnv() {
    had_ ? qputenv(name_, old_) : qunsetenv(name_);
    ::tzset();
  }

 private:
  const char* name_;
  QByteArray old_;
  bool had_;
};

// The host file system on temporary drives C: and D:, and M: without a medium.
class PlatformTest : public ::testing::Test {
 protected:
  QByteArray native(const QString& path) { return QFile::encodeName(drives.host_path(path)); }
  QByteArray content(const QString& drive_path) {
    QFile file(drives.host_path(drive_path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  // Everything in a drive folder, so that a leftover temporary file shows.
  QStringList names(const QString& drive_path) {
    return QDir(drives.host_path(drive_path))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
  }
  void link(const char* target, const QString& drive_path) {
    ASSERT_EQ(::symlink(target, native(drive_path).constData()), 0);
  }

  TempDrives drives{{u'C', u'D'}, {u'M'}};
  HostFileSystem fs{drives.table()};
};

}  // namespace tz::test
