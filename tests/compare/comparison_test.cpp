#include "compare/comparison.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <ctime>

#include "platform/file_error.h"
#include "support/compare_program.h"

namespace tz::test {
namespace {

constexpr qint64 t0 = CompareProgram::t0;

class Compare : public ::testing::Test {
 protected:
  void SetUp() override {
    p.drives.make_dir("C:\\one");
    p.drives.make_dir("D:\\two");
  }

  CompareProgram p;
};

TEST_F(Compare, SortsEveryNameIntoItsListAndWarnsOfLengthsThatDecide) {
  p.file(1, "only1.txt", "a");
  p.file(2, "only2.txt", "b");
  p.file(1, "same.txt", "abc");
  p.file(2, "same.txt", "abc", t0 + 2);
  p.file(1, "Report.DOC", "abc");
  p.file(2, "report.doc", "abc");
  p.file(1, "later.txt", "a", t0 + 3);
  p.file(2, "later.txt", "abcdef");
  // Lengths 4 GiB apart look equal in 32 bits.
  p.file(1, "big1.txt", "");
  p.file(2, "big1.txt", "");
  ASSERT_EQ(::truncate(p.drives.native("C:\\one\\big1.txt"), (qint64(1) << 32) + 10), 0);
  ASSERT_EQ(::truncate(p.drives.native("D:\\two\\big1.txt"), 10), 0);
  p.drives.set_mtime("C:\\one\\big1.txt", t0);
  p.drives.set_mtime("D:\\two\\big1.txt", t0 - 2);
  p.file(1, "big2.txt", "ab");
  p.file(2, "big2.txt", "abcd");
  // Hidden files and subdirectories take no part.
  p.file(1, ".hidden", "x");
  p.drives.make_dir("D:\\two\\sub");
  // One length warning per pair that differs only in length, none for the others.
  p.dialogs.expect(
      "Warning! files BIG1.TXT have same date/time and different lengths!\n\n"
      "Bytes in dir 1:  4294967306\nBytes in dir 2:  10\n\n"
      "The larger one will be considered newer.");
  p.dialogs.expect(
      "Warning! files BIG2.TXT have same date/time and different lengths!\n\n"
      "Bytes in dir 1:  2\nBytes in dir 2:  4\n\nThe larger one will be considered newer.");

  p.compare();

  EXPECT_EQ(p.dialogs.box(0).icon, Icon::Exclamation);
  EXPECT_EQ(p.dialogs.box(0).title, "Tenzor");
  EXPECT_EQ(p.list(1), QStringList{"only1.txt"});
  EXPECT_EQ(p.list(2), QStringList{"only2.txt"});
  EXPECT_EQ(p.list(3), (QStringList{"big1.txt", "later.txt"}));
  EXPECT_EQ(p.list(4), QStringList{"big2.txt"});
  EXPECT_EQ(p.list(5), (QStringList{"report.doc", "same.txt"}));
  // Each side keeps its own exact name; a name both sides write alike is held once.
  const Entry& report = p.tz.window().List5.at(0);
  EXPECT_EQ(report.side1->name, "Report.DOC");
  EXPECT_EQ(report.side2->name, "report.doc");
  const Entry& same = p.tz.window().List5.at(1);
  EXPECT_TRUE(same.side1->name.isSharedWith(same.side2->name));
  EXPECT_TRUE(p.tz.globals().GLB_difference_found);
  EXPECT_EQ(p.tz.window().lab_list1.caption(), "only in dir 1");
  EXPECT_EQ(p.tz.window().lab_list3.caption(), "newer in dir 1");
  EXPECT_EQ(p.tz.window().lab_drag_drop.caption(),
            "Drag/drop file names over file boxes to align or move files between the directories");
  for (ListId id : aligned_by_button) EXPECT_TRUE(p.tz.window().align_button(id).visible());
  EXPECT_TRUE(p.tz.window().bot_cancel.enabled());
  EXPECT_FALSE(p.busy.busy);
}

// In the hour repeated when summer time ends, local wall-clock times run backwards:
// only times since the epoch tell which file is newer.
TEST_F(Compare, TimesAreComparedAsInstantsNotAsLocalWallClockTimes) {
  const ScopedEnv zone("TZ", "Europe/Berlin");
  const qint64 end_of_summer = 1'698'541'200;  // 2023-10-29 01:00 UTC, 03:00 CEST -> 02:00 CET
  p.file(1, "half.txt", "x", end_of_summer - 1800);  // 02:30 CEST
  p.file(2, "half.txt", "x", end_of_summer);         // 02:00 CET, 30 minutes later
  p.file(1, "hour.txt", "x", end_of_summer - 2700);  // 02:15 CEST
  p.file(2, "hour.txt", "x", end_of_summer + 900);   // 02:15 CET, an hour later

  p.compare();

  EXPECT_EQ(p.list(4), (QStringList{"half.txt", "hour.txt"}));
  EXPECT_TRUE(p.list(3).isEmpty());
  EXPECT_TRUE(p.list(5).isEmpty());
}

TEST_F(Compare, EveryFileOfLargeDirectoriesIsClassified) {
  // More names than the lists ever held in the past: none may be left out.
  for (int i = 0; i < 1500; ++i) {
    const QString name = QStringLiteral("f%1.dat").arg(i, 4, 10, QChar(u'0'));
    p.file(1, name, "x");
    if (i % 3 == 0) p.file(2, name, "x");
    if (i % 3 == 1) p.file(2, name, "x", t0 + 60);
  }
  for (int i = 0; i < 200; ++i) p.file(2, QStringLiteral("g%1.dat").arg(i), "y");

  p.compare();

  EXPECT_EQ(p.list(1).size(), 500);
  EXPECT_EQ(p.list(4).size(), 500);
  EXPECT_EQ(p.list(5).size(), 500);
  EXPECT_EQ(p.list(2).size(), 200);
  EXPECT_TRUE(p.list(3).isEmpty());
  const QStringList only1 = p.list(1);
  EXPECT_TRUE(std::is_sorted(only1.begin(), only1.end()));
}

TEST_F(Compare, ComparisonThatStopsSaysWhyAndListsNothing) {
  p.file(1, "a.txt", "x");
  p.file(2, "a.txt", "x");
  p.file(1, "b.txt", "x");
  p.file(2, "b.txt", "x");
  p.file(2, "c.txt", "x");
  p.open_panes("C:\\one", "D:\\two");
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path.endsWith("b.txt", Qt::CaseInsensitive))
      throw FileError(err::file_not_found);
  };

