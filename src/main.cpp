#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "align/copier.h"
#include "app/command_line.h"
#include "app/load_step.h"
#include "app/report.h"
#include "app/tenzor.h"
#include "core/startup.h"
#include "help/help.h"
#include "models/list_id.h"
#include "models/window_model.h"
#include "platform/copy_command.h"
#include "platform/drive_table.h"
#include "platform/headless_services.h"
#include "platform/host_file_system.h"
#include "platform/host_services.h"
#include "platform/host_system_facts.h"
#include "platform/qt/qt_busy_pointer.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_processes.h"
#include "platform/qt/qt_program_exit.h"
#include "platform/qt/qt_system_facts.h"
#include "texts/texts.h"
#include "ui/main_window.h"

namespace {

constexpr char usage[] =
    "Usage:\n"
    "  tenzor [<drive:\\path 1> | <drive:\\path 2>]\n"
    "      Opens the window on the pair and compares it. Without arguments the newest\n"
    "      pair of the history opens when both of its directories exist, else both panes\n"
    "      show the root of the current drive.\n"
    "  tenzor <drive:\\path 1> \u00a7 <drive:\\path 2>\n"
    "      Opens the window and compares the two directory trees.\n"
    "  tenzor </folder 1> </folder 2>\n"
    "      Two native folders without a separator (as a launcher passes two dropped\n"
    "      folders) are the pair </folder 1> | </folder 2>.\n"
    "  tenzor </folder>\n"
    "      One native folder is dir 1; dir 2 is the newest history pair's dir 2 when it\n"
    "      exists, else the same folder.\n"
    "  tenzor --report [--all] [--null|-0] <drive:\\path 1> | <drive:\\path 2>\n"
    "      Compares the pair without a window and writes one line per file that differs\n"
    "      (with --all also the aligned ones): the list's caption, a TAB, the file's\n"
    "      exact name, with TAB, newline, CR, backslash, control characters and bytes\n"
    "      that are not UTF-8 written as \\t \\n \\r \\\\ \\xE9. With --null (-0)\n"
    "      records end in NUL instead and names are not escaped.\n"
    "      Exit status 0 when nothing differs, 1 when something does, 2 when the pair\n"
    "      cannot be compared or the output cannot be written.\n"
    "  tenzor --report [--all] [--null|-0] <drive:\\path 1> \u00a7 <drive:\\path 2>\n"
    "      Compares two trees without a window, creating nothing: a line \"Only in\n"
    "      tree 1: <path>\" or \"Only in tree 2: <path>\" for each directory found in\n"
    "      one tree only, then for each pair of directories that differs a line\n"
    "      \"== <path 1> <-> <path 2>\" followed by its files as above. Exit status 0\n"
    "      when the trees are aligned, 1 when anything differs, 2 as for a pair.\n"
    "      Without a pair, --report writes this usage and exits with status 2.\n"
    "  tenzor --help\n"
    "  tenzor --version\n"
    "\n"
    "Paths may also be native absolute paths (/home/ann/docs). In a shell, quote the\n"
    "separator: tenzor /home/ann/docs '|' /media/ann/USB/docs. Given so, each path an\n"
    "argument of its own, the paths are taken exactly, blanks and | or \u00a7 inside them\n"
    "included; in one argument the line is split at its first | (else \u00a7) and blanks\n"
    "around each path are removed. TENZOR_DRIVES maps drive letters to host directories,\n"
    "e.g. TENZOR_DRIVES='C=/;D=/media/ann/USB'.\n";

// A message for standard error, in the form every line the program writes there has.
void complain(const QString& text) {
  std::fputs(("tenzor: " + text + u'\n').toLocal8Bit().constData(), stderr);
}

// An option the program does not know, named before anything else is looked at.
int unknown_option(const QString& option) {
  complain(QStringLiteral("unknown option %1").arg(option));
  std::fputs(usage, stderr);
  return 2;
}

bool is_option(const QString& argument) {
  return argument.startsWith(u'-') && argument.size() > 1;
}

// The window-less comparison for scripts.
int report(QStringList arguments) {
  tz::ReportOptions options;
  while (is_option(arguments.value(0))) {
    const QString option = arguments.takeFirst();
    if (option == QStringLiteral("--all")) {
      options.all = true;
    } else if (option == QStringLiteral("--null") || option == QStringLiteral("-0")) {
      options.null_terminated = true;
    } else {
      return unknown_option(option);
    }
  }
  // Without a pair there is nothing to report: the roots of the current drive, which the
  // window opens then, are one directory.
  if (arguments.isEmpty()) {
    std::fputs(usage, stderr);
    return 2;
  }
  const tz::DriveTableReading drives = tz::DriveTable::read_environment();
  if (!drives.table) {
    complain(drives.error);
    return 2;
  }
  const tz::DriveTable& table = *drives.table;
  tz::HostFileSystem fs(table);
  tz::StderrDialogs dialogs;
  tz::NoEventPump pump;
  tz::NoBusyPointer busy;
  tz::SteadyClock clock;
  tz::HostSystemFacts facts(table, arguments);
  tz::NoProcesses processes;
  tz::NoWindowExit exit;
  tz::Tenzor tz(tz::Services{fs, dialogs, pump, busy, clock, facts, processes, exit});
  QByteArray out;
  int status = tz::run_report(
      tz, options, [&table](const QString& native) { return table.to_drive_form(native); }, out);
  // A report that did not reach its reader is no answer: a full disk must not pass for
  // "differences".
  const auto size = static_cast<size_t>(out.size());
  int error = 0;
  const auto failed = [&error] {
    if (error == 0) error = errno != 0 ? errno : EIO;
  };
  errno = 0;
  if (std::fwrite(out.constData(), 1, size, stdout) != size) failed();
  if (std::fclose(stdout) != 0) failed();
  if (error != 0) {
    complain(QStringLiteral("write error: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
    status = tz::report_status::refused;
  }
  std::fflush(stderr);
  // Nothing was written but standard output: ending here spares freeing every entry
  // of the lists one by one, a good part of the time a large pair takes.
  std::_Exit(status);
}

// For bench/speed.sh: with TENZOR_BENCH_IDLE=1 the window writes to standard error the
// milliseconds since main began until it is first painted and until the event loop is
// first idle after the load step, with the entries then in the five lists, and ends
// there.
class BenchClock : public QObject {
 public:
  explicit BenchClock(const QElapsedTimer& since) : since_(since) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      std::fprintf(stderr, "tenzor: visible %lld ms\n", since_.elapsed());
    }
    return QObject::eventFilter(watched, event);
  }

  // With TENZOR_BENCH_RUN=align (or delete), the run that the button under list 1 (or
  // the delete button, list 1 all selected and no questions) starts once the window is
  // idle: its milliseconds and the longest the window went without its events running
  // meanwhile, then the entries left in list 1.
  [[noreturn]] void run(QWidget& window, tz::WindowModel& w, const QString& what) const {
    if (what == u"delete") {
      w.m_skip_delete_confirmations.set_checked(true);
      w.List1.select_all();
    }
    auto* button = window.findChild<QAbstractButton*>(
        what == u"delete" ? QStringLiteral("bot_delete") : QStringLiteral("bot_list1"));
    if (!button) std::_Exit(EXIT_FAILURE);
    QElapsedTimer run, since_tick;
    qint64 longest = 0;
    QTimer ticks;
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout,
                     [&] { longest = std::max(longest, since_tick.restart()); });
    ticks.start();
    run.start();
    since_tick.start();
    button->click();
    longest = std::max(longest, since_tick.elapsed());
    std::fprintf(stderr, "tenzor: run %lld ms, longest without events %lld ms, %d left\n",
                 run.elapsed(), longest, w.List1.count());
    std::fflush(stderr);
    std::_Exit(EXIT_SUCCESS);
  }

