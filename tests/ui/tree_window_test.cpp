#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include "window_fixture.h"

namespace tz::test {
namespace {

using TreeWindow = WindowTest;

// The whole tree comparison in the real window: the report window over it, then a stop
// at the branch that differs, "next subdir", and the end at the roots.
TEST_F(TreeWindow, ReportWindowThenStopsAtTheDifferingBranchUntilNextSubdir) {
  p.drives.make_dir("C:\\one\\x");
  p.drives.write_file("C:\\one\\sub\\f.txt", "f", t0);
  p.drives.make_dir("D:\\two\\sub");
  show_pair();
  QString shown;
  QTimer::singleShot(10, [&shown] {
    auto* report = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(report, nullptr);
    shown = report->windowTitle();
    QTest::mouseClick(report->findChild<QPushButton*>("b_proceed"), Qt::LeftButton);
  });
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  QTest::mouseClick(find<QPushButton>("bot_compare_tree"), Qt::LeftButton);
  EXPECT_EQ(shown, "Tree comparison");

  auto* next = find<QPushButton>("b_next_alignment");
  ASSERT_TRUE(next->isVisible());
  EXPECT_EQ(next->text(), "next subdir");
  EXPECT_EQ(rows_of(list(1)), QStringList{"f.txt"});
  EXPECT_EQ(model().pane1.path(), "C:\\one\\sub");

  p.dialogs.expect("End of tree comparison.");
  QTest::mouseClick(next, Qt::LeftButton);
  EXPECT_FALSE(next->isVisible());
  EXPECT_EQ(model().pane1.path(), "C:\\one");
  EXPECT_EQ(model().pane2.path(), "D:\\two");
}

}  // namespace
}  // namespace tz::test