  p.dialogs.expect(
      "The comparison stopped at C:\\one\\b.txt\r\nError: 53 - File not found\r\n"
      "The lists stay empty: nothing can be aligned from a comparison that did not finish.");

  p.tz.comparison().bot_compare_Click();

  // Half a comparison would list b.txt of dir 2 as "only in dir 2", and aligning that
  // list would copy it over dir 1's.
  ASSERT_EQ(p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(p.dialogs.box(0).icon, Icon::Critical);
  for (int n = 1; n <= 5; ++n) EXPECT_TRUE(p.list(n).isEmpty()) << n;
  EXPECT_FALSE(p.tz.globals().GLB_difference_found);
  EXPECT_FALSE(p.busy.busy);

  // A file on one side only goes to its list whatever its status (EIO on a worn stick,
  // a file removed meanwhile); the action that needs the status fails with its error.
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path == "D:\\two\\c.txt") throw FileError(err::device_io);
  };
  p.tz.comparison().bot_compare_Click();
  EXPECT_EQ(p.list(2), QStringList{"c.txt"});
  EXPECT_EQ(p.list(5), (QStringList{"a.txt", "b.txt"}));

  // A directory that cannot be read is no empty directory (as root, mode 000 would not
  // stop a read: the refusal is injected), on either side.
  for (const char* dir : {"C:\\one\\", "D:\\two\\"}) {
    p.fs.fault = [drive = QString(dir).left(2)](const QString& op, const QString& path) {
      if (op == "list" && path.startsWith(drive)) throw FileError(err::permission_denied);
    };
    p.dialogs.expect_starting(QString("The comparison stopped at ") + dir +
                              "\r\nError: 70 - Permission denied\r\n");
    p.tz.comparison().bot_compare_Click();
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(p.list(n).isEmpty()) << dir << n;
  }
}

}  // namespace
}  // namespace tz::test
