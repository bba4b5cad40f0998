#pragma once

#include <QString>

namespace tz {

class Clock;
class Context;
class EventPump;
class FileError;

// Texts of names, paths and answers are compared without regard to letter case.
inline bool same_text(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// A directory's path with one final backslash, as names are appended to it.
inline QString with_backslash(const QString& path) {
  return path.endsWith(u'\\') ? path : path + u'\\';
}

// The event turns of a long run (an alignment, a deletion, a tree step): at most one
// every `event_turn_seconds` of the run's own work, so that a run of many small files
// takes the disk's time rather than the window's, while the window stays painted and
// Cancel answers within that time plus the file in progress.
class EventTurns {
 public:
  static constexpr double event_turn_seconds = 0.04;

  EventTurns(Clock& clock, EventPump& pump);
  // True when the window's events are due to run: the run brings the lists up to date
  // first, then calls run().
  bool due();
  // Lets pending events run and starts the next interval.
  void run();

 private:
  Clock& clock_;
  EventPump& pump_;
  double last_;
};

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

// The hourglass for as long as a piece of work lasts: shown when the scope is made
// (unless told `later`), and the default pointer again when it ends, by a return or an
// exception alike. `release` shows the default pointer at once, for a box the user must
// answer or for work that ends early; the end then changes nothing more. `show` brings
// the hourglass back. As with the pointer itself, the last call wins: an inner scope's
// end shows the default pointer whatever an outer one holds.
class BusyScope {
 public:
  enum When { now, later };
  explicit BusyScope(Common& common, When when = now) : common_(common) {
    if (when == now) show();
  }
  ~BusyScope() {
    if (held_) common_.show_busy(false);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  void show() {
    common_.show_busy(true);
    held_ = true;
  }
  void release() {
    common_.show_busy(false);
    held_ = false;
  }

 private:
  Common& common_;
  bool held_ = false;
};

// The default pointer for a box shown in the midst of busy work, and the hourglass again
// once it is answered.
class BusyPause {
 public:
  explicit BusyPause(Common& common) : common_(common) { common_.show_busy(false); }
  ~BusyPause() { common_.show_busy(true); }
  BusyPause(const BusyPause&) = delete;
  BusyPause& operator=(const BusyPause&) = delete;

 private:
  Common& common_;
};

}  // namespace tz
