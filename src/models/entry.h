#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

#include "platform/file_system.h"

namespace tz {

// What the comparison saw of a file: enough to tell later whether it has changed or
// was replaced by another file of the same length and time (another inode). Kept
// small: a list may hold 100,000 entries. A file held by its name only (the file view,
// or one whose status could not be read) has no status yet: an action reads it first
// (with_status) and fails with the file's error when it cannot.
struct Seen {
  FileTime modified = 0;
  qint64 length = -1;  // -1: not read
  quint64 device = 0;
  quint64 inode = 0;
  qint32 modified_ns = 0;

  Seen() = default;
  Seen(const FileInfo& info)
      : modified(info.modified),
        length(info.length),
        device(info.device),
        inode(info.inode),
        modified_ns(info.modified_ns) {}

  bool known() const { return length >= 0; }
};

// One side's file of a list entry: the open directory it was found in, its exact
// on-disk name and what the comparison saw of it. Actions reach the file only through
// these, never through a path rebuilt from the entry's text.
struct FileRef {
  std::shared_ptr<OpenDirectory> dir;
  QByteArray name;
  Seen seen;

  // The file in drive form, for messages and the hint line.
  QString path() const { return dir->path() + display_name(name); }
  bool same_place(const FileRef& other) const { return dir == other.dir && name == other.name; }
};

// A list entry: the text a list shows and the files it stands for, dir 1's and dir 2's
// (either may be missing). Two entries with the same text may stand for different
// files (case twins, or names that show alike), so lists find entries by their files.
struct Entry {
  QString text;
  std::optional<FileRef> side1;
  std::optional<FileRef> side2;

  std::optional<FileRef>& side(int dir) { return dir == 1 ? side1 : side2; }
  const std::optional<FileRef>& side(int dir) const { return dir == 1 ? side1 : side2; }

  // The same text standing for the same files.
  bool same_as(const Entry& other) const {
    return text == other.text && same_side(side1, other.side1) && same_side(side2, other.side2);
  }

 private:
  static bool same_side(const std::optional<FileRef>& a, const std::optional<FileRef>& b) {
    return a.has_value() == b.has_value() && (!a || a->same_place(*b));
  }
};

}  // namespace tz
