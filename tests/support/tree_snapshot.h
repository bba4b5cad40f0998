#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QSet>
#include <functional>
#include <map>

namespace tz::test {

// Everything below a host folder as bytes on disk: per entry (exact name bytes, links
// not followed) its type, mode, time, length, content digest and link target. Two
// snapshots tell which entries an action touched.
class TreeSnapshot {
 public:
  explicit TreeSnapshot(const QByteArray& root) { walk(root, QByteArray()); }

  // The entries, relative to the root, that were added, removed or changed.
  QSet<QByteArray> changed_since(const TreeSnapshot& before) const {
    QSet<QByteArray> changed;
    for (const auto& [path, state] : entries_) {
      const auto it = before.entries_.find(path);
      if (it == before.entries_.end() || it->second != state) changed.insert(path);
    }
    for (const auto& [path, state] : before.entries_)
      if (!entries_.count(path)) changed.insert(path);
    return changed;
  }

 private:
  void walk(const QByteArray& dir, const QByteArray& relative) {
    DIR* handle = ::opendir(dir.constData());
    if (!handle) return;
    while (const dirent* e = ::readdir(handle)) {
      const QByteArray name(e->d_name);
      if (name == "." || name == "..") continue;
      const QByteArray path = dir + '/' + name;
      const QByteArray rel = relative.isEmpty() ? name : relative + '/' + name;
      struct stat st;
      if (::lstat(path.constData(), &st) != 0) continue;
      // A directory's own time and size follow what it holds, which is judged by itself.
      QByteArray state = QByteArray::number(st.st_mode);
      if (!S_ISDIR(st.st_mode))
        state += ' ' + QByteArray::number(static_cast<qint64>(st.st_mtim.tv_sec)) + ' ' +
                 QByteArray::number(static_cast<qint64>(st.st_size));
      if (S_ISREG(st.st_mode)) {
        QFile file(QFile::decodeName(path));
        if (file.open(QIODevice::ReadOnly))
          state += ' ' + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
      } else if (S_ISLNK(st.st_mode)) {
        char target[4096];
        const ssize_t n = ::readlink(path.constData(), target, sizeof target);
        if (n > 0) state += " -> " + QByteArray(target, static_cast<int>(n));
      }
      entries_[rel] = state;
      if (S_ISDIR(st.st_mode)) walk(path, rel);
    }
    ::closedir(handle);
  }

  std::map<QByteArray, QByteArray> entries_;
};

// What `action` changed below `root`, by path relative to it.
inline QSet<QByteArray> touched_by(const QByteArray& root, const std::function<void()>& action) {
  const TreeSnapshot before(root);
  action();
  return TreeSnapshot(root).changed_since(before);
}

}  // namespace tz::test
