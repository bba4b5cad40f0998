#include "app/report.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/file_error.h"
#include "support/raw_files.h"
#include "support/test_program.h"

namespace tz::test {
namespace {

class Report : public ::testing::Test {
 protected:
  Report() {
    p.drives.write_file("C:\\one\\only1.txt", "a", 1'700'000'000);
    p.drives.write_file("C:\\one\\Same.txt", "s", 1'700'000'000);
    p.drives.write_file("C:\\one\\new1.txt", "n", 1'700'000'100);
    p.drives.write_file("D:\\two\\same.txt", "s", 1'700'000'001);
    p.drives.write_file("D:\\two\\new1.txt", "n", 1'700'000'000);
    p.drives.write_file("D:\\two\\b2.txt", "b", 1'700'000'000);
    p.drives.write_file("D:\\two\\a2.txt", "a", 1'700'000'000);
  }
  int run(const QString& line, ReportOptions options = {}) {
    p.facts.line = line;
    out.clear();
    return run_report(p.tz, options, {}, out);
  }
  // A file named by exact bytes: the drive helpers take text.
  void raw_file(const QString& dir, const QByteArray& name) {
    write_raw(QFile::encodeName(p.drives.host_path(dir)) + '/' + name);
  }

  TestProgram p;
  QByteArray out;
};

TEST_F(Report, WritesOneLinePerEntryInListOrderAndTellsWhetherAnythingDiffers) {
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::differs);
  EXPECT_EQ(out,
            "only in dir 1\tonly1.txt\n"
            "newer in dir 1\tnew1.txt\n"
            "only in dir 2\ta2.txt\n"
            "only in dir 2\tb2.txt\n");
}

// A script acts on the names it reads: they must reach the files as they are on disk,
// not as the lists show them.
TEST_F(Report, NamesAreTheFilesExactNamesDir1sWhereBothExist) {
  p.drives.write_file("C:\\one\\Only.TXT", "o", 1'700'000'000);
  p.drives.write_file("C:\\one\\Pair.TXT", "p", 1'700'000'000);
  p.drives.write_file("D:\\two\\pAIR.txt", "p", 1'700'000'100);
  EXPECT_EQ(run("C:\\one | D:\\two", {.all = true}), report_status::differs);
  EXPECT_EQ(out,
            "only in dir 1\tOnly.TXT\n"
            "only in dir 1\tonly1.txt\n"
            "newer in dir 1\tnew1.txt\n"
            "aligned\tSame.txt\n"
            "newer in dir 2\tPair.TXT\n"
            "only in dir 2\ta2.txt\n"
            "only in dir 2\tb2.txt\n");
}

// One line, one whole name, and `printf '%b'` gives the exact bytes back. The command's
// own test reads them back, records ended by NUL too, and sees that nothing is written.
TEST_F(Report, NamesALineCannotHoldAreEscaped) {
  for (const char* gone : {"C:\\one\\only1.txt", "C:\\one\\new1.txt", "C:\\one\\Same.txt",
                           "D:\\two\\same.txt", "D:\\two\\new1.txt", "D:\\two\\b2.txt"})
    ASSERT_TRUE(QFile::remove(p.drives.host_path(gone)));
  for (const QByteArray& name :
       {QByteArray("a\tb"), QByteArray("c\nd"), QByteArray("e\\f"), QByteArray("caf\xE9"),
        QByteArray("g\rh"), QByteArray("k\x01\x1F\x7Fl"), QByteArray("m\xC2\x85n"),
        QByteArray("\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80"), QByteArray("p\xE2\x82"),
        QByteArray("q\xC0\xAF")})
    raw_file("C:\\one", name);
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::differs);
  QList<QByteArray> lines = out.split('\n');
  EXPECT_EQ(lines.takeLast(), "");
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(
      lines,
      (QList<QByteArray>{
          "only in dir 1\ta\\tb", "only in dir 1\tc\\nd", "only in dir 1\tcaf\\xE9",
          "only in dir 1\te\\\\f", "only in dir 1\tg\\rh", "only in dir 1\tk\\x01\\x1F\\x7Fl",
          "only in dir 1\tm\\xC2\\x85n", "only in dir 1\tp\\xE2\\x82", "only in dir 1\tq\\xC0\\xAF",
          "only in dir 1\t\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80", "only in dir 2\ta2.txt"}));
}

TEST_F(Report, APairThatDiffersOnlyInTimesDiffers) {
  for (const char* gone : {"C:\\one\\only1.txt", "D:\\two\\b2.txt", "D:\\two\\a2.txt"})
    ASSERT_TRUE(QFile::remove(p.drives.host_path(gone)));
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::differs);
  EXPECT_EQ(out, "newer in dir 1\tnew1.txt\n");
  p.drives.set_mtime("D:\\two\\new1.txt", 1'700'000'100);
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::aligned);
  EXPECT_EQ(out, "");
}

TEST_F(Report, PairsThatCannotBeComparedAnswerTwoWithTheWindowsMessage) {
  const QString invalid =
      "Invalid call line format.\r\nUsage: <drive:\\path 1> | <drive:\\path 2> ";
  p.dialogs.expect(invalid);
  EXPECT_EQ(run("C:\\one D:\\two"), report_status::refused);
  p.dialogs.expect("Directory not found or disk drive not ready (C:\\one\\only1.txt | D:\\two)");
  EXPECT_EQ(run("C:\\one\\only1.txt | D:\\two"), report_status::refused);
  p.dialogs.expect_starting("dir1 and dir2 are equal");
  EXPECT_EQ(run("C:\\one | c:\\ONE"), report_status::refused);
  EXPECT_EQ(out, "");
}

// Trees: the one-sided branches first, then each branch that differs, in the order the
// step-through meets them; nothing is created.
TEST_F(Report, TreesGiveTheirOneSidedBranchesThenEachBranchThatDiffers) {
  const QString trees = QString::fromUtf8("C:\\one \xC2\xA7 D:\\two");
  p.drives.make_dir("C:\\one\\x");
  p.drives.make_dir("D:\\two\\z");
  p.drives.write_file("C:\\one\\Sub\\f.txt", "f", 1'700'000'000);
  p.drives.write_file("D:\\two\\sub\\f.txt", "f", 1'700'000'000);
  p.drives.write_file("D:\\two\\sub\\g.txt", "g", 1'700'000'000);
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  EXPECT_EQ(run(trees, {.all = true}), report_status::differs);
  QByteArray lines = out;
  EXPECT_TRUE(
      lines.startsWith("Only in tree 1: C:\\one\\x\nOnly in tree 2: D:\\two\\z\n"
                       "== C:\\one <-> D:\\two\n"
                       "only in dir 1\tonly1.txt\n"))
      << out.toStdString();
  EXPECT_TRUE(
      lines.endsWith("== C:\\one\\Sub <-> D:\\two\\sub\n"
                     "aligned\tf.txt\n"
                     "only in dir 2\tg.txt\n"))
      << out.toStdString();
  EXPECT_FALSE(QFileInfo::exists(p.drives.host_path("D:\\two\\x")));

  // Aligned trees answer 0 with no line at all.
  p.drives.make_dir("D:\\two\\x");
  p.drives.make_dir("C:\\one\\z");
  for (const char* gone : {"C:\\one\\only1.txt", "C:\\one\\new1.txt", "D:\\two\\b2.txt",
                           "D:\\two\\a2.txt", "D:\\two\\new1.txt", "D:\\two\\sub\\g.txt"})
    ASSERT_TRUE(QFile::remove(p.drives.host_path(gone)));
  EXPECT_EQ(run(trees), report_status::aligned);
  EXPECT_EQ(out, "");

  // A branch that cannot be compared leaves the answer incomplete.
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path.endsWith("sub\\f.txt")) throw FileError(err::device_io);
  };
  p.dialogs.expect_starting("The comparison stopped at D:\\two\\sub\\f.txt");
  EXPECT_EQ(run(trees), report_status::refused);
}

// The walk's listings stand for the comparisons only in the directories they listed: a
// branch or a tree put in another's place once the walk is over is compared, or said,
// as it is now.
TEST_F(Report, TreesReplacedAfterTheWalkAreComparedAsTheyAreNow) {
  const QString trees = QString::fromUtf8("C:\\one \xC2\xA7 D:\\two");
  p.drives.write_file("C:\\one\\sub\\f.txt", "f", 1'700'000'000);
  p.drives.write_file("D:\\two\\sub\\f.txt", "f", 1'700'000'000);
  p.drives.make_dir("C:\\one\\x");  // said: the results are asked for after the walk
  QString replaced;                 // moved aside there, and made again with g.txt only
  QObject::connect(&p.tz.window(), &WindowModel::results_requested, [&] {
    const QString host = p.drives.host_path(replaced);
    ASSERT_TRUE(QDir().rename(host, host + ".old"));
    p.drives.write_file(replaced + "\\g.txt", "g", 1'700'000'000);
  });
  const auto refused_x = [this] {
    p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  };

  replaced = "D:\\two\\sub";
  refused_x();
  EXPECT_EQ(run(trees), report_status::differs);
  EXPECT_TRUE(
      out.endsWith("== C:\\one\\sub <-> D:\\two\\sub\n"
                   "only in dir 1\tf.txt\n"
                   "only in dir 2\tg.txt\n"))
      << out.toStdString();
  ASSERT_TRUE(QDir(p.drives.host_path(replaced) + ".old").removeRecursively());

  // The trees' roots held since the walk are no longer where their paths lead.
  replaced = "D:\\two";
  refused_x();
  p.dialogs.expect("Directory not found or disk drive not ready.");
  p.dialogs.expect("Directory not found or disk drive not ready.");
  EXPECT_EQ(run(trees), report_status::refused);
  EXPECT_EQ(out, "Only in tree 1: C:\\one\\x\n");
}

TEST_F(Report, ComparisonThatStopsEarlyIsNoAnswer) {
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path.endsWith("new1.txt")) throw FileError(err::file_not_found);
  };
  p.dialogs.expect(
      "The comparison stopped at C:\\one\\new1.txt\r\nError: 53 - File not found\r\n"
      "The lists stay empty: nothing can be aligned from a comparison that did not finish.");
  p.dialogs.expect("The comparison stopped early: a file could not be read. No report was made.");
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::refused);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace tz::test
