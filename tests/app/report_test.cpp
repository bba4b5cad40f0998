#include "app/report.h"

#include <gtest/gtest.h>

#include <QFile>

#include "core/common.h"
#include "platform/file_error.h"
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
  int run(const QString& line, bool all = false) {
    p.facts.line = line;
    out.clear();
    return run_report(p.tz, all, {}, out);
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
  EXPECT_EQ(run("C:\\one|D:\\two", true), report_status::differs);
  EXPECT_TRUE(out.contains("newer in dir 1\tnew1.txt\naligned\tsame.txt\nonly in dir 2\ta2.txt\n"));
  // Nothing at all is written: no history, no data folder.
  EXPECT_FALSE(p.tz.common().file_exists("C:\\windows"));
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
  p.dialogs.expect(invalid);
  EXPECT_EQ(run(QString::fromUtf8("C:\\one \xC2\xA7 D:\\two")), report_status::refused);
  p.dialogs.expect("Path does not exist: D:\\none");
  EXPECT_EQ(run("C:\\one | D:\\none"), report_status::refused);
  p.dialogs.expect("Directory not found or disk drive not ready (C:\\one\\only1.txt | D:\\two)");
  EXPECT_EQ(run("C:\\one\\only1.txt | D:\\two"), report_status::refused);
  p.dialogs.expect_starting("dir1 and dir2 are equal");
  EXPECT_EQ(run("C:\\one | c:\\ONE"), report_status::refused);
  EXPECT_EQ(out, "");
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
