#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "platform/file_error.h"

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
// Not an attribute: with `directory` in a listing's mask, plain files are left out
// without being looked at, which counts in directories of a million files.
constexpr int directories_only = 256;
// Not an attribute: with it in a listing's mask, a name that is a symbolic link is marked
// with it (its other bits tell what the link reaches), where the file system says so.
constexpr int link = 512;
}  // namespace attr

// The time of a file's last change in whole seconds since 1970-01-01 00:00:00 UTC.
// Times are compared in this form only, so that the hour repeated when summer time
// ends changes nothing; local time is for display.
using FileTime = qint64;

// How far apart two file times lie, in seconds; saturates instead of overflowing for
// the extreme times some file systems can store.
quint64 seconds_apart(FileTime a, FileTime b);

struct FileInfo {
  qint64 length = 0;
  FileTime modified = 0;
  // The part of the modification time below the second, where the file system keeps
  // one: two files of one length and whole second are still told apart.
  qint32 modified_ns = 0;
  int attributes = 0;
  // What the name reaches on disk, links followed: two names with the same device and
  // inode are one file.
  quint64 device = 0;
  quint64 inode = 0;
  // A plain file (not a directory, device, pipe or socket).
  bool regular = false;

  bool same_file(const FileInfo& other) const {
    return device == other.device && inode == other.inode;
  }
};

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms, no
// surrogates, nothing past U+10FFFF), with its code point in `code`; 0 when there is
// none.
int utf8_sequence(const uchar* at, qsizetype left, char32_t& code);

// The text that shows an exact on-disk name: the name itself when it is valid UTF-8,
// otherwise with each byte that cannot be read shown as `\xE9`.
QString display_name(const QByteArray& name);

// One entry of a directory listing. `attributes` carries the directory and hidden
// bits only: listings never read a file's status, so read-only is not reported here
// (ask FileSystem::info for it).
struct ListedEntry {
  QString name;  // display_name(raw)
  int attributes = 0;
  QByteArray raw;  // the exact on-disk name
};

// A directory listing handed out one name at a time.
class Listing {
 public:
  virtual ~Listing() = default;
  // The next entry, or nothing when the listing is exhausted.
  virtual std::optional<ListedEntry> next() = 0;
};

// A directory as the host file system holds it open; only that file system knows more of
// it. A copy between two open directories reaches both of its ends through it.
class HostDirectory;

// A directory held open, whose files are reached by their exact on-disk names (any
// byte but `/` and NUL; `\`, `..` and case twins are just names). Nothing here resolves
// a text path again, so an action reaches exactly the file a listing found. Every
// operation throws FileError on failure; a name that is empty, "." or "..", or holds
// `/`, fails with 52.
class OpenDirectory {
 public:
  virtual ~OpenDirectory() = default;

  // The directory in drive form, with a final `\`, for messages.
  virtual QString path() const = 0;
  // The directory itself (device and inode).
  virtual FileInfo self() = 0;

  // The status of `name`, links followed. 53 when it is missing.
  virtual FileInfo info(const QByteArray& name) = 0;
  // True when `name` exists, links not followed (a dangling link exists).
  virtual bool exists(const QByteArray& name) = 0;

  enum class Target {
    replace,     // `target_name` exists and is replaced
    create_new,  // `target_name` must not exist; 58 when it does (also in another case
                 // on a file system that ignores case)
  };
  // Copies the regular file `name` to `target_name` in `target`, keeping the
  // modification time and permission bits, and returns the new file's status. The
  // source is opened without blocking and must be a regular file (75 otherwise: a pipe
  // never blocks the program). The data goes to a new file beside the target that
  // takes the target's name only when complete, after the data and the directory entry
  // are flushed to the medium: a failed copy leaves the old target as it was, and a
  // power cut after this returns cannot lose the copy. A read-only or directory target
  // fails with 75.
  virtual FileInfo copy_to(const QByteArray& name, OpenDirectory& target,
                           const QByteArray& target_name, Target mode) = 0;
  // This directory as the host file system holds it, which copies between directories
  // reach; a directory that stands in front of another hands on the other's.
  virtual HostDirectory& host_directory() = 0;
  // Removes the file `name` (a link itself, never what it points to). 75 for a
  // read-only file or a directory. The removal is flushed to the medium, unless a run
  // of removals asks for one flush() at its end.
  enum class Flush { now, later };
  virtual void remove(const QByteArray& name, Flush when = Flush::now) = 0;
  // Flushes the changes to the directory's names to the medium.
  virtual void flush() = 0;
  // The host's own path of `name`, for other programs; nothing when it cannot be
  // handed on as text (a name that is not valid UTF-8).
  virtual std::optional<QString> host_path(const QByteArray& name) = 0;

