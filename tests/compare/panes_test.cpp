#include "compare/panes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include "compare/comparison.h"
#include "compare/pair_opener.h"
#include "platform/file_error.h"
#include "support/compare_program.h"

namespace tz::test {
namespace {

class PanesTest : public ::testing::Test {
 protected:
  PanesTest() : p({u'C', u'D'}, {u'E'}) {}
  void SetUp() override {
    p.drives.write_file("C:\\a.txt", "x");
    p.drives.make_dir("C:\\data");
    p.drives.write_file("C:\\data\\in data.txt", "x");
    p.drives.write_file("D:\\d.txt", "x");
    p.drives.make_dir("D:\\b");
    p.drives.write_file("D:\\b\\b.txt", "x");
    p.open_panes("C:\\", "D:\\");
  }

  CompareProgram p;
};

TEST_F(PanesTest, DriveThatCannotBeSelectedGoesBackRefreshKeepsTheListsAndAnotherOpens) {
  // F: is in no table, E: has no medium (its folder is missing).
  p.tz.comparison().bot_compare_Click();
  const QStringList only1 = p.list(1);
  p.dialogs.expect("68 Device unavailable");
  p.tz.panes().set_drive(1, u'F');
  p.dialogs.expect("71 Disk not ready");
  p.tz.panes().set_drive(2, u'E');
  EXPECT_EQ(p.tz.window().pane1.drive(), u'C');
  EXPECT_EQ(p.tz.window().pane2.drive(), u'D');
  EXPECT_EQ(p.tz.window().pane2.path(), "D:\\");
  EXPECT_EQ(p.list(1), only1);
  EXPECT_EQ(p.tz.window().lab_list1.caption(), "only in dir 1");
  // A refresh rereads the directory boxes and keeps the lists.
  p.drives.make_dir("C:\\new");
  p.tz.panes().m_refresh_Click();
  EXPECT_EQ(p.list(1), only1);
  EXPECT_EQ(p.tz.globals().GLB_path1, "C:\\");
  EXPECT_TRUE(p.tz.window().pane1.subdirectories().contains("C:\\new"));

  // A drive that can be selected: for dir 1 the panes show files, for dir 2 the lists empty.
  p.tz.panes().set_drive(1, u'D');
  EXPECT_EQ(p.tz.window().lab_list1.caption(), "files in dir 1");
  EXPECT_EQ(p.tz.window().lab_list2.caption(), "files in dir 2");
  EXPECT_EQ(p.tz.window().lab_list3.caption(), "");
  EXPECT_EQ(p.list(1), QStringList{"d.txt"});
  EXPECT_EQ(p.list(2), QStringList{"d.txt"});
  EXPECT_EQ(p.tz.globals().GLB_path1, "D:\\");

  p.tz.panes().set_drive(2, u'C');
  for (int n = 1; n <= 5; ++n) EXPECT_TRUE(p.list(n).isEmpty()) << n;
  EXPECT_EQ(p.tz.globals().GLB_path2, "C:\\");
}

TEST_F(PanesTest, HiddenSubdirectoryStandsInAlphabeticalPlace) {
  p.drives.make_dir("C:\\data\\alpha");
  p.drives.make_dir("C:\\data\\zeta");
  p.drives.make_dir("C:\\data\\.backup");
  p.drives.write_file("C:\\data\\.hiddenfile", "x");
  p.tz.panes().set_directory(1, "C:\\data");
  EXPECT_EQ(p.tz.window().pane1.subdirectories(),
            (QStringList{"C:\\data\\.backup", "C:\\data\\alpha", "C:\\data\\zeta"}));
  // "Backup" sorts after "alpha" once the dot no longer leads.
  p.drives.make_dir("C:\\data\\Backup");
  p.tz.panes().m_refresh_Click();
  EXPECT_EQ(
      p.tz.window().pane1.subdirectories(),
      (QStringList{"C:\\data\\.backup", "C:\\data\\alpha", "C:\\data\\Backup", "C:\\data\\zeta"}));
  EXPECT_EQ(p.list(1), QStringList{"in data.txt"});  // hidden files are never listed
}

// A subdirectory whose name holds a backslash, or bytes that are not UTF-8 (shown as
// \xNN), is listed but not opened by the path it shows: that path names another
// directory, here a real one.
TEST_F(PanesTest, ARowWhosePathNamesAnotherDirectoryIsNotOpened) {
  const QByteArray data = p.drives.native("C:\\data");
  for (const char* name : {"back\\slash", "back", "back/slash", "caf\xE9", "caf\\xE9"})
    ASSERT_EQ(::mkdir((data + '/' + name).constData(), 0755), 0);
  p.tz.panes().set_directory(1, "C:\\data");
  const QStringList rows = p.tz.window().pane1.rows();
  for (const QString shown : {"C:\\data\\back\\slash", "C:\\data\\caf\\xE9"}) {
    p.dialogs.expect(shown +
                     " cannot be opened by its path: a name in it holds a backslash or bytes that "
                     "are not UTF-8.");
    p.tz.panes().open_row(1, static_cast<int>(rows.indexOf(shown)));
    EXPECT_EQ(p.tz.window().pane1.path(), "C:\\data");
  }
  p.tz.panes().open_row(1, static_cast<int>(rows.indexOf("C:\\data\\back")));
  EXPECT_EQ(p.tz.window().pane1.path(), "C:\\data\\back");
}

// The pane reads names only: a file whose status fails costs nothing there. A directory
// whose files cannot be listed leaves the pane, its path and the lists on the old one.
TEST_F(PanesTest, AFailureWhileOpeningAPaneLeavesItAndTheListsOnTheOldDirectory) {
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path == "C:\\data\\in data.txt") throw FileError(err::device_io);
    if (op == "list" && path == "D:\\b\\*.*") throw FileError(err::device_io);
  };
  p.tz.panes().set_directory(1, "C:\\data");
  EXPECT_EQ(p.list(1), QStringList{"in data.txt"});
  EXPECT_EQ(p.tz.globals().GLB_path1, "C:\\data\\");

