#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace tz {

// "Let pending window events run."
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void process_events() = 0;
};

// The screen-wide mouse pointer: hourglass or default.
class BusyPointer {
 public:
  virtual ~BusyPointer() = default;
  virtual void set_busy(bool busy) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds on a monotonic clock; only differences mean anything.
  virtual double monotonic_seconds() = 0;
  // Blocks the calling thread for `seconds`, keeping its core idle; no events run
  // meanwhile.
  virtual void sleep_seconds(double seconds) = 0;
};

// Starting other programs. Nothing is ever run through a shell.
class Processes {
 public:
  virtual ~Processes() = default;
  // Starts `program` with `arguments` without waiting; throws FileError 53 when the
  // program cannot be found.
  virtual void start_detached(const QString& program, const QStringList& arguments) = 0;
  // Opens a file, a directory or a web address with its associated program.
  virtual bool open_url(const QString& path_or_url) = 0;
  virtual void beep() = 0;
};

// The ways the program ends.
class ProgramExit {
 public:
  virtual ~ProgramExit() = default;
  // Closes the main window, which ends the program once control returns to the event
  // loop (Esc, "&exit", the menu).
  virtual void close_window() = 0;
  // Ends the program at once, without clean-up or saving (a fatal error, an invalid
  // command line). Never returns: nothing after it runs (a test's stand-in throws).
  [[noreturn]] virtual void end_now() = 0;
};

// Facts about the process and the host.
class SystemFacts {
 public:
  virtual ~SystemFacts() = default;
  // The program's arguments joined by single blanks.
  virtual QString command_line() = 0;
  // The program's arguments one by one, as given; empty when only the line is known.
  virtual QStringList arguments() = 0;
  // The current directory in drive form.
  virtual QString current_directory() = 0;
  // The process's real working directory as the host names it, whatever the drive table.
  virtual QString working_directory() = 0;
  // The per-user data folder as the host names it (a native path, never through the
  // drive table), without a final `/`.
  virtual QByteArray windows_directory() = 0;
  // Screen size in twips; empty where there is no screen.
  virtual QSize screen_twips() = 0;
  // Height of a window's title bar and borders in twips; 0 where there is no frame.
  virtual int frame_height_twips() = 0;
};

}  // namespace tz
