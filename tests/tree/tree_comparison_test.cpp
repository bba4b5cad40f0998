// The tree comparison: the walk that pairs the branches of two trees, then the offers,
// the report and the step-through.
#include "tree/tree_comparison.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "compare/panes.h"
#include "platform/file_error.h"
#include "platform/host_file_system.h"
#include "support/fakes.h"
#include "support/temp_drives.h"
#include "support/tree_program.h"
#include "tree/branch_table.h"

namespace tz::test {
namespace {

// Two trees, C:\one and D:\two, in the panes.
class Trees : public ::testing::Test {
 protected:
  Trees() {
    p.drives.make_dir("C:\\one");
    p.drives.make_dir("D:\\two");
    QObject::connect(&p.tz.window(), &WindowModel::results_requested, [this] {
      shown_report = p.tz.globals().GLB_mismatch_text;
      if (cancel_report) p.tz.globals().GLB_mismatch_text.clear();
    });
  }
  TreeComparison& tree() { return p.tz.tree(); }
  WindowModel& w() { return p.tz.window(); }
  void dir(std::initializer_list<QString> paths) {
    for (const QString& path : paths) p.drives.make_dir(path);
  }
  void put(const QString& path, qint64 mtime = TreeProgram::t0) {
    p.drives.write_file(path, "x", mtime);
  }
  bool is_dir(const QString& path) { return QFileInfo(p.drives.host_path(path)).isDir(); }
  void compare_trees() {
    p.open_panes("C:\\one", "D:\\two");
    tree().bot_compare_tree_Click();
  }
  QStringList panes() { return {w().pane1.path(), w().pane2.path()}; }

