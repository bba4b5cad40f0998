#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace tz {

// File attributes as the program sees them.
namespace attr {
constexpr int normal = 0;
constexpr int read_only = 1;
constexpr int hidden = 2;
constexpr int system = 4;
constexpr int volume = 8;
constexpr int directory = 16;
constexpr int archive = 32;
}  // namespace attr

// Local wall-clock time of a file's last change, in whole seconds counted from
// 1970-01-01 00:00:00 local time. Differences are plain second counts.
using LocalTime = qint64;

struct FileInfo {
  qint64 length = 0;
  LocalTime modified = 0;
  int attributes = 0;
};

// One entry of a directory listing. `attributes` carries the directory and hidden
// bits only: listings never read a file's status, so read-only is not reported here
// (ask FileSystem::info for it).
struct ListedEntry {
  QString name;
  int attributes = 0;
};

// A directory listing handed out one name at a time.
class Listing {
 public:
  virtual ~Listing() = default;
  // The next entry, or nothing when the listing is exhausted.
  virtual std::optional<ListedEntry> next() = 0;
};

// A directory held open to read the status of many of its files by name, which spares
// walking the whole path for each of them.
class OpenDirectory {
 public:
  virtual ~OpenDirectory() = default;
  // Like FileSystem::info of the directory's path + `name`; the name as listed.
  virtual FileInfo info(const QString& name) = 0;
};

// Files in drive form (`C:\dir\name`). Every operation throws FileError on failure.
// Names are matched without regard to letter case at every component.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The drive letters of the drive table, in order.
  virtual QList<QChar> drives() = 0;
  // Throws 68 for a letter not in the table, 71 for a drive without a medium.
  virtual void check_drive(QChar letter) = 0;

  // Lists `pattern_path`: a directory followed by a name pattern (`*` and `?`,
  // `*.*` meaning every name), or a plain path naming one entry. A path ending in
  // `\` lists that directory itself as ".". Mask 0 returns ordinary and read-only
  // files; adding attr::hidden, attr::system or attr::directory also returns hidden
  // entries, system entries or directories (with "." and ".."). A missing directory
  // gives an empty listing; a bad drive throws.
  virtual std::unique_ptr<Listing> list(const QString& pattern_path, int mask) = 0;

  virtual FileInfo info(const QString& path) = 0;
  // Opens a directory for OpenDirectory::info. Throws like info().
  virtual std::unique_ptr<OpenDirectory> open_directory(const QString& path) = 0;

  // The path with the letter case every component has on disk, without a final
  // `\` except for a drive root. Throws 76 when a directory on the way is missing.
  virtual QString canonical_path(const QString& path) = 0;

  // True when both paths reach the same directory or file on disk (same device and
  // inode); false when either cannot be reached.
  virtual bool same_file(const QString& a, const QString& b) = 0;

  // The host's own name of an existing file or directory, for handing to another
  // program that knows nothing of drive letters.
  virtual QString host_path(const QString& path) = 0;

  // Copies with overwrite, keeping the modification time and permission bits. The
  // target is replaced atomically; a failed copy leaves the old target as it was.
  // A read-only target fails with 75.
  virtual void copy_file(const QString& source, const QString& target) = 0;
  // A read-only file fails with 75.
  virtual void remove_file(const QString& path) = 0;
  virtual void rename(const QString& from, const QString& to) = 0;
  virtual void make_directory(const QString& path) = 0;
  virtual void remove_directory(const QString& path) = 0;

  // Text files of the program's own (the history); written atomically.
  virtual QStringList read_lines(const QString& path) = 0;
  virtual void write_lines(const QString& path, const QStringList& lines) = 0;

  // Convenience over info().
  int attributes(const QString& path) { return info(path).attributes; }
  qint64 length(const QString& path) { return info(path).length; }
  LocalTime modified(const QString& path) { return info(path).modified; }
};

}  // namespace tz