  const QStringList before = p.list(2);
  p.dialogs.expect("57 Device I/O error");
  p.tz.panes().open_row(2, static_cast<int>(p.tz.window().pane2.rows().indexOf("D:\\b")));
  EXPECT_EQ(p.tz.window().pane2.path(), "D:\\");
  EXPECT_EQ(p.tz.globals().GLB_path2, "D:\\");
  EXPECT_EQ(p.tz.window().listed_dir2->path(), "D:\\");
  EXPECT_EQ(p.list(2), before);
}

TEST_F(PanesTest, OpenDirPairReportsAMissingDirectoryElseOpensAndComparesThePair) {
  p.dialogs.expect("Bad path: D:\\missing");
  p.tz.pair_opener().open_dir_pair("C:\\data <-> D:\\missing", true);
  EXPECT_EQ(p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(p.tz.window().pane1.path(), "C:\\");
  EXPECT_EQ(p.tz.globals().GLB_path1, "C:\\");

  // Silent when not reporting; no separator with blanks: nothing at all.
  p.tz.pair_opener().open_dir_pair("C:\\data <-> D:\\missing", false);
  p.tz.pair_opener().open_dir_pair("C:\\data<->D:\\b", true);
  EXPECT_EQ(p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(p.tz.window().pane1.path(), "C:\\");

  // A pair that exists is opened and compared, whatever the case it is written in.
  p.drives.write_file("D:\\b\\in data.txt", "x");
  p.tz.pair_opener().open_dir_pair("c:\\data <-> d:\\B", true);
  EXPECT_EQ(p.tz.window().pane1.path(), "C:\\data");
  EXPECT_EQ(p.tz.window().pane2.path(), "D:\\b");
  EXPECT_EQ(p.tz.globals().GLB_path2, "D:\\b\\");
  EXPECT_EQ(p.list(5), QStringList{"in data.txt"});
  EXPECT_EQ(p.list(2), QStringList{"b.txt"});
  EXPECT_EQ(p.tz.window().lab_list2.caption(), "only in dir 2");
}

}  // namespace
}  // namespace tz::test