  TreeProgram p;
  QString shown_report;
  bool cancel_report = false;
};

TEST_F(Trees, ARefusedBranchIsReportedAFlaggedOneIsNotAndACancelledReportEndsTheRun) {
  // What lies in a refused branch, and tree 2's own branches: the hostile trees' tests.
  dir({"C:\\one\\x", "C:\\one\\kept"});
  put("C:\\one\\kept\\_no_tenzor.flg");  // flagged: neither offered nor reported
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  cancel_report = true;
  compare_trees();
  EXPECT_EQ(shown_report, "\r\nOnly in tree 1: C:\\one\\x");
  EXPECT_FALSE(is_dir("D:\\two\\x"));
  EXPECT_FALSE(w().b_next_alignment.visible());
}

TEST_F(Trees, ABranchThatCannotBeMadeIsSaidAndReportedAndCancelStopsEverything) {
  dir({"C:\\one\\x\\y", "C:\\one\\w"});
  // A medium that refuses it.
  p.fs.fault = [](const QString& op, const QString&) {
    if (op == "make_directory") throw FileError(err::permission_denied);
  };
  p.dialogs.expect("Path D:\\two\\w does not exist. Do you want to create it?", Answer::Yes);
  p.dialogs.expect("Error 70 - Permission denied");
  // Cancel: no report window, no step-through, the pointer back to normal.
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::Cancel);
  shown_report.clear();
  compare_trees();
  EXPECT_EQ(shown_report, "");
  EXPECT_TRUE(tree().branches().empty());
  EXPECT_FALSE(p.busy.busy);
  EXPECT_FALSE(w().b_next_alignment.visible());
}

TEST_F(Trees, AFlaggedRootIsComparedAsAPair) {
  dir({"C:\\one\\sub"});
  put("D:\\two\\_no_tenzor.flg");
  put("C:\\one\\f.txt");
  compare_trees();
  EXPECT_EQ(tree().branches().size(), 1u);
  EXPECT_EQ(p.list(1), QStringList{"f.txt"});
  EXPECT_FALSE(w().b_next_alignment.visible());
  EXPECT_FALSE(p.tz.globals().GLB_tree_mode);
}

TEST_F(Trees, AWindowClosedDuringTheWalkEndsTheComparisonWithTheDefaultPointer) {
  dir({"C:\\one\\a"});
  p.open_panes("C:\\one", "D:\\two");
  p.pump.on_events = [this] { p.tz.globals().GLB_closing = true; };
  tree().bot_compare_tree_Click();
  EXPECT_FALSE(p.busy.busy);
}

// A comparison that stops on an error, or a branch its path cannot reach, is said and
// waits for the user: it never passes for aligned.
TEST_F(Trees, ABranchThatCannotBeComparedStopsTheStepThrough) {
  dir({"C:\\one\\a", "D:\\two\\a"});
  int listings = 0, fail_from = 1;
  QString failing = "C:\\one\\a\\";
  p.fs.fault = [&](const QString& op, const QString& path) {
    if (op == "list" && path == failing && ++listings >= fail_from) throw FileError(err::device_io);
  };
  // Failing in the walk: the branch is said as not compared, and never entered.
  p.dialogs.expect("End of tree comparison.");
  compare_trees();
  EXPECT_EQ(shown_report, "\r\nNot compared: C:\\one\\a (57 Device I/O error)");
  EXPECT_FALSE(tree().all_compared());
  EXPECT_FALSE(p.tz.globals().GLB_tree_mode);

  // Failing in the branch's comparison, after the walk.
  listings = 0;
  fail_from = 2;
  p.dialogs.expect_starting("The comparison stopped at C:\\one\\a\\");
  compare_trees();
  EXPECT_TRUE(w().b_next_alignment.visible());
  EXPECT_EQ(tree().waiting_result(), TreeComparison::BranchResult::failed);

  // Tree 2's side of a branch is read beside tree 1's: its failure counts as much.
  listings = 0;
  failing = "D:\\two\\a\\";
  p.dialogs.expect_starting("The comparison stopped at D:\\two\\a\\");
  compare_trees();
  EXPECT_EQ(tree().waiting_result(), TreeComparison::BranchResult::failed);
  EXPECT_TRUE(p.list(1).isEmpty());

  // The walk too reads tree 2 beside tree 1.
  listings = 0;
  fail_from = 1;
  p.dialogs.expect("End of tree comparison.");
  compare_trees();
  EXPECT_EQ(shown_report, "\r\nNot compared: D:\\two\\a (57 Device I/O error)");
}

// Only what can be made is offered: a missing root whose parent exists, each twin
// under its own name. A side made after the walk is compared when its turn comes.
TEST_F(Trees, WhatCanBeMadeIsOfferedAndWhatWasMadeSinceIsCompared) {
  dir({"C:\\one\\Docs", "C:\\one\\docs"});
  put("C:\\one\\docs\\new.txt");
  p.open_panes("C:\\one", "D:\\two");
  QDir(p.drives.host_path("D:\\two")).removeRecursively();
  p.dialogs.expect("Path D:\\two does not exist. Do you want to create it?", Answer::Yes);
  p.dialogs.expect("Path D:\\two\\Docs does not exist. Do you want to create it?", Answer::Yes);
  p.dialogs.expect("Path D:\\two\\docs does not exist. Do you want to create it?", Answer::No);
  p.dialogs.expect("End of tree comparison.");
  tree().bot_compare_tree_Click();
  EXPECT_TRUE(is_dir("D:\\two\\Docs"));
  EXPECT_EQ(shown_report, "\r\nOnly in tree 1: C:\\one\\docs");
  EXPECT_FALSE(w().b_next_alignment.visible());

  // Made after the report: its branch is compared, its file offered for alignment.
  QObject::connect(&p.tz.window(), &WindowModel::results_requested,
                   [this] { dir({"D:\\two\\docs"}); });
  p.dialogs.expect("Path D:\\two\\docs does not exist. Do you want to create it?", Answer::No);
  tree().bot_compare_tree_Click();
  EXPECT_EQ(tree().waiting_path1(), "C:\\one\\docs");
  EXPECT_EQ(p.list(1), QStringList{"new.txt"});
}

// The real cause: a drive gone during the step-through is no name a path cannot carry,
// and a tree root that cannot be read is named.
TEST_F(Trees, AFailureSaysItsRealCause) {
  dir({"C:\\one\\a", "D:\\two\\a", "C:\\one\\b", "D:\\two\\b"});
  put("C:\\one\\a\\x.txt");
  put("C:\\one\\b\\x.txt");
  compare_trees();
  ASSERT_TRUE(w().b_next_alignment.visible());
  const QString drive = p.drives.host(u'D');
  ASSERT_TRUE(QDir().rename(drive, drive + ".gone"));
  p.dialogs.expect("Directory not found or disk drive not ready.");
  tree().b_next_alignment_Click();
  EXPECT_EQ(tree().waiting_result(), TreeComparison::BranchResult::failed);
  ASSERT_TRUE(QDir().rename(drive + ".gone", drive));

  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "open" && path == "C:\\one") throw FileError(err::permission_denied);
  };
  p.dialogs.expect(
      "The tree comparison stopped at C:\\one\r\nError: 70 - Permission denied\r\n"
      "Nothing was created or compared: a part of the trees could not be read.");
  compare_trees();
}