  [[noreturn]] void idle(tz::WindowModel& w) const {
    int entries = 0;
    for (const tz::ListId id : tz::all_lists) entries += w.list(id).count();
    std::fprintf(stderr, "tenzor: idle %lld ms, %d entries\n", since_.elapsed(), entries);
    std::fflush(stderr);
    // Tearing the window down is not part of its start.
    std::_Exit(EXIT_SUCCESS);
  }

 private:
  const QElapsedTimer& since_;
  bool painted_ = false;
};

// Why no window can open, or empty while one may: an explicit platform (offscreen,
// xcb...) is the user's choice; otherwise X11 or Wayland must be named.
QString missing_display() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
      !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("DISPLAY"))
    return {};
  return qEnvironmentVariableIsSet("DISPLAY") ? tz::text::display_empty : tz::text::no_display;
}

// Qt ends a program whose display cannot be opened with an abort and advice to reinstall.
// While the application starts, its messages are held back: a fatal one ends the program
// with one line of its own, and the others are passed on once the display is open.
class DisplayGuard {
 public:
  DisplayGuard() { previous_ = qInstallMessageHandler(&DisplayGuard::hold); }
  ~DisplayGuard() {
    qInstallMessageHandler(previous_);
    if (previous_ != nullptr)
      for (const Held& m : held_) previous_(m.type, m.context.context(), m.text);
    held_.clear();
  }
  DisplayGuard(const DisplayGuard&) = delete;
  DisplayGuard& operator=(const DisplayGuard&) = delete;

