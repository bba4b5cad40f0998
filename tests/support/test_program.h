#pragma once

#include <QString>
#include <QList>

#include "app/tenzor.h"
#include "platform/host_file_system.h"
#include "support/fakes.h"
#include "support/faulty_file_system.h"
#include "support/scripted_dialogs.h"
#include "support/temp_drives.h"

namespace tz::test {

// The program's logic on private temporary drives (C: and D: unless told otherwise),
// letters in `without_medium` being drives without a medium, with scripted dialogs and recording services. The current directory is C:\ and the
// Windows directory C:\windows.
struct TestProgram {
  explicit TestProgram(const QList<QChar>& letters = {u'C', u'D'},
                       const QList<QChar>& without_medium = {})
      : drives(letters, without_medium), host_fs(drives.table()), fs(host_fs), tz(Services{fs, dialogs, pump, busy, clock, facts,
                                                         processes, exit}) {}

  // Opens `path1` and `path2` in the panes as a user would, one pane after the other.
  void open_panes(const QString& path1, const QString& path2);

  TempDrives drives;
  HostFileSystem host_fs;
  // The real files, with failures a test may inject.
  FaultyFileSystem fs;
  ScriptedDialogs dialogs;
  RecordingPump pump;
  RecordingBusy busy;
  FakeClock clock;
  FakeFacts facts;
  RecordingProcesses processes;
  RecordingExit exit;
  Tenzor tz;
};

}  // namespace tz::test
