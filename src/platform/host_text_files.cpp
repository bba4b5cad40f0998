// The text files of HostFileSystem: the tree comparison's log by drive form, the
// program's own files (the history) by native path.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "platform/file_error.h"
#include "platform/host_file_system.h"

namespace tz {

namespace {

using Last = PathResolver::Last;

[[noreturn]] void throw_errno(bool last_component = true) {
  throw FileError(error_from_errno(errno, last_component));
}

// One line without its line break: UTF-8 where it is valid, else the legacy code page
// (Latin-1). Decided line by line, so that one line from elsewhere does not garble
// the others, which the next save would write back for good.
QString decode_line(QByteArray line) {
  if (line.endsWith('\r')) line.chop(1);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(line);
  return utf8.hasError() ? QString::fromLatin1(line) : text;
}

// Every line of the open file `fd`, read piece by piece. A line longer than `longest`
// bytes is left out as it is read, so that it never fills the memory.
QStringList read_text(int fd, qsizetype longest) {
  QStringList lines;
  QByteArray line;
  bool too_long = false;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw_errno();
    if (count == 0) break;
    const char* at = buffer;
    const char* const end = buffer + count;
    while (at < end) {
      const char* const newline = static_cast<const char*>(std::memchr(at, '\n', end - at));
      const char* const stop = newline ? newline : end;
      if (!too_long) {
        line.append(at, stop - at);
        // A CR before the line break is not part of the line's length.
        too_long = line.size() > longest + 1;
        if (too_long) line = QByteArray();
      }
      at = stop;
      if (!newline) break;
      ++at;
      if (!too_long) lines.append(decode_line(std::move(line)));
      line = QByteArray();
      too_long = false;
    }
  }
  // The final line break ends a line; text after it is a line of its own.
  if (!too_long && !line.isEmpty()) lines.append(decode_line(std::move(line)));
  return lines;
}

// Replaces the file `name` in the directory `dir_fd` (open for reading) by `lines`, each
// followed by CR LF, in UTF-8, which holds any name. The old file stays whole until the
// new one is complete, and keeps its permission bits.
void replace_text(int dir_fd, const QByteArray& name, const QStringList& lines) {
  std::optional<mode_t> mode;
  struct stat st;
  if (::fstatat(dir_fd, name.constData(), &st, 0) == 0) {
    if (S_ISDIR(st.st_mode) || is_read_only(st.st_mode)) throw FileError(err::path_file_access);
    mode = st.st_mode & 0777;
  }
  QByteArray data;
  for (const QString& line : lines) {
    data += line.toUtf8();
    data += "\r\n";
  }
  TempFile temp(dir_fd);
  temp.write(data.constData(), data.size());
  if (mode && ::fchmod(temp.fd(), *mode) != 0) throw_errno();
  temp.commit(name, OpenDirectory::Target::replace);
}

// `native_path` taken apart into its folder and its last name; 52 for a path that is
// not absolute or names no file.
std::pair<QByteArray, QByteArray> folder_and_name(const QByteArray& native_path) {
  const qsizetype slash = native_path.lastIndexOf('/');
  if (!native_path.startsWith('/') || slash == native_path.size() - 1 || native_path.contains('\0'))
    throw FileError(err::bad_file_name);
  return {slash == 0 ? QByteArrayLiteral("/") : native_path.left(slash),
          native_path.mid(slash + 1)};
}

}  // namespace

QStringList HostFileSystem::read_lines(const QString& path) {
  const HostPath found = resolver_->resolve(path, Last::must_exist);
  struct stat st;
  const Descriptor input = open_regular(found.parent.get(), found.leaf(), st);
  return read_text(input.get(), std::numeric_limits<qsizetype>::max() - 1);
}

void HostFileSystem::write_lines(const QString& path, const QStringList& lines) {
  const HostPath target = resolver_->resolve(path, Last::may_be_missing);
  if (target.is_root()) throw FileError(err::path_file_access);
  const Descriptor dir(::openat(target.parent.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.valid()) throw_errno(false);
  replace_text(dir.get(), target.names.last(), lines);
  resolver_->note_changed(dir.get(), target.parent_native(),
                          target.exists ? QByteArray() : target.names.last());
}

QStringList HostFileSystem::read_own_lines(const QByteArray& native_path, qsizetype longest_line) {
  folder_and_name(native_path);
  struct stat st;
  const Descriptor input = open_regular(AT_FDCWD, native_path.constData(), st);
  return read_text(input.get(), longest_line);
}

void HostFileSystem::write_own_lines(const QByteArray& native_path, const QStringList& lines) {
  const auto [folder, name] = folder_and_name(native_path);
  make_own_folder(folder);
  const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.valid()) throw_errno(false);
  replace_text(dir.get(), name, lines);
}

void HostFileSystem::make_own_folder(const QByteArray& native_path) {
  if (!native_path.startsWith('/') || native_path.contains('\0'))
    throw FileError(err::bad_file_name);
  // Each folder on the way, from the top: those that exist stay as they are.
  for (qsizetype at = native_path.indexOf('/', 1);; at = native_path.indexOf('/', at + 1)) {
    const QByteArray folder = at < 0 ? native_path : native_path.left(at);
    if (!folder.endsWith('/') && ::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
      throw_errno(false);
    if (at < 0) break;
  }
  struct stat st;
  if (::stat(native_path.constData(), &st) != 0) throw_errno(false);
  if (!S_ISDIR(st.st_mode)) throw FileError(err::path_not_found);
}

}  // namespace tz
