#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <ctime>
#include <optional>

#include "platform/drive_table.h"
#include "platform/file_error.h"

namespace tz::test {

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

// The whole file at a host path, or `<missing>` when it cannot be read.
QByteArray file_content(const QString& host_path);

// Private drives for a test: one temporary folder per letter, published in
// TENZOR_DRIVES while the object lives. Letters in `without_medium` are mapped to a
// folder that does not exist.
class TempDrives {
 public:
  explicit TempDrives(const QList<QChar>& letters, const QList<QChar>& without_medium = {});
  ~TempDrives();
  TempDrives(const TempDrives&) = delete;
  TempDrives& operator=(const TempDrives&) = delete;

  QString host(QChar letter) const;
  // The folder that holds every drive, as the host names it.
  QByteArray folder() const;
  // `D:\a\b` as a host path; components are taken with their exact case.
  QString host_path(const QString& drive_path) const;
  QByteArray native(const QString& drive_path) const;
  // The whole file, or `<missing>` when it cannot be read.
  QByteArray content(const QString& drive_path) const;
  DriveTable table() const { return DriveTable::parse(spec_); }

  // Helpers take exact-case drive paths and make missing parents.
  void write_file(const QString& drive_path, const QByteArray& content,
                  std::optional<qint64> mtime_utc_secs = {});
  void make_dir(const QString& drive_path);
  void set_mtime(const QString& drive_path, qint64 utc_secs);
  void set_read_only(const QString& drive_path, bool read_only);

 private:
  QTemporaryDir dir_;
  QString spec_;
  std::optional<QByteArray> old_drives_;
};

}  // namespace tz::test