TEST_F(Trees, ABranchWhosePathReachesAnotherDirectoryIsNeverComparedAsThat) {
  // "b\c" is one name, and its path names another directory: b's c.
  dir({"C:\\one\\b\\c\\inner", "D:\\two\\b\\c\\inner"});
  put("C:\\one\\b\\c\\inner\\f.txt");
  for (const char* root : {"C:\\one", "D:\\two"})
    ASSERT_TRUE(QDir(p.drives.host_path(root)).mkdir("b\\c"));
  QFile secret(p.drives.host_path("C:\\one") + "/b\\c/secret.txt");
  ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
  p.dialogs.expect(
      "C:\\one\\b\\c cannot be opened by its path: a name in it holds a backslash or bytes "
      "that are not UTF-8. Its files were not compared.");
  compare_trees();
  EXPECT_EQ(tree().waiting_result(), TreeComparison::BranchResult::failed);
  EXPECT_FALSE(p.list(1).contains("secret.txt"));
  tree().b_next_alignment_Click();
  EXPECT_EQ(tree().waiting_path1(), "C:\\one\\b\\c\\inner");
  EXPECT_EQ(p.list(1), QStringList{"f.txt"});
  p.dialogs.expect("End of tree comparison.");
  tree().b_next_alignment_Click();
}

// Two trees, C:\one and D:\two, on private drives.
class Walk : public ::testing::Test {
 protected:
  void SetUp() override {
    drives.make_dir("C:\\one");
    drives.make_dir("D:\\two");
  }

  void walk(const QString& root1 = "C:\\one", const QString& root2 = "D:\\two") {
    walked = walk_trees(
        fs, root1, root2, pump, [&](const QString& text) { shown << text; }, reading);
  }
  // Each branch as "path1 | path2", a side that is missing marked with "-".
  QStringList rows() const {
    QStringList found;
    for (const Branch& b : table)
      found << (b.exists1 ? "" : "-") + b.path1 + " | " + (b.exists2 ? "" : "-") + b.path2;
    return found;
  }
  // Rows `from` to `to` (exclusive) sorted: one level, whose order the host decides.
  QStringList level(qsizetype from, qsizetype to) const {
    QStringList found = rows().mid(from, to - from);
    found.sort();
    return found;
  }

  TempDrives drives{{u'C', u'D'}};
  HostFileSystem fs{drives.table()};
  RecordingPump pump;
  QStringList shown;
  QString reading;
  BranchTable walked;
  std::vector<Branch>& table = walked.branches;
};

