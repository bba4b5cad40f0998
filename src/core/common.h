#pragma once

#include <QString>

namespace tz {

class Context;
class FileError;

// Texts of names, paths and answers are compared without regard to letter case.
inline bool same_text(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// A directory's path with one final backslash, as names are appended to it.
inline QString with_backslash(const QString& path) {
  return path.endsWith(u'\\') ? path : path + u'\\';
}

// The small routines every part calls.
class Common {
 public:
  explicit Common(Context& ctx) : ctx_(ctx) {}

  // Hourglass for true, the default pointer otherwise; the last call wins.
  void show_busy(bool flag);
  // Lets pending window events run until `seconds` have passed on a monotonic clock,
  // sleeping between event turns; ends early once the window is closed.
  void pause_seconds(double seconds);
  // True when a listing of `path` that includes hidden, system and directory entries
  // returns anything; false for an empty path and on any error.
  bool file_exists(const QString& path);
  // The message for a path that the start or the report cannot open: `missing_text` +
  // the path, unless the path is there but closed to this user, which is said as such.
  QString unreachable_path_message(const QString& path, const QString& missing_text);
  // True when two paths name one place: the same text, letter case ignored, or the
  // same file or directory on disk (a link, a bind mount, two drive letters).
  bool same_place(const QString& a, const QString& b);
  // A critical box for work that stopped on a file error: `start` + `where`, the line
  // "Error: <number> - <description>", and `end`.
  void show_stopped(const QString& start, const QString& where, const FileError& error,
                    const QString& end);
  // The standard report of an unexpected error: "Error <number> - <description>".
  void show_error_message(const FileError& error);
  // The per-user data folder, a native path (the program's own files never go through
  // the drive table).
  QByteArray windows_directory();
  // The "temp" folder under the Windows directory, a native path, created with every
  // folder missing above it.
  QByteArray data_directory();

 private:
  Context& ctx_;
};

}  // namespace tz
