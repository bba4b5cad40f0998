#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "app/load_step.h"
#include "app/startup.h"
#include "app/tenzor.h"
#include "platform/drive_table.h"
#include "platform/host_file_system.h"
#include "platform/host_services.h"
#include "platform/qt_busy_pointer.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_processes.h"
#include "platform/qt_program_exit.h"
#include "platform/qt_system_facts.h"
#include "ui/main_window.h"

namespace {

bool has_display() {
  // An explicit platform (offscreen, xcb...) is the user's choice; otherwise X11 or
  // Wayland must be there.
  return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
         qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));

  // Modes without a window come first: they need no display.

  if (!has_display()) {
    std::fputs(
        "tenzor: no display found (DISPLAY is not set). Tenzor is a desktop program: start it "
        "in a graphical session, or under a virtual display such as xvfb-run.\n",
        stderr);
    return 1;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tenzor"));

  const tz::DriveTable table = tz::DriveTable::from_environment();
  tz::HostFileSystem fs(table);
  tz::QtDialogs dialogs;
  tz::CoreEventPump pump;
  tz::QtBusyPointer busy;
  tz::SteadyClock clock;
  tz::QtSystemFacts facts(table, arguments);
  tz::QtProcesses processes;
  tz::QtProgramExit exit;
  tz::Tenzor tz(tz::Services{fs, dialogs, pump, busy, clock, facts, processes, exit});

  tz::start_up(tz);
  tz::MainWindow window(tz);
  exit.set_window(&window);
  if (!tz::load_form(tz, [&table](const QString& native) { return table.to_drive_form(native); }))
    return EXIT_FAILURE;
  return QApplication::exec();
}