 private:
  // The context's strings point into the code that logged; the copies keep them.
  struct Context {
    QByteArray file, function, category;
    int line = 0;
    QMessageLogContext context() const {
      return {file.constData(), line, function.constData(), category.constData()};
    }
  };
  struct Held {
    QtMsgType type;
    Context context;
    QString text;
  };

  static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
      QString display = qEnvironmentVariable("DISPLAY");
      if (display.isEmpty()) display = qEnvironmentVariable("WAYLAND_DISPLAY");
      if (display.isEmpty()) display = qEnvironmentVariable("QT_QPA_PLATFORM");
      complain(tz::text::display_not_opened_start + display + tz::text::display_not_opened_end +
               tz::text::desktop_program);
      std::fflush(stderr);
      std::_Exit(2);
    }
    held_.push_back({type, {context.file, context.function, context.category, context.line}, text});
  }

  static inline QtMessageHandler previous_ = nullptr;
  static inline std::vector<Held> held_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QElapsedTimer started;
  started.start();
  // The copy that the window starts as a separate process when its own copy fails. Its
  // paths are taken as the bytes they are: text would lose a name that is not UTF-8.
  if (argc > 1 && std::strcmp(argv[1], "--copy-file") == 0) {
    QByteArrayList raw;
    for (int i = 2; i < argc; ++i) raw.append(QByteArray(argv[i]));
    return tz::run_copy_command(raw);
  }
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));

  // Modes without a window come first: they need no display.
  if (arguments.value(0) == QStringLiteral("--help")) {
    std::fputs(usage, stdout);
    return EXIT_SUCCESS;
  }
  if (arguments.value(0) == QStringLiteral("--version")) {
    std::fputs(("tenzor " + tz::version_number() + u'\n').toUtf8().constData(), stdout);
    return EXIT_SUCCESS;
  }
  if (arguments.value(0) == QStringLiteral("--report")) return report(arguments.mid(1));
  if (is_option(arguments.value(0))) return unknown_option(arguments.value(0));

  if (const QString missing = missing_display(); !missing.isEmpty()) {
    complain(missing + tz::text::desktop_program);
    return 2;
  }

  // Guarded while the application opens the display; passed on once it runs.
  auto guard = std::make_unique<DisplayGuard>();
  QApplication app(argc, argv);
  guard.reset();
  QApplication::setApplicationName(QStringLiteral("tenzor"));
  // Lets a desktop tie the window to the launcher that started it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.tenzor.Tenzor"));

  tz::QtDialogs dialogs;
  const tz::DriveTableReading drives = tz::DriveTable::read_environment();
  if (!drives.table) {
    // Guessing at a table could open the whole host disk where a stick was meant.
    dialogs.message_box(
        {drives.error, tz::text::app_title, tz::Buttons::Ok, tz::Icon::Critical, 0});
    return 2;
  }
  const tz::DriveTable& table = *drives.table;
  tz::HostFileSystem fs(table);
  tz::CoreEventPump pump;
  tz::QtBusyPointer busy;
  tz::SteadyClock clock;
  tz::QtSystemFacts facts(table, arguments);
  tz::QtProcesses processes;
  tz::QtProgramExit exit;
  tz::Tenzor tz(tz::Services{fs, dialogs, pump, busy, clock, facts, processes, exit});

  tz.copier().set_copy_program(QCoreApplication::applicationFilePath());
  tz::start_up(tz.context());
  tz::MainWindow window(tz);
  exit.set_window(&window);
  BenchClock bench(started);
  const bool timed = qEnvironmentVariable("TENZOR_BENCH_IDLE") == QStringLiteral("1");
  if (timed) window.installEventFilter(&bench);
  return tz::load_and_run(
      tz, [&table](const QString& native) { return table.to_drive_form(native); },
      [&] {
        const QString run = qEnvironmentVariable("TENZOR_BENCH_RUN");
        if (timed && !run.isEmpty())
          QTimer::singleShot(0, [&] { bench.run(window, tz.window(), run); });
        else if (timed)
          QTimer::singleShot(0, [&] { bench.idle(tz.window()); });
        return QApplication::exec();
      });
}
