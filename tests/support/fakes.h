#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "platform/services.h"

namespace tz::test {

// Counts the times pending events were let run; runs a hook each time.
class RecordingPump : public EventPump {
 public:
  void process_events() override {
    ++calls;
    if (on_events) on_events();
  }
  int calls = 0;
  std::function<void()> on_events;
};

class RecordingBusy : public BusyPointer {
 public:
  void set_busy(bool busy) override { this->busy = busy; }
  bool busy = false;
};

// A clock that moves only when told, by `step` at every reading, or by the time slept,
// which it records instead of sleeping.
class FakeClock : public Clock {
 public:
  double monotonic_seconds() override {
    now += step;
    return now;
  }
  void sleep_seconds(double seconds) override {
    sleeps.push_back(seconds);
    if (seconds > 0) now += seconds;
  }
  double now = 0;
  double step = 0;
  std::vector<double> sleeps;
};

class RecordingProcesses : public Processes {
 public:
  struct Start {
    QString program;
    QStringList arguments;
  };
  void start_detached(const QString& program, const QStringList& arguments) override {
    if (on_start) on_start(program);  // may throw, as a program that cannot start does
    starts.push_back({program, arguments});
  }
  bool open_url(const QString& path) override {
    opened.push_back(path);
    if (on_open) on_open(path);
    return open_succeeds;
  }
  void beep() override { ++beeps; }
  std::function<void(const QString& program)> on_start;
  std::function<void(const QString& path)> on_open;
  std::vector<Start> starts;
  std::vector<QString> opened;
  int beeps = 0;
  // False: the path is recorded, but its program does not start.
  bool open_succeeds = true;
};

// What a test sees of the program ending at once.
struct ProgramEnded {};

class RecordingExit : public ProgramExit {
 public:
  void close_window() override { ++closes; }
  // Ending the program never returns: here it throws, so that nothing after it runs.
  [[noreturn]] void end_now() override {
    ++ends;
    throw ProgramEnded{};
  }
  int closes = 0;
  int ends = 0;
};

class FakeFacts : public SystemFacts {
 public:
  QString command_line() override { return line; }
  QStringList arguments() override { return args; }
  QString current_directory() override { return cwd; }
  QString working_directory() override { return work; }
  QByteArray windows_directory() override { return windows; }
  QSize screen_twips() override { return screen; }
  int frame_height_twips() override { return frame; }

  QString line;
  // Empty: only `line` is known.
  QStringList args;
  QString cwd = QStringLiteral("C:\\");
  // Native; TestProgram makes it the host folder of its first drive.
  QString work;
  // A native path; TestProgram puts it on its drive C: as C:\windows.
  QByteArray windows;
  QSize screen{19200, 14400};
  int frame = 0;
};

}  // namespace tz::test
