// Two directories of 100,000 files; a bulk alignment of 10,000 files cancelled
// half-way, then another with the window closed during it. Whatever the lists show as
// aligned is aligned on disk, every other file is where it was, and comparing again
// gives the same lists.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QSet>

#include "align/bulk_align.h"
#include "compare/comparison.h"
#include "support/raw_files.h"
#include "support/test_program.h"

namespace tz::test {
namespace {

constexpr int file_count = 100'000;
constexpr int alone_in_dir1 = 10'000;  // the first names; the rest are in both

QByteArray name_of(int i) {
  return QByteArray("file") + QByteArray::number(i).rightJustified(6, '0') + ".txt";
}

class BulkStress : public ::testing::Test {
 protected:
  void SetUp() override {
    p.drives.make_dir("C:\\one");
    p.drives.make_dir("D:\\two");
    dir1 = p.drives.native("C:\\one");
    dir2 = p.drives.native("D:\\two");
    for (int i = 0; i < file_count; ++i) {
      const QByteArray name = name_of(i);
      write_raw(dir1 + '/' + name, "content of " + name, TestProgram::t0);
      if (i >= alone_in_dir1) write_raw(dir2 + '/' + name, "content of " + name, TestProgram::t0);
    }
    p.compare();
    ASSERT_EQ(p.list(1).size(), alone_in_dir1);
    ASSERT_EQ(p.list(5).size(), file_count - alone_in_dir1);
  }

  // What the lists say agrees with the disk: an aligned name has the same bytes on both
  // sides, a name only in dir 1 is there alone, and no copy left a file half-made.
  void check_disk_agrees() {
    const QStringList listed = QDir(QString::fromUtf8(dir2)).entryList(QDir::Files | QDir::Hidden);
    const QSet<QString> in_dir2(listed.begin(), listed.end());
    for (const QString& name : p.list(1))
      ASSERT_FALSE(in_dir2.contains(name)) << name.toStdString();
    for (const QString& name : p.list(5)) ASSERT_TRUE(in_dir2.contains(name)) << name.toStdString();
    EXPECT_EQ(in_dir2.size(), p.list(5).size());  // nothing else, no temporary file
    for (int i = 0; i < alone_in_dir1; ++i) {
      const QString name = QString::fromLatin1(name_of(i));
      if (!in_dir2.contains(name)) continue;
      QFile copy(QString::fromUtf8(dir2 + '/' + name_of(i)));
      ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
      ASSERT_EQ(copy.readAll(), "content of " + name_of(i));
    }
  }

  // Compared again, the lists are what they were.
  void check_comparison_agrees() {
    const QStringList only1 = p.list(1), aligned = p.list(5);
    p.tz.globals().GLB_closing = false;
    p.tz.comparison().bot_compare_Click();
    EXPECT_EQ(p.list(1), only1);
    EXPECT_EQ(p.list(5), aligned);
  }

  TestProgram p;
  QByteArray dir1, dir2;
};

TEST_F(BulkStress, CancelledAndClosedAlignmentsLeaveListsAndDiskInAgreement) {
  QElapsedTimer timer;
  timer.start();
  // Cancelled half-way: the cancel button is pressed while the events run, which they
  // do after every seventh file, when the copies written take their names.
  p.clock.step = 0.006;
  const FileList& list1 = p.tz.window().List1;
  p.pump.on_events = [&] {
    if (list1.count() <= alone_in_dir1 / 2) p.tz.bulk_align().bot_cancel_Click();
  };
  p.tz.bulk_align().bot_list_Click(ListId::List1);
  EXPECT_LE(list1.count(), alone_in_dir1 / 2);
  EXPECT_GT(list1.count(), alone_in_dir1 / 2 - 7);
  check_disk_agrees();
  check_comparison_agrees();

  // The window closed during another.
  const int left = list1.count();
  p.pump.on_events = [&] {
    if (list1.count() <= left - 1'000) p.tz.globals().GLB_closing = true;
  };
  p.tz.bulk_align().bot_list_Click(ListId::List1);
  EXPECT_LE(list1.count(), left - 1'000);
  EXPECT_GT(list1.count(), left - 1'000 - 7);
  p.pump.on_events = nullptr;
  check_disk_agrees();
  check_comparison_agrees();
  std::fprintf(stderr, "bulk stress: %lld ms\n", timer.elapsed());
}

}  // namespace
}  // namespace tz::test
