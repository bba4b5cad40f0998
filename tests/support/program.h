#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <stdexcept>

#include "core/context.h"
#include "models/list_id.h"
#include "support/fakes.h"
#include "support/faulty_file_system.h"
#include "support/scripted_dialogs.h"
#include "support/temp_drives.h"

namespace tz::test {

// List `n` (1 to 5) of the window; any other number is a mistake in the test.
inline ListId list_at(int n) {
  const std::optional<ListId> id = list_id(n);
  if (!id) throw std::logic_error("no list of that number");
  return *id;
}

// The host a test program runs on: private temporary drives (C: and D: unless told
// otherwise; letters in `without_medium` are drives without a medium), the real files
// with the failures a test may inject, scripted dialogs and recording services. The
// current directory is C:\ (also as the host's working directory) and the Windows
// directory C:\windows.
struct TestHost {
  explicit TestHost(const QList<QChar>& letters, const QList<QChar>& without_medium)
      : drives(letters, without_medium), fs(drives.table()) {
    facts.work = drives.host(letters.value(0, u'C'));
    facts.windows = drives.native("C:\\windows");
  }

  static constexpr qint64 t0 = 1'700'000'000;

  Services services() { return Services{fs, dialogs, pump, busy, clock, facts, processes, exit}; }

  TempDrives drives;
  FaultyFileSystem fs;
  ScriptedDialogs dialogs;
  RecordingPump pump;
  RecordingBusy busy;
  FakeClock clock;
  FakeFacts facts;
  RecordingProcesses processes;
  RecordingExit exit;
};

// A test's program: the host and `Features`, the features of the layer under test and
// those below it (the whole program for the tests of `app/` and above).
template <class Features>
struct ProgramOn : TestHost {
  explicit ProgramOn(const QList<QChar>& letters = {u'C', u'D'},
                     const QList<QChar>& without_medium = {})
      : TestHost(letters, without_medium), tz(services()) {}

  // Opens `path1` and `path2` in the panes as a user would, one pane after the other.
  void open_panes(const QString& path1, const QString& path2) {
    auto& panes = tz.panes();
    panes.initialise();
    panes.set_drive(1, path1[0]);
    panes.set_directory(1, path1);
    panes.set_drive(2, path2[0]);
    panes.set_directory(2, path2);
    tz.globals().GLB_loading = false;
  }
  // `name` in dir 1 (C:\one) or dir 2 (D:\two).
  void file(int dir, const QString& name, const QByteArray& data, qint64 mtime = t0) {
    drives.write_file((dir == 1 ? "C:\\one\\" : "D:\\two\\") + name, data, mtime);
  }
  // Opens the pair (C:\one and D:\two unless told) and presses "&compare dir's".
  void compare(const QString& path1 = "C:\\one", const QString& path2 = "D:\\two") {
    open_panes(path1, path2);
    tz.comparison().bot_compare_Click();
  }
  QStringList list(int n) { return tz.window().list(list_at(n)).texts(); }

  Features tz;
};

// The shared context alone, with the accessors the whole program has.
struct CoreFeatures : Context {
  using Context::Context;
  Context& context() { return *this; }
};
using CoreProgram = ProgramOn<CoreFeatures>;

}  // namespace tz::test
