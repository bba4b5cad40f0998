#pragma once

#include <QFile>
#include <QList>
#include <QString>

#include "app/tenzor.h"
#include "core/list_id.h"
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

// The program's logic on private temporary drives (C: and D: unless told otherwise;
// letters in `without_medium` are drives without a medium), with scripted dialogs and
// recording services. The current directory is C:\ (also as the host's working
// directory) and the Windows directory C:\windows.
struct TestProgram {
  explicit TestProgram(const QList<QChar>& letters = {u'C', u'D'},
                       const QList<QChar>& without_medium = {})
      : drives(letters, without_medium),
        fs(drives.table()),
        tz(Services{fs, dialogs, pump, busy, clock, facts, processes, exit}) {
    facts.work = drives.host(letters.value(0, u'C'));
    facts.windows = QFile::encodeName(drives.host_path("C:\\windows"));
  }

  static constexpr qint64 t0 = 1'700'000'000;

  // Opens `path1` and `path2` in the panes as a user would, one pane after the other.
  void open_panes(const QString& path1, const QString& path2);
  // `name` in dir 1 (C:\one) or dir 2 (D:\two).
  void file(int dir, const QString& name, const QByteArray& data, qint64 mtime = t0);
  // Opens C:\one and D:\two and presses "&compare dir's".
  void compare();
  QStringList list(int n) { return tz.window().list(list_at(n)).texts(); }

  TempDrives drives;
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
