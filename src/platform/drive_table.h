#pragma once

#include <QChar>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace tz {

struct DriveTableReading;

// Maps drive letters to host directories, so that `D:\docs` can stand for
// `/media/usb/docs`.
class DriveTable {
 public:
  // TENZOR_DRIVES read by `read`; the program checks it once at start.
  static DriveTableReading read_environment();
  // Reads `C=/;D=/media/ann/USB`: items separated by ";", each a letter A-Z (either
  // case), "=" and an absolute host directory, blanks around allowed, blank items
  // ignored. A text without items is the default `C=/`. A malformed item, a letter given
  // twice or a relative directory makes the whole text no table: a guess could expose
  // the whole host disk. A directory that does not exist is a drive without a medium.
  static DriveTableReading read(const QString& text);
  // `read` for a text known to be a table (tests, fixed tables); throws
  // std::invalid_argument with the reading's message otherwise.
  static DriveTable parse(const QString& text);
  // TENZOR_DRIVES, for a process whose environment the program already checked; a
  // malformed table gives no drive at all, never the host root.
  static DriveTable from_environment();

  // Why a native path given by the user cannot be read as a drive path: no drive
  // covers it, or a name in it holds a backslash.
  static QString outside_every_drive(const QString& native);

  QList<QChar> letters() const { return roots_.keys(); }
  std::optional<QString> host_root(QChar letter) const;

  // The letter whose host directory is the longest prefix of `native`, 'C' when none.
  QChar drive_of_host_path(const QString& native) const;
  // `/media/usb/docs` as `D:\docs`; nothing when no drive covers the path, or when a
  // name below the drive's directory holds a backslash.
  std::optional<QString> to_drive_form(const QString& native_absolute) const;
  // The process's current directory in drive form; the root of C: (or of the first
  // drive) when no drive covers it.
  QString current_directory() const;

 private:
  std::optional<QChar> covering_drive(const QString& clean_native) const;

  QMap<QChar, QString> roots_;  // upper-case letter -> clean absolute host directory
};

// A drive table, or (table empty) the message that says what is wrong with its text.
struct DriveTableReading {
  std::optional<DriveTable> table;
  QString error;
};

}  // namespace tz
