#include "tree/results.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "support/tree_program.h"
#include "support/tree_snapshot.h"

namespace tz::test {
namespace {

// The report of two one-sided branches, with the current directory C:\work in drive form
// while the process really works in a folder that no drive covers: the log goes there.
class ResultsLog : public ::testing::Test {
 protected:
  void SetUp() override {
    report() = "\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z";
    p.drives.make_dir("C:\\work");
    p.facts.cwd = "C:\\work";
    p.facts.work = work.path();
  }
  QString& report() { return p.tz.globals().GLB_mismatch_text; }
  QString log() const { return work.filePath("tenzor.log"); }
  QByteArray content(const QString& path) { return file_content(path); }
  void write(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
  }
  // Saves and returns the heading line the log should start with; a minute may turn
  // meanwhile, so the time after saving is taken when the file says so.
  QByteArray save_and_expected_heading() {
    const QDateTime before = QDateTime::currentDateTime();
    results.b_save_notepad_Click();
    auto heading = [](const QDateTime& t) {
      const QLocale locale = QLocale::system();
      return ("TENZOR.LOG " + locale.toString(t.date(), QLocale::ShortFormat) + " " +
              locale.toString(t.time(), QLocale::ShortFormat))
          .toUtf8();
    };
    const QByteArray early = heading(before);
    return content(log()).startsWith(early + "\r\n") ? early
                                                     : heading(QDateTime::currentDateTime());
  }

  QTemporaryDir work;
  TreeProgram p;
  Results results{p.tz.context()};
};

TEST_F(ResultsLog, SavedInTheWorkingDirectoryReplacingTheLastThenBeepsAndOpens) {
  write(log(), "an older log that was longer than the new one");
  int beeps_before_opening = -1;
  p.processes.on_open = [&](const QString&) { beeps_before_opening = p.processes.beeps; };

  const QByteArray heading = save_and_expected_heading();
  EXPECT_EQ(content(log()),
            heading + "\r\n\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z\r\n");
  EXPECT_EQ(p.processes.beeps, 3);
  EXPECT_EQ(beeps_before_opening, 3);
  EXPECT_EQ(p.processes.opened, std::vector<QString>{log()});

  report() = "\r\nOnly in tree 2: D:\\b\\é";
  const QByteArray second = save_and_expected_heading();
  EXPECT_EQ(content(log()), second + "\r\n\r\nOnly in tree 2: D:\\b\\\xc3\xa9\r\n");
  // Replaced in place: no second file, no temporary left behind, nothing under the drives.
  EXPECT_EQ(QDir(work.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"tenzor.log"});
  EXPECT_TRUE(QDir(p.drives.host_path("C:\\work")).isEmpty(QDir::Files | QDir::Hidden));
}

TEST_F(ResultsLog, LogThatCannotBeWrittenIsSaidWithItsFolderWithoutBeepsOrEditor) {
  write(log(), "kept");
  ASSERT_TRUE(QFile::setPermissions(log(), QFile::ReadOwner));
  p.dialogs.expect(
      "Error 75 - Path/File access error\r\ntenzor.log could not be saved in the "
      "folder " +
      work.path());
  results.b_save_notepad_Click();
  EXPECT_EQ(content(log()), "kept");

  // A folder whose name holds "\" is not taken for another one.
  ASSERT_TRUE(QDir(work.path()).mkpath("a/b") && QDir(work.path()).mkdir("a\\b"));
  p.facts.work = work.filePath("a\\b");
  p.dialogs.expect(
      "Error 52 - Bad file name or number\r\ntenzor.log could not be saved in the "
      "folder " +
      p.facts.work);
  const QSet<QByteArray> touched =
      touched_by(QFile::encodeName(work.path()), [&] { results.b_save_notepad_Click(); });
  EXPECT_EQ(touched, QSet<QByteArray>{});
  EXPECT_EQ(p.processes.beeps, 0);
  EXPECT_TRUE(p.processes.opened.empty());
}

TEST_F(ResultsLog, EditorThatCannotStartIsSaidOnceTheLogIsSaved) {
  p.processes.open_succeeds = false;
  p.dialogs.expect("The text editor could not be started for " + log() + ".");
  results.save_in_notepad("");
  EXPECT_TRUE(content(log()).endsWith("\r\n\r\n"));
  EXPECT_EQ(p.processes.beeps, 3);
}

}  // namespace
}  // namespace tz::test