TEST_F(Walk, IdenticalTreesGiveTheRootThenEachLevelInListingOrder) {
  for (const char* dir : {"C:\\one\\a\\c", "C:\\one\\b\\c", "D:\\two\\a\\c", "D:\\two\\b\\c"})
    drives.make_dir(dir);
  walk("C:\\one\\", "D:\\two");

  ASSERT_EQ(table.size(), 5u);
  EXPECT_EQ(rows()[0], "C:\\one\\ | D:\\two");
  EXPECT_EQ(level(1, 3), (QStringList{"C:\\one\\a | D:\\two\\a", "C:\\one\\b | D:\\two\\b"}));
  // The next level follows the order of its parents.
  EXPECT_EQ(rows()[3], rows()[1].replace(" |", "\\c |") + "\\c");
  EXPECT_EQ(rows()[4], rows()[2].replace(" |", "\\c |") + "\\c");
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Branch& b = table[i];
    EXPECT_TRUE(b.scanned);
    EXPECT_EQ(walked.dir(i, 1)->path(), b.path1.endsWith(u'\\') ? b.path1 : b.path1 + u'\\');
    EXPECT_EQ(walked.dir(i, 2)->path(), b.path2 + u'\\');
  }
  ASSERT_EQ(shown.size(), 10);
  EXPECT_EQ(shown.mid(0, 2), (QStringList{"checking dir C:\\one", "checking dir D:\\two"}));
  EXPECT_EQ(shown[2], "checking dir " + table[1].path1);
  EXPECT_EQ(shown[3], "checking dir " + table[1].path2);
  EXPECT_EQ(pump.calls, 10);
}

TEST_F(Walk, DotNamesHiddenNamesAndFlaggedPairsAreNotEntered) {
  drives.make_dir("C:\\one\\.cache\\in");
  drives.make_dir("D:\\two\\.hidden\\in");
  // Flagged in tree 1 only, in tree 2 only (another letter case), and a directory of
  // that name, which is no flag.
  drives.write_file("C:\\one\\f\\_no_tenzor.flg", "");
  drives.make_dir("C:\\one\\f\\sub1");
  drives.make_dir("D:\\two\\f\\sub2");
  drives.write_file("D:\\two\\g\\_NO_Tenzor.FLG", "");
  drives.make_dir("D:\\two\\g\\sub");
  drives.make_dir("C:\\one\\h\\_no_tenzor.flg");
  walk();
  EXPECT_EQ(level(1, 4), (QStringList{"-C:\\one\\g | D:\\two\\g", "C:\\one\\f | D:\\two\\f",
                                      "C:\\one\\h | -D:\\two\\h"}));
  EXPECT_EQ(rows().mid(4), QStringList{"C:\\one\\h\\_no_tenzor.flg | -D:\\two\\h\\_no_tenzor.flg"});
  EXPECT_FALSE(shown.contains("checking dir C:\\one\\f"));
}

// Trees of any size: only a handful of directories stay open at a time.
TEST_F(Walk, ManyDirectoriesAreWalkedWithFewFilesOpen) {
  for (const char* root : {"C:\\one", "D:\\two"}) {
    for (int i = 0; i < 50; ++i) {
      const QString group = QStringLiteral("%1\\g%2").arg(QLatin1String(root)).arg(i);
      drives.make_dir(group);
      for (int j = 0; j < 99; ++j) drives.make_dir(group + u'\\' + QString::number(j));
    }
  }
  rlimit usual{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &usual), 0);
  rlimit few = usual;
  few.rlim_cur = 200;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
  walk();
  for (std::size_t i = 0; i < table.size(); i += 97) {
    EXPECT_NE(walked.dir(i, 1), nullptr);
    EXPECT_NE(walked.dir(i, 2), nullptr);
  }
  setrlimit(RLIMIT_NOFILE, &usual);
  EXPECT_EQ(table.size(), 5001u);
  EXPECT_TRUE(std::all_of(table.begin(), table.end(),
                          [](const Branch& b) { return b.exists1 && b.exists2 && b.scanned; }));
}

}  // namespace
}  // namespace tz::test
