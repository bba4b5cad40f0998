#include "platform/host_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <memory>
#include <utility>

#include "platform/file_error.h"
#include "platform/host_listing.h"
#include "platform/host_tree_removal.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

using Last = PathResolver::Last;
using Target = OpenDirectory::Target;

[[noreturn]] void throw_errno(bool last_component = true) {
  throw FileError(error_from_errno(errno, last_component));
}

// The status of what `path` names, links followed.
struct stat status_of(const HostPath& path) {
  if (path.status) return *path.status;
  struct stat st;
  const int result = path.is_root() ? ::fstat(path.parent.get(), &st)
                                    : ::fstatat(path.parent.get(), path.leaf(), &st, 0);
  if (result != 0) throw_errno();
  return st;
}

// Opens what `path` names. A root is opened by its own path, which is short: "." would
// ask for the right to search it.
Descriptor open_entry(const HostPath& path, int flags) {
  Descriptor fd(path.is_root() ? ::open(path.root.constData(), flags | O_CLOEXEC)
                               : ::openat(path.parent.get(), path.leaf(), flags | O_CLOEXEC));
  if (!fd.valid()) throw_errno();
  return fd;
}

// The directory that holds `path`, open for reading, so that changes in it can be
// flushed.
Descriptor open_parent(const HostPath& path) {
  Descriptor fd(::openat(path.parent.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) throw_errno(false);
  return fd;
}

FileInfo info_of(const struct stat& st, const QByteArray& name) {
  const bool is_directory = S_ISDIR(st.st_mode);
  FileInfo info;
  info.length = is_directory ? 0 : static_cast<qint64>(st.st_size);
  info.modified = st.st_mtim.tv_sec;
  info.modified_ns = static_cast<qint32>(st.st_mtim.tv_nsec);
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

// Removes the file `name`: a link itself, judged by the file it reaches.
void remove_entry(int dir_fd, const QByteArray& name, bool flushed) {
  struct stat st;
  if (::fstatat(dir_fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) throw_errno();
  struct stat reached;
  if (S_ISLNK(st.st_mode) && ::fstatat(dir_fd, name.constData(), &reached, 0) == 0) st = reached;
  if (S_ISDIR(st.st_mode) || is_read_only(st.st_mode)) throw FileError(err::path_file_access);
  if (::unlinkat(dir_fd, name.constData(), 0) != 0) throw_errno();
  if (flushed) flush(dir_fd);
}

}  // namespace

// A directory as the host holds it open, with the file system's name cache and the sweeper
// of its leftovers: all that a copy needs of each of its two ends.
class HostDirectory {
 public:
  HostDirectory(Descriptor fd, QByteArray native, std::shared_ptr<PathResolver> resolver,
                std::shared_ptr<LeftoverSweeper> sweeper)
      : fd_(std::move(fd)),
        native_(std::move(native)),
        resolver_(std::move(resolver)),
        sweeper_(std::move(sweeper)) {}

  int fd() const { return fd_.get(); }
  // The host's path, for the name cache and other programs, never for a call.
  const QByteArray& native() const { return native_; }
  LeftoverSweeper& sweeper() const { return *sweeper_; }
  // The name cache learns that the names here changed, `added` among them.
  void note_changed(const QByteArray& added = {}) const {
    resolver_->note_changed(fd_.get(), native_, added);
  }
  // The subdirectory `name`, held open by `fd`, of the same file system.
  HostDirectory below(Descriptor fd, const QByteArray& name) const {
    return HostDirectory(std::move(fd), join_native(native_, name), resolver_, sweeper_);
  }

 private:
  Descriptor fd_;  // open for reading, so that changes in it can be flushed
  QByteArray native_;
  std::shared_ptr<PathResolver> resolver_;
  std::shared_ptr<LeftoverSweeper> sweeper_;
};

namespace {

// Files reached by exact name relative to the directory held open, never through a
// path resolved again.
class HostOpenDirectory : public OpenDirectory {
 public:
  HostOpenDirectory(Descriptor fd, const HostPath& dir, std::shared_ptr<PathResolver> resolver,
                    std::shared_ptr<LeftoverSweeper> sweeper)
      : HostOpenDirectory(
            HostDirectory(std::move(fd), dir.native(), std::move(resolver), std::move(sweeper)),
            dir.is_root() ? QByteArray() : dir.names.last(), shown_path(dir)) {}
  HostOpenDirectory(HostDirectory host, QByteArray name, QString path)
      : host_(std::move(host)), name_(std::move(name)), path_(std::move(path)) {
    if (!path_.endsWith(u'\\')) path_ += u'\\';
  }
  HostOpenDirectory(const HostOpenDirectory&) = delete;
  HostOpenDirectory& operator=(const HostOpenDirectory&) = delete;

  QString path() const override { return path_; }

  FileInfo self() override {
    struct stat st;
    if (::fstat(fd(), &st) != 0) throw_errno();
    return info_of(st, name_);
  }

  FileInfo info(const QByteArray& name) override {
    check_name(name);
    struct stat st;
    if (::fstatat(fd(), name.constData(), &st, 0) != 0) throw_errno();
    return info_of(st, name);
  }

  bool exists(const QByteArray& name) override {
    check_name(name);
    struct stat st;
    if (::fstatat(fd(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return true;
    if (errno == ENOENT) return false;
    throw_errno();
  }

  FileInfo copy_to(const QByteArray& name, OpenDirectory& target, const QByteArray& target_name,
                   Target mode) override {
    check_name(name);
    check_name(target_name);
    const HostDirectory& to = target.host_directory();
    const struct stat copied =
        copy_regular(fd(), name.constData(), to.fd(), target_name, mode, to.sweeper());
    to.note_changed(target_name);
    return info_of(copied, target_name);
  }

  HostDirectory& host_directory() override { return host_; }

  void remove(const QByteArray& name, Flush when) override {
    check_name(name);
    remove_entry(fd(), name, when == Flush::now);
    host_.note_changed();
  }

  void flush() override { tz::flush(fd()); }

  std::optional<QString> host_path(const QByteArray& name) override {
    check_name(name);
    const QByteArray path = join_native(host_.native(), name);
    QString text = QString::fromUtf8(path);
    if (text.toUtf8() != path) return std::nullopt;  // would not survive as text
    return text;
  }

  std::vector<ListedEntry> entries(int mask) override {
    // A descriptor of its own: reading moves the position, which the held one must not
    // share.
    Descriptor reading(::openat(fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!reading.valid()) throw_errno();
    // As a drive root lists (without "." and ".."); a name whose status cannot be read
    // is left out, not the whole directory.
    const std::unique_ptr<Listing> listing =
        open_host_listing(std::move(reading), ListingFilter{mask, true, {}, true});
    std::vector<ListedEntry> found;
    while (auto entry = listing->next()) found.push_back(std::move(*entry));
    return found;
  }

  std::shared_ptr<OpenDirectory> open_subdirectory(const QByteArray& name) override {
    check_name(name);
    Descriptor sub(
        ::openat(fd(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!sub.valid()) throw_errno();
    return std::make_shared<HostOpenDirectory>(host_.below(std::move(sub), name), name,
                                               path_ + display_name(name));
  }

  std::shared_ptr<OpenDirectory> make_subdirectory(const QByteArray& name) override {
    check_name(name);
    if (::mkdirat(fd(), name.constData(), 0777) != 0) {
      throw FileError(errno == EEXIST ? err::path_file_access : error_from_errno(errno));
    }
    host_.note_changed(name);
    return open_subdirectory(name);
  }

  void rename(const QByteArray& name, const QByteArray& new_name) override {
    check_name(name);
    check_name(new_name);
    if (new_name == name) return;
    // Another name that differs in case only would make the two one in drive form.
    const QString key = name_key(display_name(new_name));
    for (const ListedEntry& entry : entries(attr::hidden | attr::system | attr::directory)) {
      if (entry.raw != name && name_key(entry.name) == key) throw FileError(err::file_exists);
    }
    int result = ::renameat2(fd(), name.constData(), fd(), new_name.constData(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      // No support for refusing to replace: the name was seen free just now.
      struct stat st;
      if (::fstatat(fd(), new_name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        throw FileError(err::file_exists);
      result = ::renameat(fd(), name.constData(), fd(), new_name.constData());
    }
    if (result != 0) {
      throw FileError(errno == EEXIST || errno == ENOTEMPTY ? err::file_exists
                                                            : error_from_errno(errno));
    }
    tz::flush(fd());
    host_.note_changed(new_name);
  }

  void remove_tree(const QByteArray& name, const FileInfo& expected) override {
    check_name(name);
    struct stat st;
    if (::fstatat(fd(), name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) throw_errno();
    if (S_ISLNK(st.st_mode)) {
      // A link to the directory goes as a link, never what it points to.
      if (::fstatat(fd(), name.constData(), &st, 0) != 0 || st.st_dev != expected.device ||
          st.st_ino != expected.inode)
        throw FileError(err::path_not_found);
      if (::unlinkat(fd(), name.constData(), 0) != 0) throw_errno();
      tz::flush(fd());
      host_.note_changed();
      return;
    }
    try {
      remove_directory_tree(
          fd(), name, path_ + display_name(name),
          DirectoryId{static_cast<dev_t>(expected.device), static_cast<ino_t>(expected.inode)});
    } catch (const FileError&) {
      host_.note_changed();
      throw;
    }
    host_.note_changed();
  }

 private:
  int fd() const { return host_.fd(); }

  HostDirectory host_;
  QByteArray name_;
  QString path_;
};

// Copies between host directories, flushed together.
class HostCopyBatch : public CopyBatch {
 public:
  void add(OpenDirectory& source, const QByteArray& name,
           const std::shared_ptr<OpenDirectory>& target, const QByteArray& target_name,
           Target mode) override {
    check_name(name);
    check_name(target_name);
    const HostDirectory& from = source.host_directory();
    const HostDirectory& to = target->host_directory();
    files_.add(from.fd(), name.constData(), to.fd(), target_name, mode, to.sweeper());
    targets_.push_back({target, target_name});
  }
  int count() const override { return files_.count(); }
  qint64 bytes() const override { return files_.bytes(); }

  std::vector<Outcome> commit() override {
    const std::vector<std::pair<std::shared_ptr<OpenDirectory>, QByteArray>> targets =
        std::move(targets_);
    targets_.clear();
    const std::vector<CopyBatchFiles::Named> named = files_.commit();
    std::vector<Outcome> outcomes(named.size());
    for (size_t i = 0; i < named.size(); ++i) {
      const auto& [dir, name] = targets[i];
      if (named[i].copy) {
        outcomes[i].copy = info_of(*named[i].copy, name);
        dir->host_directory().note_changed(name);
      }
      outcomes[i].error = named[i].error;
    }
    return outcomes;
  }

 private:
  // Held open until the copies into them are named or removed (declared first, so that
  // they close last).
  std::vector<std::pair<std::shared_ptr<OpenDirectory>, QByteArray>> targets_;
  CopyBatchFiles files_;
};

std::unique_ptr<Listing> nothing_listed() {
  return std::make_unique<FixedListing>();
}

bool missing(const FileError& error) {
  return error.number() == err::file_not_found || error.number() == err::path_not_found;
}

}  // namespace

std::unique_ptr<CopyBatch> HostFileSystem::copy_batch() {
  return std::make_unique<HostCopyBatch>();
}

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
  Descriptor dir_fd;  // the directory itself, open for searching
  try {
    dir = resolver_->resolve(parsed, Last::must_exist);
    dir_fd = open_entry(dir, O_PATH | O_DIRECTORY);
  } catch (const FileError& error) {
    // A missing directory, or a file where a directory should be, lists nothing.
    if (missing(error)) return nothing_listed();
    throw;
  }
  ListingFilter filter{mask, !parsed.native() && dir.is_root(), {}};

  if (pattern.isEmpty()) {
    // "dir\" lists the directory itself, so that its existence can be tested.
    if (!(mask & attr::directory)) return nothing_listed();
    return std::make_unique<FixedListing>(
        std::vector<ListedEntry>{{QStringLiteral("."), attr::directory, QByteArrayLiteral(".")}});
  }

  if (!has_wildcards(pattern)) {
    // One name: look it up rather than read a directory that may be huge.
    std::optional<ListedEntry> entry;
    try {
      const std::optional<QByteArray> name =
          resolver_->find_name(dir_fd.get(), dir.native(), pattern, !parsed.native());
      if (name) entry = host_entry(dir_fd.get(), *name, filter);
    } catch (const FileError& error) {
      if (missing(error)) return nothing_listed();
      throw;
    }
    if (!entry) return nothing_listed();
    return std::make_unique<FixedListing>(std::vector<ListedEntry>{*entry});
  }

  if (pattern != u"*" && pattern != u"*.*") filter.pattern_key = name_key(pattern);
  try {
    return open_host_listing(open_entry(dir, O_RDONLY | O_DIRECTORY), std::move(filter));
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
  return std::make_shared<HostOpenDirectory>(open_entry(found, O_RDONLY | O_DIRECTORY), found,
                                             resolver_, sweeper_);
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
  const HostPath from =
      concerning(CopySide::source, [&] { return resolver_->resolve(source, Last::must_exist); });
  // An existing target in another letter case is the one replaced.
  const HostPath to = concerning(CopySide::target, [&] {
    HostPath found = resolver_->resolve(target, Last::may_be_missing);
    if (found.is_root()) throw FileError(err::path_file_access);
    return found;
  });
  const Descriptor dir = concerning(CopySide::target, [&] { return open_parent(to); });
  copy_regular(from.parent.get(), from.leaf(), dir.get(), to.names.last(), Target::replace,
               *sweeper_);
  resolver_->note_changed(dir.get(), to.parent_native(), to.names.last());
}

void HostFileSystem::remove_file(const QString& path) {
  const HostPath found = resolver_->resolve(path, Last::must_exist);
  if (found.is_root()) throw FileError(err::path_file_access);
  const Descriptor dir = open_parent(found);
  remove_entry(dir.get(), found.names.last(), true);
  resolver_->note_changed(dir.get(), found.parent_native());
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
  const int from_dir = source.parent.get();
  const int to_dir = target.parent.get();
  int result;
  if (target.exists) {
    if (name == source.names.last()) return;
    result = ::renameat(from_dir, source.leaf(), to_dir, name.constData());
  } else {
    result = ::renameat2(from_dir, source.leaf(), to_dir, name.constData(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      result = ::renameat(from_dir, source.leaf(), to_dir, name.constData());  // no support
    }
  }
  if (result != 0) {
    throw FileError(errno == EINVAL || errno == EISDIR ? err::path_file_access
                                                       : error_from_errno(errno));
  }
  resolver_->note_changed(from_dir, source.parent_native());
  resolver_->note_changed(to_dir, target.parent_native(), name);
}

void HostFileSystem::make_directory(const QString& path) {
  const HostPath target = resolver_->resolve(path, Last::may_be_missing);
  if (target.exists) throw FileError(err::path_file_access);
  if (::mkdirat(target.parent.get(), target.leaf(), 0777) != 0) {
    throw FileError(errno == EEXIST ? err::path_file_access : error_from_errno(errno));
  }
  resolver_->note_changed(target.parent.get(), target.parent_native(), target.names.last());
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
  const int dir = found.parent.get();
  struct stat st;
  if (::fstatat(dir, found.leaf(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    throw FileError(err::path_not_found);
  }
  if (S_ISLNK(st.st_mode)) {
    // The link goes, never what it points to.
    if (::fstatat(dir, found.leaf(), &st, 0) != 0) throw FileError(err::path_not_found);
    if (!S_ISDIR(st.st_mode)) throw FileError(err::path_file_access);
    if (::unlinkat(dir, found.leaf(), 0) != 0) throw_errno();
    resolver_->note_changed(dir, found.parent_native());
    return;
  }
  if (!S_ISDIR(st.st_mode)) throw FileError(err::path_file_access);
  if (::unlinkat(dir, found.leaf(), AT_REMOVEDIR) != 0) {
    throw FileError(errno == ENOTEMPTY || errno == EEXIST ? err::path_file_access
                                                          : error_from_errno(errno));
  }
  resolver_->note_changed(dir, found.parent_native());
}

void HostFileSystem::remove_tree(const QString& path) {
  HostPath found;
  try {
    found = resolver_->resolve(path, Last::must_exist);
  } catch (const FileError& error) {
    if (missing(error)) return;  // nothing there to remove
    throw;
  }
  if (found.is_root()) throw FileError(err::path_file_access);
  const int parent = found.parent.get();
  struct stat st;
  if (::fstatat(parent, found.leaf(), &st, AT_SYMLINK_NOFOLLOW) != 0) throw_errno();
  if (S_ISLNK(st.st_mode)) {
    // The link goes, never what it points to.
    if (::unlinkat(parent, found.leaf(), 0) != 0) throw_errno();
  } else if (S_ISDIR(st.st_mode)) {
    try {
      remove_directory_tree(parent, found.names.last(), shown_path(found));
    } catch (const FileError&) {
      resolver_->note_changed(parent, found.parent_native());
      throw;
    }
  } else {
    throw FileError(err::path_file_access);
  }
  resolver_->note_changed(parent, found.parent_native());
}

}  // namespace tz