  // Every entry, in the order the directory gives them, filtered as FileSystem::list
  // filters with `mask`, but never "." or "..". A name whose status cannot be read is
  // left out; a directory that cannot be read throws.
  virtual std::vector<ListedEntry> entries(int mask) = 0;
  // The subdirectory `name`, itself and never what a symbolic link of that name points
  // to (a link fails), so that a walk cannot leave the tree or loop. Its path() is this
  // path() followed by the name as displayed and `\`.
  virtual std::shared_ptr<OpenDirectory> open_subdirectory(const QByteArray& name) = 0;
  // Creates the subdirectory `name` (75 when the name exists, also in another case on a
  // file system that ignores case) and opens it as open_subdirectory does.
  virtual std::shared_ptr<OpenDirectory> make_subdirectory(const QByteArray& name) = 0;
  // Renames the entry `name` to `new_name` in this directory. 58 when `new_name` exists,
  // also as another name that differs in letter case only (`name` itself may change its
  // case).
  virtual void rename(const QByteArray& name, const QByteArray& new_name) = 0;
  // Removes the subdirectory `name` with everything below it, as FileSystem::remove_tree
  // does, once it is the directory `expected` (device and inode): another directory
  // or a link by that name fails with 76 before anything is removed. A removal that
  // stops throws RemovalStopped.
  virtual void remove_tree(const QByteArray& name, const FileInfo& expected) = 0;
};

// Copies that keep their source, made durable together for a run of many files: each
// is written whole to a new file beside its target, as OpenDirectory::copy_to writes
// it, and commit() flushes them all at once, gives each its target's name and flushes
// each directory once. Until then no target has changed; every target is at any moment
// its old file or its whole new one. Copies not committed leave nothing behind.
class CopyBatch {
 public:
  virtual ~CopyBatch() = default;

  // Writes the copy of `name` in `source` for `target_name` in `target`, checked and
  // failing as copy_to does (then nothing of it is left). `target` is kept open until
  // the batch is committed.
  virtual void add(OpenDirectory& source, const QByteArray& name,
                   const std::shared_ptr<OpenDirectory>& target, const QByteArray& target_name,
                   OpenDirectory::Target mode) = 0;
  // Copies written and not yet committed, and their bytes.
  virtual int count() const = 0;
  virtual qint64 bytes() const = 0;

  struct Outcome {
    std::optional<FileInfo> copy;    // the new file, under its target's name
    std::optional<FileError> error;  // what kept it from its name (58: the name was
                                     // taken meanwhile), or its directory from the medium
  };
  // Each copy's outcome, in the order added. Throws FileError when the data cannot be
  // flushed: then no target has changed. Empties the batch either way.
  virtual std::vector<Outcome> commit() = 0;
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
  // Opens a directory to reach its files by exact name. Throws like info(); 76 when
  // the path is no directory.
  virtual std::shared_ptr<OpenDirectory> open_directory(const QString& path) = 0;

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
  // target is replaced atomically and flushed to the medium; a failed copy leaves the
  // old target as it was. Only a regular file is copied (75 otherwise, without
  // blocking on a pipe). A read-only target fails with 75.
  virtual void copy_file(const QString& source, const QString& target) = 0;
  // A read-only file fails with 75.
  virtual void remove_file(const QString& path) = 0;
  virtual void rename(const QString& from, const QString& to) = 0;
  virtual void make_directory(const QString& path) = 0;
  virtual void remove_directory(const QString& path) = 0;
  // Removes the directory `path` (a final `\` allowed) with everything below it, each
  // directory after what it holds, every name reached by its exact bytes: files and
  // links go (a link itself, never what it points to), subdirectories are emptied and
  // removed. Hidden entries, pipes, sockets and devices stay, so the directory holding
  // one cannot be removed (75); so does a read-only file (75). A directory where another
  // file system is mounted is never entered (75). A failure ends the removal and nothing
  // is undone. A missing `path` is no error; a link named by `path` goes as a link; a
  // drive root or a plain file fails with 75 before anything is removed. Any depth is
  // removed (the walk keeps its way down in a list, not on the stack). A removal that
  // stops throws RemovalStopped.
  virtual void remove_tree(const QString& path) = 0;

  // A new, empty batch of copies between open directories of this file system.
  virtual std::unique_ptr<CopyBatch> copy_batch() = 0;

  // Text files (the tree comparison's log); written atomically, each line ended by
  // CR LF. Each line read is decoded on its own: UTF-8 where it is valid, Latin-1 (the
  // legacy code page) otherwise.
  virtual QStringList read_lines(const QString& path) = 0;
  virtual void write_lines(const QString& path, const QStringList& lines) = 0;

  // The program's own files (the history) by their native host path, exactly as given:
  // never through the drive table, a `\` or `..` in it is part of a name. Lines are
  // read as read_lines reads them; a line longer than `longest_line` bytes is left out
  // without being held in memory. 53 when the file or its folder is missing.
  virtual QStringList read_own_lines(const QByteArray& native_path, qsizetype longest_line) = 0;
  // Replaces the file atomically, making the folders missing on its way first, readable
  // by the user only (as per-user data folders are).
  virtual void write_own_lines(const QByteArray& native_path, const QStringList& lines) = 0;
  // Makes the native folder and every missing folder above it, as write_own_lines does.
  virtual void make_own_folder(const QByteArray& native_path) = 0;

  // Convenience over info().
  int attributes(const QString& path) { return info(path).attributes; }
  qint64 length(const QString& path) { return info(path).length; }
  FileTime modified(const QString& path) { return info(path).modified; }
};

}  // namespace tz
