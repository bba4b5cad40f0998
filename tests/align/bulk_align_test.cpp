#include "align/bulk_align.h"

#include <QDir>
#include <QSignalSpy>

#include "align_fixture.h"
#include "compare/panes.h"
#include "platform/file_error.h"

namespace tz::test {
namespace {

class Bulk : public AlignTest {
 protected:
  BulkAlign& bulk() { return p.tz.bulk_align(); }
};

// A whole list aligned entry after entry, none passed over: the exact-files tests' twins.
TEST_F(Bulk, CopiesTheSelectedEntriesOrAllAndStopsWhereItCannotGoOn) {
  for (int i = 1; i <= 4; ++i) p.file(1, QStringLiteral("f%1.txt").arg(i), QByteArray(i, 'x'));
  p.compare();
  p.tz.window().List1.set_selected(1, true);
  p.tz.window().List1.set_selected(3, true);
  QSignalSpy focus(&p.tz.window(), &WindowModel::focus_requested);
  bulk().bot_list_Click(ListId::List1);
  EXPECT_EQ(p.list(1), (QStringList{"f1.txt", "f3.txt", "only1.txt"}));
  EXPECT_EQ(content("D:\\two\\f4.txt"), "xxxx");
  EXPECT_FALSE(exists("D:\\two\\f1.txt") || exists("D:\\two\\f3.txt"));
  EXPECT_EQ(focus.size(), 1);

  // A protected target is one file not copied, with no other program tried for it, and
  // the run goes on with the next.
  for (const QString name : {"g1.txt", "g2.txt"}) {
    p.file(1, name, "newer", t0 + 60);
    p.file(2, name, "older");
  }
  p.compare();
  p.drives.set_read_only("D:\\two\\g1.txt", true);
  const size_t started = p.processes.starts.size();
  p.dialogs.expect("Unable to copy file \"C:\\one\\g1.txt\"");
  const QSet<QByteArray> touched = touched_by([&] { bulk().bot_list_Click(ListId::List3); });
  EXPECT_EQ(touched, (QSet<QByteArray>{"D/two/g2.txt", "D/two/new1.txt"}));
  EXPECT_EQ(p.list(3), QStringList{"g1.txt"});
  EXPECT_EQ(p.processes.starts.size(), started);
  EXPECT_EQ(focus.size(), 2);

  // Should the pair change beneath a run, the run ends rather than copy the files of
  // another directory into the pair or of the pair into another directory.
  for (int i = 5; i <= 7; ++i) p.file(1, QStringLiteral("f%1.txt").arg(i), "x");
  p.drives.make_dir("D:\\elsewhere");
  p.compare();
  p.pump.on_events = [this] { p.tz.panes().set_directory(2, "D:\\elsewhere"); };
  bulk().bot_list_Click(ListId::List1);
  EXPECT_TRUE(exists("D:\\two\\f1.txt"));
  for (const char* later : {"D:\\two\\f5.txt", "D:\\two\\f6.txt", "D:\\two\\f7.txt"})
    EXPECT_FALSE(exists(later)) << later;
  EXPECT_TRUE(QDir(p.drives.host_path("D:\\elsewhere")).isEmpty());
}

// Copies take their names in blocks, at the window's event turns. Cancel pressed at a turn
// stops the run with the lists showing exactly what is on disk, and no file half-made.
TEST_F(Bulk, CancelAtATurnLeavesListsThatMatchTheDisk) {
  for (int i = 1; i <= 6; ++i) p.file(1, QStringLiteral("f%1.txt").arg(i), QByteArray(i, 'x'));
  p.compare();
  p.clock.step = 0.011;  // a turn after every fourth file
  int turns = 0;
  p.pump.on_events = [&] {
    if (++turns == 1) bulk().bot_cancel_Click();
  };
  QSignalSpy focus(&p.tz.window(), &WindowModel::focus_requested);
  bulk().bot_list_Click(ListId::List1);
  EXPECT_FALSE(p.tz.window().bot_cancel.enabled());
  EXPECT_TRUE(focus.isEmpty());  // a cancelled run leaves the focus where it is
  for (int i = 1; i <= 6; ++i) {
    const QString name = QStringLiteral("f%1.txt").arg(i);
    const bool copied = exists("D:\\two\\" + name);
    EXPECT_EQ(copied, i <= 4) << name.toStdString();
    EXPECT_EQ(p.list(1).contains(name), !copied) << name.toStdString();
    EXPECT_EQ(p.list(5).contains(name), copied) << name.toStdString();
  }
  EXPECT_EQ(
      QDir(p.drives.host_path("D:\\two")).entryList(QDir::Hidden | QDir::Files).filter(".tenzor"),
      QStringList());
}

// A batch whose data cannot be flushed gives no copy its name: the entries stay where they
// were, no temporary file is left, and the error is said. So too for a file listed
// although its status could not be read.
TEST_F(Bulk, ABatchThatCannotBeFlushedOrAFileThatCannotBeReadCopiesNothingAndSaysSo) {
  for (int i = 1; i <= 3; ++i) p.file(1, QStringLiteral("f%1.txt").arg(i), "x");
  p.compare();
  const QStringList before = p.list(1);
  p.fs.fault = [](const QString& op, const QString&) {
    if (op == "commit") throw FileError(err::device_io);
  };
  p.dialogs.expect("ERROR 57: Device I/O error");
  bulk().bot_list_Click(ListId::List1);
  EXPECT_EQ(p.list(1), before);
  EXPECT_EQ(QDir(p.drives.host_path("D:\\two")).entryList(QDir::Hidden | QDir::Files),
            (QStringList{"new1.txt", "new2.txt", "only2.txt", "same.txt"}));
  EXPECT_FALSE(p.tz.window().bot_cancel.enabled());

  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path == "D:\\two\\only2.txt") throw FileError(err::device_io);
  };
  p.compare();
  EXPECT_EQ(p.list(2), QStringList{"only2.txt"});
  p.dialogs.expect("ERROR 57: Device I/O error");
  bulk().bot_list_Click(ListId::List2);
  EXPECT_FALSE(QFile::exists(p.drives.host_path("C:\\one\\only2.txt")));
  EXPECT_EQ(p.list(2), QStringList{"only2.txt"});
}

}  // namespace
}  // namespace tz::test
