#include "tree/results.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>

#include "support/test_program.h"

namespace tz::test {
namespace {

// The report of two one-sided branches, with the current directory C:\work.
class ResultsLog : public ::testing::Test {
 protected:
  void SetUp() override {
    report() = "\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z";
    p.drives.make_dir("C:\\work");
    p.facts.cwd = "C:\\work";
  }
  QString& report() { return p.tz.globals().GLB_mismatch_text; }
  QByteArray content(const QString& drive_path) {
    QFile file(p.drives.host_path(drive_path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  // Saves and returns the heading line the log should start with; a minute may turn
  // meanwhile, so the time after saving is taken when the file says so.
  QByteArray save_and_expected_heading(const QString& log) {
    const QDateTime before = QDateTime::currentDateTime();
    results.b_save_notepad_Click();
    auto heading = [](const QDateTime& t) {
      const QLocale locale = QLocale::system();
      return ("TENZOR.LOG " + locale.toString(t.date(), QLocale::ShortFormat) + " " +
              locale.toString(t.time(), QLocale::ShortFormat))
          .toUtf8();
    };
    const QByteArray early = heading(before);
    return content(log).startsWith(early + "\r\n") ? early : heading(QDateTime::currentDateTime());
  }

  TestProgram p;
  Results results{p.tz.context()};
};

TEST_F(ResultsLog, ShownWithoutTheOpeningLineBreakKeptByProceedAndEmptiedByCancel) {
  EXPECT_EQ(results.shown_text(), "Only in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z");
  results.b_proceed_Click();
  EXPECT_EQ(report(), "\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z");
  results.b_cancel_Click();
  EXPECT_TRUE(report().isEmpty());
}

TEST_F(ResultsLog, SavedInTheCurrentDirectoryReplacingTheLastThenBeepsAndOpens) {
  p.drives.write_file("C:\\work\\tenzor.log", "an older log that was longer than the new one");
  int beeps_before_opening = -1;
  p.processes.on_open = [&](const QString&) { beeps_before_opening = p.processes.beeps; };

  const QByteArray heading = save_and_expected_heading("C:\\work\\tenzor.log");
  EXPECT_EQ(content("C:\\work\\tenzor.log"),
            heading + "\r\n\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z\r\n");
  EXPECT_EQ(p.processes.beeps, 3);
  EXPECT_EQ(beeps_before_opening, 3);
  EXPECT_EQ(p.processes.opened, std::vector<QString>{p.drives.host(u'C') + "/work/tenzor.log"});

  report() = "\r\nOnly in tree 2: D:\\b\\é";
  const QByteArray second = save_and_expected_heading("C:\\work\\tenzor.log");
  EXPECT_EQ(content("C:\\work\\tenzor.log"),
            second + "\r\n\r\nOnly in tree 2: D:\\b\\\xc3\xa9\r\n");
  // Replaced in place: no second file, no temporary left behind.
  EXPECT_EQ(QDir(p.drives.host(u'C') + "/work").entryList(QDir::Files | QDir::Hidden),
            QStringList{"tenzor.log"});
}

TEST_F(ResultsLog, LogThatCannotBeWrittenIsSaidWithoutBeepsOrEditor) {
  p.drives.write_file("C:\\work\\tenzor.log", "kept");
  p.drives.set_read_only("C:\\work\\tenzor.log", true);
  p.dialogs.expect("Error 75 - Path/File access error");
  results.b_save_notepad_Click();
  EXPECT_EQ(content("C:\\work\\tenzor.log"), "kept");
  EXPECT_EQ(p.processes.beeps, 0);
  EXPECT_TRUE(p.processes.opened.empty());
}

TEST_F(ResultsLog, EditorThatCannotStartIsSaidOnceTheLogIsSaved) {
  p.facts.cwd = "C:\\";
  p.processes.open_succeeds = false;
  p.dialogs.expect("The text editor could not be started for C:\\tenzor.log.");
  results.save_in_notepad("");
  EXPECT_TRUE(content("C:\\tenzor.log").endsWith("\r\n\r\n"));
  EXPECT_EQ(p.processes.beeps, 3);
}

}  // namespace
}  // namespace tz::test
