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

#include "platform/descriptor.h"
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
//
// Its directory is held open: every call on the path goes through `parent` and `leaf()`,
// so a path longer than the host lets one hand over in one piece still works. The native
// texts are for messages, other programs and keys only, never for a call.
struct HostPath {
  QChar letter;
  QByteArray root;
  QList<QByteArray> names;  // on-disk names; a missing last name stays as given
  bool exists = true;
  std::optional<struct stat> status;  // kept when resolution has already read it
  // The directory that holds the last name, open for searching only; for a root, the
  // root itself.
  Descriptor parent;

  bool is_root() const { return names.isEmpty(); }
  // The last name, relative to `parent`; "." for a root, which asks for the right to
  // search it (a status of the root itself is fstat(parent)).
  const char* leaf() const { return names.isEmpty() ? "." : names.last().constData(); }
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
  // Throws 68 for a letter not in the table, 71 when its host directory is missing, 70
  // when it may not be searched.
  void check_drive(QChar letter) const;

  // Throws 53 when the last name is missing (unless allowed), 76 when a directory on
  // the way is, 71 for a drive without a medium, 70 for a directory that may not be
  // searched.
  HostPath resolve(const ParsedPath& path, Last last);
  HostPath resolve(const QString& path, Last last) { return resolve(parse(path), last); }

  // The on-disk name in the directory `dir_fd` that stands for `name`: the exact one
  // when it exists, else a case-insensitive match. `dir_key` names the directory for the
  // cache of names (its native path; never handed to the system). Throws 70 when it may
  // not be searched or, for a name in another case, read.
  std::optional<QByteArray> find_name(int dir_fd, const QByteArray& dir_key, const QString& name,
                                      bool fold_case);

  // Records a change this process made in the directory `dir_fd` (and the name it added,
  // if any), so that its cached names stay valid. Names that went are caught on use.
  void note_changed(int dir_fd, const QByteArray& dir_key, const QByteArray& added = {});

 private:
  struct DirectoryNames {
    QByteArray dir;
    struct stat status;
    QHash<QString, QList<QByteArray>> by_key;
  };

  Descriptor open_root(const ParsedPath& path) const;
  const DirectoryNames& names_in(int dir_fd, const QByteArray& dir_key, bool fresh);
  DirectoryNames* cached(const QByteArray& dir_key);

  DriveTable table_;
  std::list<DirectoryNames> cache_;  // most recently used first
};

}  // namespace tz
