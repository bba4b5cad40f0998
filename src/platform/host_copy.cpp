#include "platform/host_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <set>
#include <vector>

namespace tz {

namespace {

using Target = OpenDirectory::Target;

constexpr char temp_prefix[] = ".tenzor-copy-";
constexpr int temp_random_length = 8;
// The first letters after the process id tell the boot of the machine that wrote the
// file: a process of this boot that is gone wrote its last byte for good.
constexpr int temp_boot_length = 4;
constexpr time_t one_day = 24 * 60 * 60;
constexpr char temp_digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";

[[noreturn]] void throw_errno(bool last_component = true) {
  throw FileError(error_from_errno(errno, last_component));
}

[[noreturn]] void throw_errno(CopySide side) {
  throw CopyError(FileError(error_from_errno(errno)), side);
}

bool is_temp_random(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Gives the file `from` the name `to`, both in `dir_fd`.
void rename_in(int dir_fd, const QByteArray& from, const QByteArray& to, Target mode) {
  int result;
  if (mode == Target::create_new) {
    // Refused atomically, also for a name that matches in another case on a file
    // system that ignores case.
    result = ::renameat2(dir_fd, from.constData(), dir_fd, to.constData(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      // No support for the flag here: look, then rename.
      struct stat st;
      if (::fstatat(dir_fd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        throw FileError(err::file_exists);
      }
      if (errno != ENOENT) throw_errno();
      result = ::renameat(dir_fd, from.constData(), dir_fd, to.constData());
    }
  } else {
    result = ::renameat(dir_fd, from.constData(), dir_fd, to.constData());
  }
  if (result != 0) {
    throw FileError(errno == EISDIR ? err::path_file_access : error_from_errno(errno));
  }
}

// Refuses a target the copy may not take the place of.
void check_target(int dir_fd, const QByteArray& name, Target mode) {
  struct stat st;
  if (mode == Target::create_new) {
    // Early, to spare copying for nothing; the rename decides.
    if (::fstatat(dir_fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
      throw FileError(err::file_exists);
    }
  } else if (::fstatat(dir_fd, name.constData(), &st, 0) == 0) {
    if (S_ISDIR(st.st_mode) || is_read_only(st.st_mode)) throw FileError(err::path_file_access);
    return;
  }
  if (errno != ENOENT) throw_errno();
}

// Copies stretches of the source to the same places in the target: in the kernel while
// it can, else by reading and writing.
class DataCopier {
 public:
  DataCopier(int in, int out) : in_(in), out_(out) {}

  // Copies `length` bytes from `offset`; returns how many, fewer only when the source
  // ended sooner.
  off_t copy(off_t offset, off_t length) {
    off_t done = 0;
    while (kernel_ && done < length) {
      loff_t from = offset + done;
      loff_t to = from;
      const auto chunk = static_cast<size_t>(std::min<off_t>(length - done, off_t{1} << 30));
      const ssize_t count = ::copy_file_range(in_, &from, out_, &to, chunk, 0);
      if (count > 0) {
        done += count;
        continue;
      }
      if (count < 0 && errno == EINTR) continue;
      // EXDEV, EINVAL, ENOSYS or EOPNOTSUPP: no copying in the kernel between these two
      // files. Any other failure, and an end before the length (which some kernels
      // report for files of their own), is left to reading and writing, which also tell
      // which of the two files failed.
      kernel_ = false;
    }
    return done + plain(offset + done, length - done);
  }

 private:
  off_t plain(off_t offset, off_t length) {
    if (buffer_.empty()) buffer_.resize(1 << 18);
    off_t done = 0;
    while (done < length) {
      const auto want = static_cast<size_t>(std::min<off_t>(length - done, buffer_.size()));
      const ssize_t count = ::pread(in_, buffer_.data(), want, offset + done);
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) throw_errno(CopySide::source);
      if (count == 0) break;
      for (ssize_t written = 0; written < count;) {
        const ssize_t part =
            ::pwrite(out_, buffer_.data() + written, count - written, offset + done + written);
        if (part < 0 && errno == EINTR) continue;
        if (part < 0) throw_errno(CopySide::target);
        written += part;
      }
      done += count;
    }
    return done;
  }

  int in_;
  int out_;
  bool kernel_ = true;
  std::vector<char> buffer_;
};

// Copies the data of the source, whose length was `size` when it was opened, and returns
// the length of the copy. Only the stretches that hold data are copied: the holes of a
// sparse file stay holes.
off_t copy_data(int in, int out, off_t size) {
  DataCopier copier(in, out);
  for (off_t offset = 0; offset < size;) {
    off_t data = ::lseek(in, offset, SEEK_DATA);
    off_t hole = size;
    if (data < 0) {
      if (errno == ENXIO) break;  // a hole up to the end
      data = offset;              // holes cannot be found here: all of it is data
    } else if (data >= size) {
      break;
    } else {
      const off_t found = ::lseek(in, data, SEEK_HOLE);
      if (found > data) hole = std::min(found, size);
    }
    const off_t copied = copier.copy(data, hole - data);
    if (copied < hole - data) return data + copied;  // cut short while being copied
    offset = hole;
  }
  // Data past the length seen at the start: a file still growing, or one of the
  // kernel's, whose length tells nothing.
  return size + copier.copy(size, std::numeric_limits<off_t>::max() - size);
}

// The directory that holds the file at the native absolute `path`, and in `last` the
// file's name there. Directories on the way are opened one at a time, so that a path
// longer than the host takes in one piece is reached too; links among them are followed,
// as they were when the program opened the directory it names. `readable` opens the
// directory for reading, which writing and flushing in it need.
Descriptor open_holder(const QByteArray& path, QByteArray& last, bool readable) {
  if (!is_exact_native_path(path)) throw FileError(err::bad_file_name);
  const QList<QByteArray> names = path.mid(1).split('/');
  Descriptor dir(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!dir.valid()) throw_errno(false);
  for (qsizetype i = 0; i + 1 < names.size(); ++i) {
    Descriptor next(::openat(dir.get(), names[i].constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!next.valid()) throw_errno(false);
    dir = std::move(next);
  }
  if (readable) {
    Descriptor reading(::openat(dir.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!reading.valid()) throw_errno(false);
    dir = std::move(reading);
  }
  last = names.last();
  return dir;
}

}  // namespace

QByteArray boot_tag() {
  static const QByteArray tag = [] {
    QByteArray id;
    if (std::FILE* file = std::fopen("/proc/sys/kernel/random/boot_id", "re")) {
      char line[64] = {};
      if (std::fgets(line, sizeof line, file)) id = QByteArray(line).trimmed();
      std::fclose(file);
    }
    // Without one, no leftover is taken for this boot's: they wait their day.
    if (id.isEmpty()) return QByteArray();
    quint64 hash = 1469598103934665603ull;  // FNV-1a
    for (const char c : id) hash = (hash ^ static_cast<uchar>(c)) * 1099511628211ull;
    QByteArray letters;
    for (int i = 0; i < temp_boot_length; ++i, hash /= 36) letters += temp_digits[hash % 36];
    return letters;
  }();
  return tag;
}

QByteArray temp_file_name(pid_t pid) {
  QByteArray name = temp_prefix + QByteArray::number(pid) + '-';
  const QByteArray tag = boot_tag();
  name += tag;
  for (qsizetype i = tag.size(); i < temp_random_length; ++i) {
    name += temp_digits[QRandomGenerator::global()->bounded(36)];
  }
  return name;
}

std::optional<pid_t> temp_file_owner(const char* name) {
  if (std::strncmp(name, temp_prefix, sizeof temp_prefix - 1) != 0) return std::nullopt;
  const char* at = name + sizeof temp_prefix - 1;
  // A process id is positive: kill() takes 0 and -1 for whole groups.
  if (*at < '1' || *at > '9') return std::nullopt;
  pid_t pid = 0;
  for (int digits = 0; *at >= '0' && *at <= '9'; ++at) {
    if (++digits > 9) return std::nullopt;
    pid = pid * 10 + (*at - '0');
  }
  if (*at++ != '-') return std::nullopt;
  for (int i = 0; i < temp_random_length; ++i, ++at) {
    if (!is_temp_random(*at)) return std::nullopt;
  }
  if (*at != '\0') return std::nullopt;
  return pid;
}

void flush(int fd) {
  if (::fsync(fd) != 0 && errno != EINVAL) throw_errno();
}

TempFile::TempFile(int dir_fd) : dir_fd_(dir_fd) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray name = temp_file_name(::getpid());
    fd_ = ::openat(dir_fd_, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      name_ = name;
      return;
    }
    if (errno != EEXIST) throw_errno(false);
  }
  throw FileError(err::path_file_access);
}

TempFile::~TempFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!name_.isEmpty()) ::unlinkat(dir_fd_, name_.constData(), 0);
}

void TempFile::write(const char* data, qint64 size) {
  while (size > 0) {
    const ssize_t count = ::write(fd_, data, size);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw_errno();
    data += count;
    size -= count;
  }
}

void TempFile::commit(const QByteArray& target, Target mode) {
  flush(fd_);
  close();
  take_name(target, mode);
  flush(dir_fd_);
}

void TempFile::close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  // Some file systems report a full disk only when the file is closed.
  if (::close(fd) != 0) throw_errno();
}

void TempFile::take_name(const QByteArray& target, Target mode) {
  rename_in(dir_fd_, name_, target, mode);
  name_.clear();
}

Descriptor open_regular(int dir_fd, const char* name, struct stat& st) {
  // Look before opening: opening a device or a pipe may block or do something.
  if (::fstatat(dir_fd, name, &st, 0) != 0) throw_errno();
  if (!S_ISREG(st.st_mode)) throw FileError(err::path_file_access);
  Descriptor input(::openat(dir_fd, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!input.valid()) throw_errno();
  // The name may have been given to something else in between.
  if (::fstat(input.get(), &st) != 0) throw_errno();
  if (!S_ISREG(st.st_mode)) throw FileError(err::path_file_access);
  const int flags = ::fcntl(input.get(), F_GETFL);
  if (flags < 0 || ::fcntl(input.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) throw_errno();
  return input;
}

void LeftoverSweeper::sweep(int dir_fd) {
  struct stat st;
  if (::fstat(dir_fd, &st) != 0 || !swept_.insert({st.st_dev, st.st_ino}).second) return;
  Descriptor readable(::openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* handle = readable.valid() ? ::fdopendir(readable.get()) : nullptr;
  if (!handle) return;
  readable.release();  // closed with the handle
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(handle)) {
    const std::optional<pid_t> owner = temp_file_owner(entry->d_name);
    if (!owner) continue;
    struct stat leftover;
    if (::fstatat(::dirfd(handle), entry->d_name, &leftover, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(leftover.st_mode)) {
      continue;
    }
    // A copy in progress lives, perhaps as another user's (EPERM). One of another
    // machine (sharing the folder) or of an earlier boot may be told by no process
    // here: it is left a day, while a copy still being written keeps it young.
    if (::kill(*owner, 0) == 0 || errno != ESRCH) continue;
    const char* letters = std::strrchr(entry->d_name, '-') + 1;
    const bool this_boot = !boot_tag().isEmpty() &&
                           std::strncmp(letters, boot_tag().constData(), temp_boot_length) == 0;
    if (!this_boot && leftover.st_mtim.tv_sec > now - one_day) continue;
    ::unlinkat(::dirfd(handle), entry->d_name, 0);
  }
  ::closedir(handle);
}

std::unique_ptr<TempFile> write_copy(int source_dir, const char* source, int target_dir,
                                     const QByteArray& target, Target mode,
                                     LeftoverSweeper& sweeper, struct stat& st) {
  const Descriptor input =
      concerning(CopySide::source, [&] { return open_regular(source_dir, source, st); });
  std::unique_ptr<TempFile> temp;
  concerning(CopySide::target, [&] {
    check_target(target_dir, target, mode);
    sweeper.sweep(target_dir);
    temp = std::make_unique<TempFile>(target_dir);
  });
  const off_t length = copy_data(input.get(), temp->fd(), st.st_size);
  concerning(CopySide::target, [&] {
    // The whole length, so that a hole at the end stays one. Only then: some file
    // systems (FUSE ones among them) cannot truncate at all.
    struct stat written;
    if (::fstat(temp->fd(), &written) != 0) throw_errno();
    if (written.st_size < length && ::ftruncate(temp->fd(), length) != 0) throw_errno();
    // A file system without permission bits (FAT on a USB stick) refuses to change
    // them; the copy is the data and its time, which it keeps.
    if (::fchmod(temp->fd(), st.st_mode & 0777) != 0 && errno != EPERM && errno != EOPNOTSUPP &&
        errno != ENOSYS)
      throw_errno();
    // Last, as every write moves the modification time.
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (::futimens(temp->fd(), times) != 0) throw_errno();
  });
  return temp;
}

struct stat named_copy(int target_dir, const QByteArray& target, const struct stat& source) {
  struct stat copied;
  if (::fstatat(target_dir, target.constData(), &copied, 0) != 0) throw_errno(CopySide::target);
  if (copied.st_mtim.tv_sec != source.st_mtim.tv_sec) {
    // Some file systems (FAT through FUSE) stamp a renamed file with the present time:
    // the copy gets the source's time again under its own name. (FAT keeps even
    // seconds only; the comparison allows for that.)
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    concerning(CopySide::target, [&] {
      if (::utimensat(target_dir, target.constData(), times, 0) != 0) throw_errno();
      if (::fstatat(target_dir, target.constData(), &copied, 0) != 0) throw_errno();
    });
  }
  return copied;
}

struct stat copy_regular(int source_dir, const char* source, int target_dir,
                         const QByteArray& target, Target mode, LeftoverSweeper& sweeper) {
  struct stat st;
  const std::unique_ptr<TempFile> temp =
      write_copy(source_dir, source, target_dir, target, mode, sweeper, st);
  concerning(CopySide::target, [&] { temp->commit(target, mode); });
  return named_copy(target_dir, target, st);
}

void CopyBatchFiles::add(int source_dir, const char* source, int target_dir,
                         const QByteArray& target, Target mode, LeftoverSweeper& sweeper) {
  Copy copy{nullptr, target_dir, target, mode, {}};
  copy.temp = write_copy(source_dir, source, target_dir, target, mode, sweeper, copy.source);
  // The medium starts taking the data now, while the next files are written: the flush
  // of the batch then waits for little. A file system that cannot is flushed all the same.
  ::sync_file_range(copy.temp->fd(), 0, 0, SYNC_FILE_RANGE_WRITE);
  concerning(CopySide::target, [&] { copy.temp->close(); });
  bytes_ += copy.source.st_size;
  copies_.push_back(std::move(copy));
}

std::vector<CopyBatchFiles::Named> CopyBatchFiles::commit() {
  std::vector<Copy> copies = std::move(copies_);
  copies_.clear();
  bytes_ = 0;
  // The data of every copy reaches the medium before any name does: one flush of each
  // file system rather than one of each file.
  std::set<int> dirs;
  for (const Copy& copy : copies) dirs.insert(copy.target_dir);
  std::set<dev_t> flushed;
  for (const int dir : dirs) {
    struct stat st;
    if (::fstat(dir, &st) != 0) throw_errno(CopySide::target);
    if (flushed.insert(st.st_dev).second && ::syncfs(dir) != 0) throw_errno(CopySide::target);
  }
  std::vector<Named> named(copies.size());
  std::vector<bool> renamed(copies.size());
  std::set<int> renamed_in;
  for (size_t i = 0; i < copies.size(); ++i) {
    try {
      concerning(CopySide::target,
                 [&] { copies[i].temp->take_name(copies[i].target, copies[i].mode); });
      renamed[i] = true;
      renamed_in.insert(copies[i].target_dir);
    } catch (const FileError& error) {
      named[i].error = error;
    }
  }
  // Each directory once, for all the names it was given.
  for (const int dir : renamed_in) {
    try {
      concerning(CopySide::target, [&] { flush(dir); });
    } catch (const FileError& error) {
      for (size_t i = 0; i < copies.size(); ++i)
        if (copies[i].target_dir == dir && !named[i].error) named[i].error = error;
    }
  }
  for (size_t i = 0; i < copies.size(); ++i) {
    if (!renamed[i]) continue;
    try {
      // A directory that could not be flushed holds the copy all the same.
      named[i].copy = named_copy(copies[i].target_dir, copies[i].target, copies[i].source);
    } catch (const FileError& error) {
      if (!named[i].error) named[i].error = error;
    }
  }
  return named;
}

bool is_exact_native_path(const QByteArray& path) {
  if (!path.startsWith('/')) return false;
  for (const QByteArray& name : path.mid(1).split('/')) {
    if (name.isEmpty() || name == "." || name == "..") return false;
  }
  return true;
}

void copy_exact_paths(const QByteArray& source, const QByteArray& target, Target mode) {
  QByteArray from_name, to_name;
  const Descriptor from =
      concerning(CopySide::source, [&] { return open_holder(source, from_name, false); });
  const Descriptor to =
      concerning(CopySide::target, [&] { return open_holder(target, to_name, true); });
  LeftoverSweeper sweeper;
  copy_regular(from.get(), from_name.constData(), to.get(), to_name, mode, sweeper);
}

}  // namespace tz
