#include "platform/host_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/file_error.h"
#include "platform/host_listing.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

using Last = PathResolver::Last;

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

LocalTime local_seconds(time_t utc) {
  struct tm local;
  if (!::localtime_r(&utc, &local)) return utc;
  return static_cast<LocalTime>(utc) + local.tm_gmtoff;
}

FileInfo info_of(const struct stat& st, const QByteArray& name) {
  const bool is_directory = S_ISDIR(st.st_mode);
  FileInfo info;
  info.length = is_directory ? 0 : static_cast<qint64>(st.st_size);
  info.modified = local_seconds(st.st_mtim.tv_sec);
  if (is_read_only(st.st_mode)) info.attributes |= attr::read_only;
  if (name.startsWith('.')) info.attributes |= attr::hidden;
  if (is_directory) info.attributes |= attr::directory;
  return info;
}

// Names are read relative to the open directory: exact names, as a listing gave them.
class HostOpenDirectory : public OpenDirectory {
 public:
  explicit HostOpenDirectory(int fd) : fd_(fd) {}
  ~HostOpenDirectory() override { ::close(fd_); }
  HostOpenDirectory(const HostOpenDirectory&) = delete;
  HostOpenDirectory& operator=(const HostOpenDirectory&) = delete;

  FileInfo info(const QString& name) override {
    const QByteArray native = QFile::encodeName(name);
    if (name.isEmpty() || native.contains('/')) throw FileError(err::bad_file_name);
    struct stat st;
    if (::fstatat(fd_, native.constData(), &st, 0) != 0) throw_errno();
    return info_of(st, native);
  }

 private:
  int fd_;
};

std::unique_ptr<Listing> nothing_listed() {
  return std::make_unique<FixedListing>();
}

bool missing(const FileError& error) {
  return error.number() == err::file_not_found || error.number() == err::path_not_found;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

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

// A new file beside the target that replaces the target only once complete, so that a
// failure at any point leaves the old target as it was. Removed unless committed.
class TempFile {
 public:
  explicit TempFile(const QByteArray& dir) {
    static constexpr char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
      QByteArray name = ".tenzor-";
      for (int i = 0; i < 8; ++i) name += digits[QRandomGenerator::global()->bounded(36)];
      path_ = join_native(dir, name);
      fd_ = ::open(path_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) return;
      if (errno != EEXIST) throw_errno(false);
    }
    throw FileError(err::path_file_access);
  }
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.isEmpty()) ::unlink(path_.constData());
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

  void commit(const QByteArray& target) {
    const int fd = fd_;
    fd_ = -1;
    // Some file systems report a full disk only when the file is closed.
    if (::close(fd) != 0) throw_errno();
    if (::rename(path_.constData(), target.constData()) != 0) {
      throw FileError(errno == EISDIR ? err::path_file_access : error_from_errno(errno));
    }
    path_.clear();
  }

 private:
  QByteArray path_;
  int fd_ = -1;
};

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

  const ParsedPath parsed = resolver_.parse(dir_text);
  HostPath dir;
  try {
    dir = resolver_.resolve(parsed, Last::must_exist);
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
        std::vector<ListedEntry>{{QStringLiteral("."), attr::directory}});
  }

  if (!has_wildcards(pattern)) {
    // One name: look it up rather than read a directory that may be huge.
    std::optional<QByteArray> name;
    try {
      name = resolver_.find_name(dir.native(), pattern, !parsed.native());
    } catch (const FileError& error) {
      if (missing(error)) return nothing_listed();
      throw;
    }
    std::optional<ListedEntry> entry;
    if (name) entry = host_entry(dir.native(), *name, filter);
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
  const HostPath found = resolver_.resolve(path, Last::must_exist);
  return info_of(status_of(found), found.is_root() ? QByteArray() : found.names.last());
}

