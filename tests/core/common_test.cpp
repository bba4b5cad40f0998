#include "core/common.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include "core/startup.h"
#include "support/program.h"

namespace tz::test {
namespace {

TEST(Common, FileExistsAnswersForEveryKindOfEntryAndNeverFails) {
  CoreProgram p({u'C'}, {u'E'});
  p.drives.make_dir("C:\\dir");
  p.drives.write_file("C:\\dir\\.hidden", "x");
  p.drives.write_file("C:\\dir\\plain.txt", "x");
  Common& c = p.tz.common();
  EXPECT_FALSE(c.file_exists("   "));
  EXPECT_TRUE(c.file_exists("C:\\dir"));
  EXPECT_TRUE(c.file_exists("c:\\DIR\\.HIDDEN"));
  EXPECT_TRUE(c.file_exists("C:\\dir\\plain.txt"));
  EXPECT_FALSE(c.file_exists("C:\\dir\\none.txt"));
  EXPECT_FALSE(c.file_exists("E:\\anything"));  // a drive without a medium
  EXPECT_FALSE(c.file_exists("Q:\\anything"));  // a drive not in the table
  EXPECT_FALSE(c.file_exists("not a path"));
}

TEST(Common, PauseSleepsBetweenShortEventTurnsUntilTheTimeHasPassedOrTheWindowCloses) {
  CoreProgram p;
  Common& c = p.tz.common();
  c.pause_seconds(0);
  c.pause_seconds(-1);
  EXPECT_EQ(p.pump.calls, 0);

  p.clock.now = 86399.5;  // the monotonic clock knows no midnight
  p.clock.step = 0.001;   // every reading takes a little time, as a real event turn does
  c.pause_seconds(1);
  EXPECT_GE(p.clock.now - 86399.5, 1.0);
  // The core sleeps nearly all the second, never so long that the window stops answering.
  double slept = 0;
  for (double s : p.clock.sleeps) {
    EXPECT_GT(s, 0);
    EXPECT_LE(s, 0.05);
    slept += s;
  }
  EXPECT_GE(slept, 0.9);
  EXPECT_LE(slept, 1.0 + 1e-9);  // the last sleep ends with the pause
  // Events run before the first sleep, between any two and after the last.
  EXPECT_EQ(p.pump.calls, static_cast<int>(p.clock.sleeps.size()) + 1);
  EXPECT_GE(p.pump.calls, 20);

  // The window closed during the third event turn: the pause ends there.
  p.pump.calls = 0;
  p.clock.sleeps.clear();
  p.pump.on_events = [&p] {
    if (p.pump.calls == 3) p.tz.globals().GLB_closing = true;
  };
  const double start = p.clock.now;
  c.pause_seconds(2);
  EXPECT_EQ(p.pump.calls, 3);
  EXPECT_EQ(p.clock.sleeps.size(), 2u);
  EXPECT_LT(p.clock.now - start, 0.2);
}

// The data folder itself: the history's tests.
TEST(Common, StartUpSetsTheGlobals) {
  CoreProgram p;
  p.facts.frame = 450;
  start_up(p.tz);
  EXPECT_EQ(p.tz.globals().GLB_caption_extra, 45);
  EXPECT_TRUE(p.tz.globals().GLB_loading);
  EXPECT_EQ(p.tz.globals().GLB_crlf, "\r\n");

  // No window frame at all (offscreen): no correction.
  p.facts.frame = 0;
  start_up(p.tz);
  EXPECT_EQ(p.tz.globals().GLB_caption_extra, 0);
}

}  // namespace
}  // namespace tz::test
