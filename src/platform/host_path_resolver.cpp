#include "platform/host_path_resolver.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "platform/file_error.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

bool is_ascii_letter(QChar c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool same_state(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
         a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

bool is_dot_name(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

ParsedPath parse_native(const QString& path) {
  if (path.contains(QChar(0))) throw FileError(err::bad_file_name);
  ParsedPath parsed{QChar(), QByteArrayLiteral("/"), {}};
  // Names joined to a native folder with "\" as to a drive's are split there too. (The
  // program's own files, whose names may hold one, are reached exactly elsewhere.)
  QString slashed = path;
  slashed.replace(u'\\', u'/');
  for (const QString& part : QDir::cleanPath(slashed).split(u'/', Qt::SkipEmptyParts)) {
    parsed.names.append(part);
  }
  return parsed;
}

}  // namespace

QByteArray join_native(const QByteArray& dir, const QByteArray& name) {
  return dir.endsWith('/') ? dir + name : dir + '/' + name;
}

QByteArray HostPath::native() const {
  QByteArray path = root;
  for (const QByteArray& name : names) path = join_native(path, name);
  return path;
}

QByteArray HostPath::parent_native() const {
  QByteArray path = root;
  for (qsizetype i = 0; i + 1 < names.size(); ++i) path = join_native(path, names[i]);
  return path;
}

QString HostPath::display() const {
  if (letter.isNull()) return QFile::decodeName(native());
  QString path = QString(letter) + u':';
  for (const QByteArray& name : names) path += u'\\' + QFile::decodeName(name);
  return names.isEmpty() ? path + u'\\' : path;
}

ParsedPath PathResolver::parse(const QString& path) const {
  // A native absolute path names a place below the host's root, inside a drive or not.
  if (path.startsWith(u'/')) return parse_native(path);
  if (path.size() < 2 || path[1] != u':' || !is_ascii_letter(path[0])) {
    throw FileError(err::bad_file_name);
  }
  const QChar letter = path[0].toUpper();
  const std::optional<QString> root = table_.host_root(letter);
  if (!root) throw FileError(err::device_unavailable);

  ParsedPath parsed{letter, QFile::encodeName(*root), {}};
  QStringView rest = QStringView(path).mid(2);
  if (rest.isEmpty()) return parsed;
  if (rest[0] != u'\\') throw FileError(err::bad_file_name);  // "C:dir" is not ours
  rest = rest.mid(1);
  if (rest.isEmpty()) return parsed;
  if (rest.size() > 1 && rest.endsWith(u'\\')) rest.chop(1);
  for (QStringView part : rest.split(u'\\')) {
    if (part.isEmpty() || part.contains(u'/') || part.contains(QChar(0))) {
      throw FileError(err::bad_file_name);
    }
    if (part == u".") continue;
    if (part == u"..") {
      if (!parsed.names.isEmpty()) parsed.names.removeLast();
      continue;
    }
    parsed.names.append(part.toString());
  }
  return parsed;
}

void PathResolver::check_drive(QChar letter) const {
  ParsedPath root{letter, {}, {}};
  const std::optional<QString> host = table_.host_root(letter);
  if (!host) throw FileError(err::device_unavailable);
  root.root = QFile::encodeName(*host);
  const Descriptor dir = open_root(root);
  // A root that may not be searched holds nothing that could be reached.
  struct stat st;
  if (::fstatat(dir.get(), ".", &st, 0) != 0) throw FileError(error_from_errno(errno, false));
}

Descriptor PathResolver::open_root(const ParsedPath& path) const {
  Descriptor dir(::open(path.root.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) return dir;
  const int error = errno;
  if (!path.native() && (error == ENOENT || error == ENOTDIR)) throw FileError(err::disk_not_ready);
  throw FileError(error_from_errno(error, false));
}

HostPath PathResolver::resolve(const ParsedPath& path, Last last) {
  HostPath found{path.letter, path.root, {}, true, {}, {}};
  for (const QString& name : path.names) found.names.append(QFile::encodeName(name));

  // Names usually come from a listing and have the exact case: the parent's path and one
  // status settle them, when that path is short enough to be handed over whole.
  Descriptor dir;
  QByteArray dir_key = path.root;
  qsizetype next = 0;
  const QByteArray parent_native = found.parent_native();
  if (parent_native.size() < PATH_MAX) {
    Descriptor parent(::open(parent_native.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (parent.valid()) {
      struct stat st;
      const int result = found.is_root() ? ::fstat(parent.get(), &st)
                                         : ::fstatat(parent.get(), found.leaf(), &st, 0);
      if (result == 0) {
        found.status = st;
        found.parent = std::move(parent);
        return found;
      }
      if (errno == ENOENT && !found.is_root()) {
        // Only the last name is in question.
        dir = std::move(parent);
        dir_key = parent_native;
        next = path.names.size() - 1;
      }
    }
  }

  // One directory at a time, each opened relative to the one before.
  if (!dir.valid()) dir = open_root(path);
  for (qsizetype i = next; i < path.names.size(); ++i) {
    const bool is_last = i + 1 == path.names.size();
    const std::optional<QByteArray> name =
        find_name(dir.get(), dir_key, path.names[i], !path.native());
    if (!name) {
      if (!is_last) throw FileError(err::path_not_found);
      if (last == Last::must_exist) throw FileError(err::file_not_found);
      found.exists = false;
      break;
    }
    found.names[i] = *name;
    if (is_last) break;
    Descriptor sub(::openat(dir.get(), name->constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!sub.valid()) throw FileError(error_from_errno(errno, false));
    dir = std::move(sub);
    dir_key = join_native(dir_key, *name);
  }
  found.parent = std::move(dir);
  return found;
}

std::optional<QByteArray> PathResolver::find_name(int dir_fd, const QByteArray& dir_key,
                                                  const QString& name, bool fold_case) {
  const QByteArray exact = QFile::encodeName(name);
  struct stat st;
  if (::fstatat(dir_fd, exact.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return exact;
  const int error = errno;
  if (error != ENOENT) throw FileError(error_from_errno(error, false));
  if (!fold_case) return std::nullopt;

  const QString key = name_key(name);
  const QString wanted = composed(name);
  // A cached name may have gone since; one fresh read settles it.
  for (bool fresh : {false, true}) {
    const DirectoryNames& names = names_in(dir_fd, dir_key, fresh);
    const auto it = names.by_key.constFind(key);
    if (it == names.by_key.constEnd()) return std::nullopt;
    // The exact case wins, else the first name in byte order.
    QByteArray pick = it->first();
    for (const QByteArray& candidate : *it) {
      if (composed(QFile::decodeName(candidate)) == wanted) {
        pick = candidate;
        break;
      }
      if (candidate < pick) pick = candidate;
    }
    if (::fstatat(dir_fd, pick.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return pick;
  }
  return std::nullopt;
}

PathResolver::DirectoryNames* PathResolver::cached(const QByteArray& dir_key) {
  for (auto it = cache_.begin(); it != cache_.end(); ++it) {
    if (it->dir == dir_key) {
      cache_.splice(cache_.begin(), cache_, it);
      return &cache_.front();
    }
  }
  return nullptr;
}

const PathResolver::DirectoryNames& PathResolver::names_in(int dir_fd, const QByteArray& dir_key,
                                                           bool fresh) {
  struct stat st;
  if (::fstat(dir_fd, &st) != 0) throw FileError(error_from_errno(errno, false));
  // Time stamps tell whether the directory changed since it was read (and device and
  // inode whether the key still names the same one). A change within the file system's
  // clock tick may go unseen; then a case variant made by someone else a moment ago is
  // missed, which is no worse than a race anyway.
  DirectoryNames* names = cached(dir_key);
  if (names && !fresh && same_state(names->status, st)) return *names;

  if (!names) {
    // A few directories: those on the way to a file and the one it is in.
    if (cache_.size() >= 4) cache_.pop_back();
    names = &cache_.emplace_front();
    names->dir = dir_key;
  }
  names->status = st;
  names->by_key.clear();
  // The descriptor may be open for searching only: reading asks for the directory anew.
  Descriptor readable(::openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* handle = readable.valid() ? ::fdopendir(readable.get()) : nullptr;
  if (!handle) {
    const int error = errno;
    cache_.pop_front();
    throw FileError(error_from_errno(error, false));
  }
  readable.release();  // closed with the handle
  while (const dirent* entry = ::readdir(handle)) {
    if (is_dot_name(entry->d_name)) continue;
    const QByteArray raw(entry->d_name);
    names->by_key[name_key(QFile::decodeName(raw))].append(raw);
  }
  ::closedir(handle);
  return *names;
}

void PathResolver::note_changed(int dir_fd, const QByteArray& dir_key, const QByteArray& added) {
  DirectoryNames* names = cached(dir_key);
  if (!names) return;
  struct stat st;
  if (::fstat(dir_fd, &st) != 0 || st.st_dev != names->status.st_dev ||
      st.st_ino != names->status.st_ino) {
    cache_.pop_front();
    return;
  }
  if (!added.isEmpty()) {
    QList<QByteArray>& same_key = names->by_key[name_key(QFile::decodeName(added))];
    if (!same_key.contains(added)) same_key.append(added);
  }
  names->status = st;
}

}  // namespace tz