std::unique_ptr<OpenDirectory> HostFileSystem::open_directory(const QString& path) {
  const HostPath found = resolver_.resolve(path, Last::must_exist);
  const int fd = ::open(found.native().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw_errno();
  return std::make_unique<HostOpenDirectory>(fd);
}

QString HostFileSystem::canonical_path(const QString& path) {
  return resolver_.resolve(path, Last::must_exist).display();
}

bool HostFileSystem::same_file(const QString& a, const QString& b) {
  try {
    const struct stat first = status_of(resolver_.resolve(a, Last::must_exist));
    const struct stat second = status_of(resolver_.resolve(b, Last::must_exist));
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  } catch (const FileError&) {
    return false;
  }
}

QString HostFileSystem::host_path(const QString& path) {
  return QFile::decodeName(resolver_.resolve(path, Last::must_exist).native());
}

void HostFileSystem::copy_file(const QString& source, const QString& target) {
  const HostPath from = resolver_.resolve(source, Last::must_exist);
  const Descriptor input(::open(from.native().constData(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0) throw_errno();
  struct stat source_status;
  if (::fstat(input.get(), &source_status) != 0) throw_errno();
  if (S_ISDIR(source_status.st_mode)) throw FileError(err::path_file_access);

  // An existing target in another letter case is the one replaced.
  const HostPath to = resolver_.resolve(target, Last::may_be_missing);
  if (to.exists) {
    struct stat st;
    if (to.is_root()) throw FileError(err::path_file_access);
    if (::stat(to.native().constData(), &st) == 0 &&
        (S_ISDIR(st.st_mode) || is_read_only(st.st_mode))) {
      throw FileError(err::path_file_access);
    }
  }

  TempFile temp(to.parent_native());
  std::vector<char> buffer(1 << 18);
  for (;;) {
    const ssize_t count = ::read(input.get(), buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw_errno();
    if (count == 0) break;
    temp.write(buffer.data(), count);
  }
  if (::fchmod(temp.fd(), source_status.st_mode & 0777) != 0) throw_errno();
  // Last, as every write moves the modification time.
  const struct timespec times[2] = {source_status.st_atim, source_status.st_mtim};
  if (::futimens(temp.fd(), times) != 0) throw_errno();
  temp.commit(to.native());
  resolver_.note_changed(to.parent_native(), to.exists ? QByteArray() : to.names.last());
}

void HostFileSystem::remove_file(const QString& path) {
  const HostPath found = resolver_.resolve(path, Last::must_exist);
  const struct stat st = status_of(found);
  if (S_ISDIR(st.st_mode) || is_read_only(st.st_mode)) throw FileError(err::path_file_access);
  if (::unlink(found.native().constData()) != 0) throw_errno();
  resolver_.note_changed(found.parent_native());
}

void HostFileSystem::rename(const QString& from, const QString& to) {
  const ParsedPath source_path = resolver_.parse(from);
  const ParsedPath target_path = resolver_.parse(to);
  if (!source_path.native() && !target_path.native() && source_path.letter != target_path.letter) {
    throw FileError(err::rename_across_drives);
  }
  const HostPath source = resolver_.resolve(source_path, Last::must_exist);
  if (source.is_root()) throw FileError(err::path_file_access);
  const HostPath target = resolver_.resolve(target_path, Last::may_be_missing);

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
  resolver_.note_changed(source.parent_native());
  resolver_.note_changed(target.parent_native(), name);
}

void HostFileSystem::make_directory(const QString& path) {
  const HostPath target = resolver_.resolve(path, Last::may_be_missing);
  if (target.exists) throw FileError(err::path_file_access);
  if (::mkdir(target.native().constData(), 0777) != 0) {
    throw FileError(errno == EEXIST ? err::path_file_access : error_from_errno(errno));
  }
  resolver_.note_changed(target.parent_native(), target.names.last());
}

void HostFileSystem::remove_directory(const QString& path) {
  HostPath found;
  try {
    found = resolver_.resolve(path, Last::must_exist);
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
    resolver_.note_changed(found.parent_native());
    return;
  }
  if (!S_ISDIR(st.st_mode)) throw FileError(err::path_file_access);
  if (::rmdir(native.constData()) != 0) {
    throw FileError(errno == ENOTEMPTY || errno == EEXIST ? err::path_file_access
                                                          : error_from_errno(errno));
  }
  resolver_.note_changed(found.parent_native());
}

// Our own text files are written in UTF-8, which holds any name. Files that are not
// valid UTF-8 come from elsewhere and are read as Latin-1.
QStringList HostFileSystem::read_lines(const QString& path) {
  const HostPath found = resolver_.resolve(path, Last::must_exist);
  const Descriptor input(::open(found.native().constData(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0) throw_errno();
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
  const HostPath target = resolver_.resolve(path, Last::may_be_missing);
  std::optional<mode_t> mode;
  if (target.exists) {
    struct stat st;
    if (target.is_root()) throw FileError(err::path_file_access);
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
  TempFile temp(target.parent_native());
  temp.write(data.constData(), data.size());
  if (mode && ::fchmod(temp.fd(), *mode) != 0) throw_errno();
  if (::fsync(temp.fd()) != 0) throw_errno();
  temp.commit(target.native());
  resolver_.note_changed(target.parent_native(),
                         target.exists ? QByteArray() : target.names.last());
}

}  // namespace tz
