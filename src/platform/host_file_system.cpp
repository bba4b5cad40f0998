#include "platform/host_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/file_error.h"
#include "platform/host_listing.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

using Last = PathResolver::Last;
using Target = OpenDirectory::Target;

[[noreturn]] void throw_errno(bool last_component = true) {
  throw FileError(error_from_errno(errno, last_component));
}

// The read-only attribute: no write permission for anybody. Checked here because a
// process running as root would otherwise write and delete regardless.
bool is_read_only(mode_t mode) {
  return (mode & 0222) == 0;
}

struct stat status_of(const HostPath& path) {
  if (path.status) return *path.status;
  struct stat st;
  if (::stat(path.native().constData(), &st) != 0) throw_errno();
  return st;
}

FileInfo info_of(const struct stat& st, const QByteArray& name) {
  const bool is_directory = S_ISDIR(st.st_mode);
  FileInfo info;
  info.length = is_directory ? 0 : static_cast<qint64>(st.st_size);
  info.modified = st.st_mtim.tv_sec;
  if (is_read_only(st.st_mode)) info.attributes |= attr::read_only;
  if (name.startsWith('.')) info.attributes |= attr::hidden;
  if (is_directory) info.attributes |= attr::directory;
  info.device = st.st_dev;
  info.inode = st.st_ino;
  info.regular = S_ISREG(st.st_mode);
  return info;
}

// Drive form as the user sees it, names that are not UTF-8 with visible escapes.
QString shown_path(const HostPath& path) {
  if (path.letter.isNull()) return display_name(path.native());
  QString text = QString(path.letter) + u':';
  for (const QByteArray& name : path.names) text += u'\\' + display_name(name);
  return path.is_root() ? text + u'\\' : text;
}

// One name inside a directory: nothing that would reach another directory.
void check_name(const QByteArray& name) {
  if (name.isEmpty() || name == "." || name == ".." || name.contains('/') || name.contains('\0')) {
    throw FileError(err::bad_file_name);
  }
}

// Flushes `fd` to the medium. A file system that cannot flush says so with EINVAL;
// there is nothing more to be done there.
void flush(int fd) {
  if (::fsync(fd) != 0 && errno != EINVAL) throw_errno();
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

Descriptor open_directory_fd(const QByteArray& native) {
  const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw_errno(false);
  return Descriptor(fd);
}

QByteArray read_all(int fd) {
  QByteArray data;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw_errno();
    if (count == 0) return data;
    data.append(buffer, count);
  }
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

// A new file in the target's directory that takes the target's name only once
// complete and flushed, so that a failure at any point leaves the old target as it
// was. Removed unless committed. `dir_fd` must stay open while this lives.
class TempFile {
 public:
  explicit TempFile(int dir_fd) : dir_fd_(dir_fd) {
    static constexpr char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
      QByteArray name = ".tenzor-";
      for (int i = 0; i < 8; ++i) name += digits[QRandomGenerator::global()->bounded(36)];
      fd_ = ::openat(dir_fd_, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        name_ = name;
        return;
      }
      if (errno != EEXIST) throw_errno(false);
    }
    throw FileError(err::path_file_access);
  }
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.isEmpty()) ::unlinkat(dir_fd_, name_.constData(), 0);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_; }

  void write(const char* data, qint64 size) {
    while (size > 0) {
      const ssize_t count = ::write(fd_, data, size);
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) throw_errno();
      data += count;
      size -= count;
    }
  }

  // The data reaches the medium before the name does, and the name before this
  // returns: a power cut leaves either the old target or the complete new one.
  void commit(const QByteArray& target, Target mode) {
    flush(fd_);
    const int fd = fd_;
    fd_ = -1;
    // Some file systems report a full disk only when the file is closed.
    if (::close(fd) != 0) throw_errno();
    rename_in(dir_fd_, name_, target, mode);
    name_.clear();
    flush(dir_fd_);
  }

 private:
  int dir_fd_;
  QByteArray name_;
  int fd_ = -1;
};

