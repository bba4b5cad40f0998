#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <optional>

#include "platform/drive_table.h"

namespace tz::test {

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
