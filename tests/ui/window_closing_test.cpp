#include <QDir>
#include <QElapsedTimer>
#include <ctime>

#include "app/load_step.h"
#include "core/common.h"
#include "history/history.h"
#include "platform/host_services.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

// Closing the window while work runs from event turns: the work stops after the file in
// progress and the program ends.
class UiClosing : public WindowTest {
 protected:
  void SetUp() override {
    p.clock.step = 0.05;  // a long run lets events run after each file
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
      p.drives.write_file(QStringLiteral("C:\\one\\") + QString::fromLatin1(name), "data", t0);
    p.drives.make_dir("D:\\two");
  }
  QStringList copied() const { return QDir(p.drives.host(u'D') + "/two").entryList(QDir::Files); }
  // Presses the exit button at the first event turn after the first copy.
  void exit_after_first_copy() {
    p.pump.on_events = [this] {
      if (closed || copied().isEmpty()) return;
      closed = true;
      click("bot_exit");
    };
  }

  bool closed = false;
};

// While a run lets events run, the window takes no input that could change the pair or
// its files: another folder double-clicked, the history key, a menu shortcut, "&compare
// dir's". Cancel still acts.
TEST_F(UiClosing, DuringARunOnlyCancelAndExitAct) {
  p.open_panes("C:\\one", "D:\\two");
  show_window();
  activate();
  click("bot_compare");
  auto* dir = find<QListView>("Dir1");
  bool tried = false;
  p.pump.on_events = [&] {
    if (tried || copied().isEmpty()) return;
    tried = true;
    double_click(dir, 0);
    QTest::keyClick(window.get(), Qt::Key_F8);
    p.drives.make_dir("C:\\one\\added");
    QTest::keyClick(window.get(), Qt::Key_F5);  // a menu entry's shortcut
    click("bot_compare");
    click("bot_cancel");
  };
  click("bot_list1");

  ASSERT_TRUE(tried);
  EXPECT_EQ(model().pane1.path(), "C:\\one");
  EXPECT_FALSE(model().pane1.rows().contains("C:\\one\\added"));
  EXPECT_FALSE(p.tz.history().view_visible());
  EXPECT_EQ(copied().size(), 1);
  EXPECT_EQ(rows_of(list(1)).size(), 2);
  EXPECT_EQ(rows_of(list(5)).size(), 1);
  EXPECT_FALSE(model().running());
}

TEST_F(UiClosing, ExitDuringAnAlignmentFromTheEventLoopEndsTheLoopWithAnotherWindowOpen) {
  p.facts.line = "C:\\one | D:\\two";
  window = std::make_unique<MainWindow>(p.tz);
  // Another top-level window (a text window) does not keep the program alive.
  QWidget other;
  other.show();
  exit_after_first_copy();
  QTimer::singleShot(0, window.get(), [this] { click("bot_list1"); });
  // Ends a loop that the close failed to end, so that the test fails instead of hanging.
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guard.start(10'000);

  const int status = load_and_run(p.tz, {}, [] { return QApplication::exec(); });

  EXPECT_EQ(status, 0);
  ASSERT_TRUE(closed);
  // The copy in progress ends; no other begins.
  EXPECT_EQ(copied().size(), 1);
  EXPECT_TRUE(p.tz.globals().GLB_closing);
  EXPECT_TRUE(p.tz.globals().GLB_cancel);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(other.isVisible());
}

TEST_F(UiClosing, WindowClosedDuringTheFirstComparisonEndsWithoutEnteringTheEventLoop) {
  p.facts.line = "C:\\one | D:\\two";
  window = std::make_unique<MainWindow>(p.tz);
  p.pump.on_events = [this] {
    if (window->isVisible()) window->close();
  };
  bool loop_entered = false;

  const int status = load_and_run(p.tz, {}, [&loop_entered] {
    loop_entered = true;
    return 3;
  });

  EXPECT_EQ(status, 0);
  EXPECT_FALSE(loop_entered);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(p.tz.globals().GLB_closing);
  EXPECT_TRUE(copied().isEmpty());
}

// The host's pump and clock: a pause lets the window's events run, keeps the core
// mostly idle and ends when the window closes.
TEST_F(UiClosing, HostPauseIdlesAndEndsWhenTheWindowCloses) {
  CoreEventPump pump;
  SteadyClock clock;
  Tenzor tz(Services{p.fs, p.dialogs, pump, p.busy, clock, p.facts, p.processes, p.exit});
  MainWindow host_window(tz);
  host_window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_window));
  QTimer::singleShot(300, &host_window, &QWidget::close);

  QElapsedTimer wall;
  wall.start();
  const std::clock_t cpu_start = std::clock();
  tz.common().pause_seconds(20);
  const double cpu = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  const double elapsed = static_cast<double>(wall.elapsed()) / 1000;

  EXPECT_FALSE(host_window.isVisible());
  EXPECT_TRUE(tz.globals().GLB_closing);
  EXPECT_GE(elapsed, 0.25);  // the close came from an event turn during the pause
  EXPECT_LT(elapsed, 10.0);
  // A sleeping pause uses about a millisecond of processor time here; one that spins
  // uses all the time it gets, even on a busy machine far more than a tenth.
  EXPECT_LT(cpu, elapsed / 10) << cpu << " s of processor time in " << elapsed << " s";
}

}  // namespace
}  // namespace tz::test
