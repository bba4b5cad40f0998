#pragma once

#include <sys/stat.h>

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <list>
#include <optional>

#include "platform/drive_table.h"

namespace tz {

// A path taken apart, before anything on disk has been looked at.
struct ParsedPath {
  QChar letter;       // null for a native path
  QByteArray root;    // the drive's host directory; "/" for a native path
  QStringList names;  // components below the root, "." and ".." already applied

  bool native() const { return letter.isNull(); }
};

// A path as found on disk.
struct HostPath {
  QChar letter;
  QByteArray root;
  QList<QByteArray> names;  // on-disk names; a missing last name stays as given
  bool exists = true;
  std::optional<struct stat> status;  // kept when resolution has already read it

  bool is_root() const { return names.isEmpty(); }
  QByteArray native() const;
  QByteArray parent_native() const;
  // Drive form with the on-disk case (a native path stays native).
  QString display() const;
};

QByteArray join_native(const QByteArray& dir, const QByteArray& name);

// Turns drive-form paths into host paths, matching every component without regard to
// case. Keeps the names of the last few directories it had to read, so that writing many
// new files into one large directory does not read it again for each file. Not
// thread-safe.
class PathResolver {
 public:
  enum class Last { must_exist, may_be_missing };

  explicit PathResolver(DriveTable table) : table_(std::move(table)) {}

  const DriveTable& table() const { return table_; }

  // Throws 52 for a malformed path, 68 for a letter not in the table.
  ParsedPath parse(const QString& path) const;
  // Throws 68 for a letter not in the table, 71 when its host directory is missing.
  void check_drive(QChar letter) const;

  // Throws 53 when the last name is missing (unless allowed), 76 when a directory on
  // the way is, 71 for a drive without a medium.
  HostPath resolve(const ParsedPath& path, Last last);
  HostPath resolve(const QString& path, Last last) { return resolve(parse(path), last); }

  // The on-disk name in `dir` that stands for `name`: the exact one when it exists,
  // else a case-insensitive match. Throws 76 when `dir` is not a readable directory.
  std::optional<QByteArray> find_name(const QByteArray& dir, const QString& name, bool fold_case);

  // Records a change this process made in `dir` (and the name it added, if any), so
  // that the cached names of `dir` stay valid. Names that went are caught on use.
  void note_changed(const QByteArray& dir, const QByteArray& added = {});

 private:
  struct DirectoryNames {
    QByteArray dir;
    struct stat status;
    QHash<QString, QList<QByteArray>> by_key;
  };

  const DirectoryNames& names_in(const QByteArray& dir, bool fresh);
  DirectoryNames* cached(const QByteArray& dir);

  DriveTable table_;
  std::list<DirectoryNames> cache_;  // most recently used first
};

}  // namespace tz
