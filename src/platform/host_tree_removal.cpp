#include "platform/host_tree_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include "platform/descriptor.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/host_copy.h"

namespace tz {

namespace {

// Another file system mounted on the directory `name`: its files are no part of the
// tree. Where the host cannot tell a mount's root, the change of device shows it.
// Throws the errno of a failed look.
bool mounted_on(int dir_fd, const char* name, dev_t dir_device) {
  struct statx st;
  if (::statx(dir_fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS, &st) != 0)
    throw FileError(error_from_errno(errno));
  if (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
    return (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
  return makedev(st.stx_dev_major, st.stx_dev_minor) != dir_device;
}

// The names a tree removal takes from the directory `dir_fd`, last first: hidden names
// (and "." and "..") are not among them.
std::vector<QByteArray> visible_names(int dir_fd) {
  Descriptor reading(::openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!reading.valid()) throw FileError(error_from_errno(errno));
  DIR* handle = ::fdopendir(reading.get());
  if (!handle) throw FileError(error_from_errno(errno));
  reading.release();  // closed with the handle
  struct Closer {
    void operator()(DIR* dir) const { ::closedir(dir); }
  };
  const std::unique_ptr<DIR, Closer> closing(handle);
  std::vector<QByteArray> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(handle);
    if (!entry) {
      if (errno != 0) throw FileError(error_from_errno(errno));
      // Taken from the back, so the directory's own order comes first.
      std::reverse(names.begin(), names.end());
      return names;
    }
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  }
}

// One directory on the way down.
struct Level {
  QByteArray name;  // in the level above
  dev_t device;
  ino_t inode;
  std::vector<QByteArray> left;  // names still to take, last first
};

class TreeRemoval {
 public:
  TreeRemoval(int parent_fd, const QByteArray& name, const QString& shown)
      : parent_fd_(parent_fd), name_(name), shown_(shown) {}

  void run(std::optional<DirectoryId> expected) {
    struct stat parent;
    if (::fstat(parent_fd_, &parent) != 0) stop(errno, nullptr);
    // Emptying a mounted medium would reach far outside the tree, and its root could not
    // be removed in the end anyway.
    if (mounted_on(parent_fd_, name_.constData(), parent.st_dev))
      stop(FileError(err::path_file_access), nullptr);
    current_ = Descriptor(
        ::openat(parent_fd_, name_.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!current_.valid()) stop(errno, nullptr);
    struct stat top;
    if (::fstat(current_.get(), &top) != 0) stop(errno, nullptr);
    if (expected && (top.st_dev != expected->device || top.st_ino != expected->inode))
      stop(FileError(err::path_not_found), nullptr);
    enter(name_, top);

    while (!levels_.empty()) {
      Level& level = levels_.back();
      if (level.left.empty()) {
        leave();
        continue;
      }
      const QByteArray name = std::move(level.left.back());
      level.left.pop_back();
      take(name);
    }
  }

 private:
  void enter(const QByteArray& name, const struct stat& st) {
    std::vector<QByteArray> names;
    try {
      names = visible_names(current_.get());
    } catch (const FileError& error) {
      stop(error, levels_.empty() ? nullptr : &name);
    }
    levels_.push_back(Level{name, st.st_dev, st.st_ino, std::move(names)});
  }

  // Removes the entry `name` of the current directory, or goes down into it.
  void take(const QByteArray& name) {
    const int dir = current_.get();
    struct stat st;
    if (::fstatat(dir, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) return;  // gone meanwhile
      stop(errno, &name);
    }
    if (S_ISDIR(st.st_mode)) {
      bool mounted = false;
      try {
        mounted = mounted_on(dir, name.constData(), levels_.back().device);
      } catch (const FileError& error) {
        stop(error, &name);
      }
      if (mounted) stop(FileError(err::path_file_access), &name);
      Descriptor sub(
          ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (!sub.valid()) stop(errno, &name);
      struct stat opened;
      if (::fstat(sub.get(), &opened) != 0) stop(errno, &name);
      // Only the directory being emptied stays open: a deep tree must not run out of
      // descriptors. The way back up is checked by device and inode.
      current_ = std::move(sub);
      enter(name, opened);
    } else if (S_ISLNK(st.st_mode) || S_ISREG(st.st_mode)) {
      // A link is only a name, whatever it points to; a file of its own is guarded.
      if (S_ISREG(st.st_mode) && is_read_only(st.st_mode))
        stop(FileError(err::path_file_access), &name);
      if (::unlinkat(dir, name.constData(), 0) != 0) stop(errno, &name);
      removed_some_ = true;
    }
    // Pipes, sockets and devices are no files of the user's: they stay, as hidden names
    // do, and so does the directory that holds them.
  }

  // The current directory holds nothing more to take: it goes, and its parent is next.
  void leave() {
    const QByteArray name = levels_.back().name;
    int parent = parent_fd_;
    Descriptor up;
    if (levels_.size() > 1) {
      up = Descriptor(::openat(current_.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (!up.valid()) stop(errno, nullptr);
      struct stat st;
      const Level& above = levels_[levels_.size() - 2];
      // Moved away meanwhile: its parent is no longer the directory it was found in.
      if (::fstat(up.get(), &st) != 0 || st.st_dev != above.device || st.st_ino != above.inode)
        stop(FileError(err::path_not_found), nullptr);
      parent = up.get();
    }
    current_ = Descriptor();
    levels_.pop_back();
    if (::unlinkat(parent, name.constData(), AT_REMOVEDIR) != 0) {
      stop(FileError(errno == ENOTEMPTY || errno == EEXIST ? err::path_file_access
                                                           : error_from_errno(errno)),
           levels_.empty() ? nullptr : &name);
    }
    removed_some_ = true;
    current_ = std::move(up);
  }

  [[noreturn]] void stop(int posix_errno, const QByteArray* name) {
    stop(FileError(error_from_errno(posix_errno)), name);
  }

  // Says where: the current directory, or `name` in it.
  [[noreturn]] void stop(const FileError& error, const QByteArray* name) {
    QString where = shown_;
    for (size_t i = 1; i < levels_.size(); ++i) where += u'\\' + display_name(levels_[i].name);
    if (name) where += u'\\' + display_name(*name);
    throw RemovalStopped(error, where, removed_some_);
  }

  const int parent_fd_;
  const QByteArray name_;
  const QString shown_;
  Descriptor current_;
  std::vector<Level> levels_;
  bool removed_some_ = false;
};

}  // namespace

void remove_directory_tree(int parent_fd, const QByteArray& name, const QString& shown,
                           std::optional<DirectoryId> expected) {
  TreeRemoval(parent_fd, name, shown).run(expected);
}

}  // namespace tz
