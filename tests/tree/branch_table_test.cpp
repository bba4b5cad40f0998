#include "tree/branch_table.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>

#include "platform/host_file_system.h"
#include "support/fakes.h"
#include "support/temp_drives.h"

namespace tz::test {
namespace {

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
    for (const Branch& b : table) {
      found << (b.exists1 ? "" : "-") + b.path1 + " | " + (b.exists2 ? "" : "-") + b.path2;
    }
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
  for (const char* dir : {"C:\\one\\a\\c", "C:\\one\\b\\c", "D:\\two\\a\\c", "D:\\two\\b\\c"}) {
    drives.make_dir(dir);
  }
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
