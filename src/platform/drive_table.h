#pragma once

#include <QChar>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace tz {

// Maps drive letters to host directories, so that `D:\docs` can stand for
// `/media/usb/docs`.
class DriveTable {
 public:
  // The table in TENZOR_DRIVES, or `C=/` when that is unset or holds no valid drive.
  static DriveTable from_environment();
  // Reads `C=/;D=/media/ann/USB`. Letters are case-insensitive; items that are not a
  // letter and an absolute directory are ignored.
  static DriveTable parse(const QString& text);

  QList<QChar> letters() const { return roots_.keys(); }
  std::optional<QString> host_root(QChar letter) const;

  // The letter whose host directory is the longest prefix of `native`, 'C' when none.
  QChar drive_of_host_path(const QString& native) const;
  // `/media/usb/docs` as `D:\docs`; nothing when no drive covers the path.
  std::optional<QString> to_drive_form(const QString& native_absolute) const;
  // The process's current directory in drive form; the root of C: (or of the first
  // drive) when no drive covers it.
  QString current_directory() const;

 private:
  std::optional<QChar> covering_drive(const QString& clean_native) const;

  QMap<QChar, QString> roots_;  // upper-case letter -> clean absolute host directory
};

}  // namespace tz