// Opens the regular file `name` (relative to `dir_fd`) for reading, with its status in
// `st`; 75 for anything else.
Descriptor open_regular(int dir_fd, const char* name, struct stat& st) {
  // Look before opening: opening a device or a pipe may block or do something.
  if (::fstatat(dir_fd, name, &st, 0) != 0) throw_errno();
  if (!S_ISREG(st.st_mode)) throw FileError(err::path_file_access);
  const int fd = ::openat(dir_fd, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw_errno();
  Descriptor input(fd);
  // The name may have been given to something else in between.
  if (::fstat(fd, &st) != 0) throw_errno();
  if (!S_ISREG(st.st_mode)) throw FileError(err::path_file_access);
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) throw_errno();
  return input;
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

// Copies the regular file `source` (relative to `source_dir`) to `target` in
// `target_dir` through a temporary file there, keeping the modification time and
// permission bits. Returns the status of the copy.
struct stat copy_regular(int source_dir, const char* source, int target_dir,
                         const QByteArray& target, Target mode) {
  struct stat st;
  const Descriptor input = open_regular(source_dir, source, st);
  check_target(target_dir, target, mode);
  TempFile temp(target_dir);
  std::vector<char> buffer(1 << 18);
  for (;;) {
    const ssize_t count = ::read(input.get(), buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw_errno();
    if (count == 0) break;
    temp.write(buffer.data(), count);
  }
  if (::fchmod(temp.fd(), st.st_mode & 0777) != 0) throw_errno();
  // Last, as every write moves the modification time.
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (::futimens(temp.fd(), times) != 0) throw_errno();
  temp.commit(target, mode);

  struct stat copied;
  if (::fstatat(target_dir, target.constData(), &copied, 0) != 0) throw_errno();
  return copied;
}

// Removes the file `name`: a link itself, judged by the file it reaches.
void remove_entry(int dir_fd, const QByteArray& name) {
  struct stat st;
  if (::fstatat(dir_fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) throw_errno();
  struct stat reached;
  if (S_ISLNK(st.st_mode) && ::fstatat(dir_fd, name.constData(), &reached, 0) == 0) st = reached;
  if (S_ISDIR(st.st_mode) || is_read_only(st.st_mode)) throw FileError(err::path_file_access);
  if (::unlinkat(dir_fd, name.constData(), 0) != 0) throw_errno();
  flush(dir_fd);
}

// Files reached by exact name relative to the directory held open, never through a
// path resolved again.
class HostOpenDirectory : public OpenDirectory {
 public:
  HostOpenDirectory(int fd, const HostPath& dir, std::shared_ptr<PathResolver> resolver)
      : fd_(fd),
        native_(dir.native()),
        name_(dir.is_root() ? QByteArray() : dir.names.last()),
        path_(shown_path(dir)),
        resolver_(std::move(resolver)) {
    if (!path_.endsWith(u'\\')) path_ += u'\\';
  }
  ~HostOpenDirectory() override { ::close(fd_); }
  HostOpenDirectory(const HostOpenDirectory&) = delete;
  HostOpenDirectory& operator=(const HostOpenDirectory&) = delete;

  QString path() const override { return path_; }

  FileInfo self() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) throw_errno();
    return info_of(st, name_);
  }

  FileInfo info(const QByteArray& name) override {
    check_name(name);
    struct stat st;
    if (::fstatat(fd_, name.constData(), &st, 0) != 0) throw_errno();
    return info_of(st, name);
  }

  bool exists(const QByteArray& name) override {
    check_name(name);
    struct stat st;
    if (::fstatat(fd_, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return true;
    if (errno == ENOENT) return false;
    throw_errno();
  }

  FileInfo copy_to(const QByteArray& name, OpenDirectory& target, const QByteArray& target_name,
                   Target mode) override {
    check_name(name);
    check_name(target_name);
    auto* to = dynamic_cast<HostOpenDirectory*>(&target);
    if (!to) throw std::invalid_argument("copy_to needs a directory of the host file system");
    const struct stat copied = copy_regular(fd_, name.constData(), to->fd_, target_name, mode);
    to->resolver_->note_changed(to->native_, target_name);
    return info_of(copied, target_name);
  }

  void remove(const QByteArray& name) override {
    check_name(name);
    remove_entry(fd_, name);
    resolver_->note_changed(native_);
  }

  std::optional<QString> host_path(const QByteArray& name) override {
    check_name(name);
    const QByteArray path = join_native(native_, name);
    QString text = QString::fromUtf8(path);
    if (text.toUtf8() != path) return std::nullopt;  // would not survive as text
    return text;
  }

 private:
  int fd_;
  QByteArray native_;
  QByteArray name_;
  QString path_;
  std::shared_ptr<PathResolver> resolver_;
};

std::unique_ptr<Listing> nothing_listed() {
  return std::make_unique<FixedListing>();
}

bool missing(const FileError& error) {
  return error.number() == err::file_not_found || error.number() == err::path_not_found;
}

}  // namespace

std::unique_ptr<Listing> HostFileSystem::list(const QString& pattern_path, int mask) {
  const bool native = pattern_path.startsWith(u'/');
  const qsizetype split = pattern_path.lastIndexOf(native ? u'/' : u'\\');
  QString dir_text = pattern_path;  // "X:" alone is the root with nothing after it
  QString pattern;
  if (split >= 0) {
    dir_text = native && split == 0 ? QStringLiteral("/") : pattern_path.left(split);
    pattern = pattern_path.mid(split + 1);
  } else if (pattern_path.size() != 2) {
    throw FileError(err::bad_file_name);
  }
  // A directory part ending in "\" means an empty name before the pattern.
  if (pattern.contains(u'/') || pattern.contains(QChar(0)) ||
      (!native && dir_text.endsWith(u'\\'))) {
    throw FileError(err::bad_file_name);
  }

  const ParsedPath parsed = resolver_->parse(dir_text);
  HostPath dir;
  try {
    dir = resolver_->resolve(parsed, Last::must_exist);
  } catch (const FileError& error) {
    if (missing(error)) return nothing_listed();
    throw;
  }
  ListingFilter filter{mask, !parsed.native() && dir.is_root(), {}};

  if (pattern.isEmpty()) {
    // "dir\" lists the directory itself, so that its existence can be tested.
    struct stat st;
    const bool is_directory = ::stat(dir.native().constData(), &st) == 0 && S_ISDIR(st.st_mode);
    if (!(mask & attr::directory) || !is_directory) return nothing_listed();
    return std::make_unique<FixedListing>(
        std::vector<ListedEntry>{{QStringLiteral("."), attr::directory, QByteArrayLiteral(".")}});
  }

  if (!has_wildcards(pattern)) {
    // One name: look it up rather than read a directory that may be huge.
    std::optional<ListedEntry> entry;
    try {
      const std::optional<QByteArray> name =
          resolver_->find_name(dir.native(), pattern, !parsed.native());
      if (name) entry = host_entry(dir.native(), *name, filter);
    } catch (const FileError& error) {
      if (missing(error)) return nothing_listed();
      throw;
    }
    if (!entry) return nothing_listed();
    return std::make_unique<FixedListing>(std::vector<ListedEntry>{*entry});
  }

  if (pattern != u"*" && pattern != u"*.*") filter.pattern_key = name_key(pattern);
  try {
    return open_host_listing(dir.native(), std::move(filter));
  } catch (const FileError& error) {
    if (missing(error)) return nothing_listed();
    throw;
  }
}

FileInfo HostFileSystem::info(const QString& path) {
  const HostPath found = resolver_->resolve(path, Last::must_exist);
  return info_of(status_of(found), found.is_root() ? QByteArray() : found.names.last());
}

std::shared_ptr<OpenDirectory> HostFileSystem::open_directory(const QString& path) {
  const HostPath found = resolver_->resolve(path, Last::must_exist);
  const int fd = ::open(found.native().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw_errno();
  return std::make_shared<HostOpenDirectory>(fd, found, resolver_);
}

QString HostFileSystem::canonical_path(const QString& path) {
  return shown_path(resolver_->resolve(path, Last::must_exist));
}

bool HostFileSystem::same_file(const QString& a, const QString& b) {
  try {
    const struct stat first = status_of(resolver_->resolve(a, Last::must_exist));
    const struct stat second = status_of(resolver_->resolve(b, Last::must_exist));
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  } catch (const FileError&) {
    return false;
  }
}

QString HostFileSystem::host_path(const QString& path) {
  return QFile::decodeName(resolver_->resolve(path, Last::must_exist).native());
}

void HostFileSystem::copy_file(const QString& source, const QString& target) {
  const HostPath from = resolver_->resolve(source, Last::must_exist);
  // An existing target in another letter case is the one replaced.
  const HostPath to = resolver_->resolve(target, Last::may_be_missing);
  if (to.is_root()) throw FileError(err::path_file_access);
  const Descriptor dir = open_directory_fd(to.parent_native());
  copy_regular(AT_FDCWD, from.native().constData(), dir.get(), to.names.last(), Target::replace);
  resolver_->note_changed(to.parent_native(), to.names.last());
}

void HostFileSystem::remove_file(const QString& path) {
  const HostPath found = resolver_->resolve(path, Last::must_exist);
  if (found.is_root()) throw FileError(err::path_file_access);
  const Descriptor dir = open_directory_fd(found.parent_native());
  remove_entry(dir.get(), found.names.last());
  resolver_->note_changed(found.parent_native());
}

void HostFileSystem::rename(const QString& from, const QString& to) {
  const ParsedPath source_path = resolver_->parse(from);
  const ParsedPath target_path = resolver_->parse(to);
  if (!source_path.native() && !target_path.native() && source_path.letter != target_path.letter) {
    throw FileError(err::rename_across_drives);
  }
  const HostPath source = resolver_->resolve(source_path, Last::must_exist);
  if (source.is_root()) throw FileError(err::path_file_access);
  const HostPath target = resolver_->resolve(target_path, Last::may_be_missing);

  // Only a change of letter case may rename onto a name that matches.
  if (target.exists && (target.is_root() || target.native() != source.native())) {
    throw FileError(err::file_exists);
  }
  const QByteArray name = QFile::encodeName(target_path.names.last());
  const QByteArray destination = join_native(target.parent_native(), name);
  int result;
  if (target.exists) {
    if (destination == source.native()) return;
    result = ::rename(source.native().constData(), destination.constData());
  } else {
    result = ::renameat2(AT_FDCWD, source.native().constData(), AT_FDCWD, destination.constData(),
                         RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      result = ::rename(source.native().constData(), destination.constData());  // no support
    }
  }
  if (result != 0) {
    throw FileError(errno == EINVAL || errno == EISDIR ? err::path_file_access
                                                       : error_from_errno(errno));
  }
  resolver_->note_changed(source.parent_native());
  resolver_->note_changed(target.parent_native(), name);
}

void HostFileSystem::make_directory(const QString& path) {
  const HostPath target = resolver_->resolve(path, Last::may_be_missing);
  if (target.exists) throw FileError(err::path_file_access);
  if (::mkdir(target.native().constData(), 0777) != 0) {
    throw FileError(errno == EEXIST ? err::path_file_access : error_from_errno(errno));
  }
  resolver_->note_changed(target.parent_native(), target.names.last());
}

void HostFileSystem::remove_directory(const QString& path) {
  HostPath found;
  try {
    found = resolver_->resolve(path, Last::must_exist);
  } catch (const FileError& error) {
    // A directory that is not there is a path not found.
    if (error.number() == err::file_not_found) throw FileError(err::path_not_found);
    throw;
  }
  if (found.is_root()) throw FileError(err::path_file_access);
  const QByteArray native = found.native();
  struct stat st;
  if (::lstat(native.constData(), &st) != 0) throw FileError(err::path_not_found);
  if (S_ISLNK(st.st_mode)) {
    // The link goes, never what it points to.
    if (::stat(native.constData(), &st) != 0) throw FileError(err::path_not_found);
    if (!S_ISDIR(st.st_mode)) throw FileError(err::path_file_access);
    if (::unlink(native.constData()) != 0) throw_errno();
    resolver_->note_changed(found.parent_native());
    return;
  }
  if (!S_ISDIR(st.st_mode)) throw FileError(err::path_file_access);
  if (::rmdir(native.constData()) != 0) {
    throw FileError(errno == ENOTEMPTY || errno == EEXIST ? err::path_file_access
                                                          : error_from_errno(errno));
  }
  resolver_->note_changed(found.parent_native());
}

// Our own text files are written in UTF-8, which holds any name. Files that are not
// valid UTF-8 come from elsewhere and are read as Latin-1.
QStringList HostFileSystem::read_lines(const QString& path) {
  const HostPath found = resolver_->resolve(path, Last::must_exist);
  struct stat st;
  const Descriptor input = open_regular(AT_FDCWD, found.native().constData(), st);
  const QByteArray bytes = read_all(input.get());

  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);

  QStringList lines = text.split(u'\n');
  if (lines.last().isEmpty()) lines.removeLast();  // the final line break ends a line
  for (QString& line : lines) {
    if (line.endsWith(u'\r')) line.chop(1);
  }
  return lines;
}

void HostFileSystem::write_lines(const QString& path, const QStringList& lines) {
  const HostPath target = resolver_->resolve(path, Last::may_be_missing);
  std::optional<mode_t> mode;
  if (target.is_root()) throw FileError(err::path_file_access);
  if (target.exists) {
    struct stat st;
    if (::stat(target.native().constData(), &st) == 0) {
      if (S_ISDIR(st.st_mode) || is_read_only(st.st_mode)) throw FileError(err::path_file_access);
      mode = st.st_mode & 0777;
    }
  }
  QByteArray data;
  for (const QString& line : lines) {
    data += line.toUtf8();
    data += "\r\n";
  }
  const Descriptor dir = open_directory_fd(target.parent_native());
  TempFile temp(dir.get());
  temp.write(data.constData(), data.size());
  if (mode && ::fchmod(temp.fd(), *mode) != 0) throw_errno();
  temp.commit(target.names.last(), Target::replace);
  resolver_->note_changed(target.parent_native(),
                          target.exists ? QByteArray() : target.names.last());
}

}  // namespace tz
