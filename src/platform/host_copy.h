#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <QByteArray>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/descriptor.h"
#include "platform/file_error.h"
#include "platform/file_system.h"

namespace tz {

// Temporary files are named `.tenzor-copy-<pid>-<8 letters or digits>`, so that one left
// by a process that died can be told from the user's files and from a living copy's. The
// first four letters stand for the boot of the machine that wrote it (boot_tag()), the
// rest are random.
QByteArray temp_file_name(pid_t pid);
// Four letters or digits for this boot of this machine; empty when it cannot be told.
QByteArray boot_tag();
// The process that wrote the temporary file `name`; nothing for any other name.
std::optional<pid_t> temp_file_owner(const char* name);

// The read-only attribute: no write permission for anybody. Checked here because a
// process running as root would otherwise write and delete regardless.
inline bool is_read_only(mode_t mode) {
  return (mode & 0222) == 0;
}

// Flushes `fd` to the medium. A file system that cannot flush says so with EINVAL;
// there is nothing more to be done there.
void flush(int fd);

// Which of the two files of a copy a failure concerns.
enum class CopySide { source, target };

// A failed copy, telling whether reading the source or writing the target failed.
class CopyError : public FileError {
 public:
  CopyError(const FileError& error, CopySide side) : FileError(error), side_(side) {}
  CopySide side() const { return side_; }

 private:
  CopySide side_;
};

// A new file in the target's directory that takes the target's name only once
// complete and flushed, so that a failure at any point leaves the old target as it
// was. Removed unless committed. `dir_fd` (open for reading) must stay open while this
// lives.
class TempFile {
 public:
  explicit TempFile(int dir_fd);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_; }
  void write(const char* data, qint64 size);
  // The data reaches the medium before the name does, and the name before this
  // returns: a power cut leaves either the old target or the complete new one.
  void commit(const QByteArray& target, OpenDirectory::Target mode);
  // The two halves of a commit for copies flushed together: the file closed (its
  // errors told) without a flush, and, once its data is on the medium, the target's
  // name given without flushing the directory.
  void close();
  void take_name(const QByteArray& target, OpenDirectory::Target mode);

 private:
  int dir_fd_;
  QByteArray name_;
  int fd_ = -1;
};

// Opens the regular file `name` (relative to `dir_fd`) for reading, with its status in
// `st`; 75 for anything else, found out without blocking on a pipe or a device.
Descriptor open_regular(int dir_fd, const char* name, struct stat& st);

// Removes the temporary files that copies into a folder left behind when their process
// died: of no running process, and written in this boot of this machine or older than a
// day. Each folder is looked at once.
class LeftoverSweeper {
 public:
  // Never fails: a leftover that stays does no harm.
  void sweep(int dir_fd);

 private:
  std::set<std::pair<dev_t, ino_t>> swept_;
};

// Copies the regular file `source` (relative to `source_dir`) to `target` in
// `target_dir` (open for reading) through a temporary file there, keeping the
// modification time, the permission bits and the holes of a sparse file. Returns the
// status of the copy. Throws CopyError.
struct stat copy_regular(int source_dir, const char* source, int target_dir,
                         const QByteArray& target, OpenDirectory::Target mode,
                         LeftoverSweeper& sweeper);

// Writes the copy that copy_regular makes to its temporary file, complete with its
// time and permission bits, but neither flushed nor named; the source's status in `st`.
std::unique_ptr<TempFile> write_copy(int source_dir, const char* source, int target_dir,
                                     const QByteArray& target, OpenDirectory::Target mode,
                                     LeftoverSweeper& sweeper, struct stat& st);

// Copies written whole and made durable together: many small files cost one flush of
// each file system and one of each directory, not two flushes each. Until commit() no
// target has changed; a copy not committed leaves no file behind. Each target directory
// must stay open until then.
class CopyBatchFiles {
 public:
  struct Named {
    std::optional<struct stat> copy;  // the new file, once it has its name
    std::optional<FileError> error;   // what kept it from its name or its directory
                                      // from the medium (then perhaps with `copy`)
  };

  // Writes the copy; throws CopyError as copy_regular does, leaving nothing of it.
  void add(int source_dir, const char* source, int target_dir, const QByteArray& target,
           OpenDirectory::Target mode, LeftoverSweeper& sweeper);
  int count() const { return static_cast<int>(copies_.size()); }
  qint64 bytes() const { return bytes_; }
  // Flushes every file system written to, gives each copy its target's name, then
  // flushes each directory once: a power cut leaves each target its old file or the
  // whole new one. Returns each copy's outcome in the order added. Throws CopyError when
  // the data cannot be flushed; then no target has changed. Empties the batch either way.
  std::vector<Named> commit();

 private:
  struct Copy {
    std::unique_ptr<TempFile> temp;
    int target_dir;
    QByteArray target;
    OpenDirectory::Target mode;
    struct stat source;
  };
  std::vector<Copy> copies_;
  qint64 bytes_ = 0;
};

// Copies the file at the native absolute path `source` to the native absolute path
// `target` with copy_regular. Each path is taken byte for byte, as another process of the
// program hands it on: `\`, a newline or bytes that are not UTF-8 are parts of a name,
// and a relative path, an empty name or a "." or ".." part is refused (52) rather than
// resolved. Each file is reached by its exact last name in its directory. Throws
// CopyError.
void copy_exact_paths(const QByteArray& source, const QByteArray& target,
                      OpenDirectory::Target mode);
// True for a path copy_exact_paths takes: "/" followed by names, none empty, "." or "..".
bool is_exact_native_path(const QByteArray& path);

// Runs `action`, telling a file error it throws which file of a copy it concerns.
template <class Action>
decltype(auto) concerning(CopySide side, Action&& action) {
  try {
    return action();
  } catch (const CopyError&) {
    throw;
  } catch (const FileError& error) {
    throw CopyError(error, side);
  }
}

}  // namespace tz
