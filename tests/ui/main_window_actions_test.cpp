#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QScrollBar>

#include "support/entries.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

class UiCompare : public WindowTest {
 protected:
  void SetUp() override {
    p.drives.write_file("C:\\one\\only1.txt", "a", t0);
    p.drives.write_file("D:\\two\\only2.txt", "b", t0);
    p.drives.write_file("C:\\one\\same.txt", "abc", t0);
    p.drives.write_file("D:\\two\\same.txt", "abc", t0);
    p.drives.write_file("C:\\one\\later.txt", "abc", t0 + 60);
    p.drives.write_file("D:\\two\\later.txt", "abc", t0);
    show_pair();
  }
};

TEST_F(UiCompare, PressingCompareFillsTheListViews) {
  // Before: the file view of both directories.
  EXPECT_EQ(rows_of(list(1)), (QStringList{"later.txt", "only1.txt", "same.txt"}));

  QTest::mouseClick(find<QAbstractButton>("bot_compare"), Qt::LeftButton);

  EXPECT_EQ(rows_of(list(1)), QStringList{"only1.txt"});
  EXPECT_EQ(rows_of(list(2)), QStringList{"only2.txt"});
  EXPECT_EQ(rows_of(list(3)), QStringList{"later.txt"});
  EXPECT_TRUE(rows_of(list(4)).isEmpty());
  EXPECT_EQ(rows_of(list(5)), QStringList{"same.txt"});
  EXPECT_EQ(find<QLabel>("lab_list3")->text(), "newer in dir 1");
  EXPECT_TRUE(find<QWidget>("bot_list1")->isVisible());
}

TEST_F(UiCompare, DirectoryBoxRestoresTheHintHighlightsOpensAndRereadsOnF5) {
  EXPECT_TRUE(model().lab_drag_drop.caption().isEmpty());
  QTest::mouseMove(find<QListView>("Dir2")->viewport(), QPoint(5, 5));
  QTest::mouseMove(find<QListView>("Dir2")->viewport(), QPoint(10, 10));
  EXPECT_EQ(find<QLabel>("lab_drag_drop")->text(),
            "Drag/drop file names over file boxes to align or move files between the directories");

  auto* dir = find<QListView>("Dir1");
  auto row = [dir](int n) { return dir->visualRect(dir->model()->index(n, 0)).center(); };
  EXPECT_EQ(rows_of(dir), (QStringList{"C:\\", "one", "sub"}));
  EXPECT_EQ(model().pane1.highlighted(), 1);
  QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, row(2));
  EXPECT_EQ(model().pane1.highlighted(), 2);
  EXPECT_EQ(model().pane1.path(), "C:\\one");
  // A double click as the system delivers it: a click, then the double click.
  QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, row(0));
  QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, row(0));
  EXPECT_EQ(model().pane1.path(), "C:\\");

  activate();
  p.drives.make_dir("C:\\added");
  QTest::keyClick(window.get(), Qt::Key_F5);
  EXPECT_EQ(rows_of(dir), (QStringList{"C:\\", "added", "one"}));
}

class UiListSync : public WindowTest {
 protected:
  void SetUp() override {
    QStringList names;
    for (int i = 0; i < 300; ++i)
      names.append(QStringLiteral("f%1.txt").arg(i, 3, 10, QChar(u'0')));
    model().List1.assign(text_entries(names));
    show_window();
    view = list(1);
  }
  QPoint row_point(int row) { return view->visualRect(view->model()->index(row, 0)).center(); }
  bool view_selected(int row) {
    return view->selectionModel()->isSelected(view->model()->index(row, 0));
  }
  FileList& entries() { return model().List1; }

  QListView* view = nullptr;
};

TEST_F(UiListSync, SelectionCurrentEntryAndTopRowFollowBothWays) {
  // Focus alone makes no entry current.
  activate();
  view->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(view->hasFocus());
  EXPECT_EQ(entries().current(), -1);

  // From the logic to the view, which writes nothing back.
  entries().set_selected(3, true);
  entries().set_selected(7, true);
  entries().set_current(7);
  QCoreApplication::processEvents();
  EXPECT_TRUE(view_selected(3));
  EXPECT_TRUE(view_selected(7));
  EXPECT_FALSE(view_selected(4));
  EXPECT_EQ(view->currentIndex().row(), 7);
  entries().select_all();
  QCoreApplication::processEvents();
  EXPECT_EQ(view->selectionModel()->selectedIndexes().size(), 300);
  EXPECT_EQ(entries().current(), 7);

  // From the view to the logic.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row_point(0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, row_point(2));
  EXPECT_TRUE(entries().is_selected(0));
  EXPECT_FALSE(entries().is_selected(1));
  EXPECT_TRUE(entries().is_selected(2));
  EXPECT_EQ(entries().current(), 2);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, row_point(4));
  for (int row = 2; row <= 4; ++row) EXPECT_TRUE(entries().is_selected(row)) << row;
  for (int row = 0; row < 6; ++row)
    EXPECT_EQ(entries().is_selected(row), view_selected(row)) << row;
  EXPECT_EQ(entries().current(), 4);

  // Removing the current entry leaves none.
  entries().set_current(5);
  entries().remove_at(5);
  EXPECT_EQ(entries().current(), -1);
  EXPECT_FALSE(view->currentIndex().isValid());

  // The top row, from the logic and from scrolling.
  entries().set_top_index(120);
  EXPECT_EQ(view->indexAt(QPoint(0, 0)).row(), 120);
  view->verticalScrollBar()->setValue(40);
  EXPECT_EQ(entries().top_index(), 40);
}

class UiDrives : public WindowTest {
 protected:
  UiDrives() : WindowTest({u'C', u'D', u'E'}) {}
};

TEST_F(UiDrives, RefusedDriveShowsTheErrorAndTheBoxReturnsWhileAnotherOpensItsRoot) {
  p.drives.make_dir("D:\\two");
  p.open_panes("C:\\", "D:\\two");
  show_window();
  // E: loses its medium.
  ASSERT_TRUE(QDir(p.drives.host(u'E')).removeRecursively());
  auto* drive = find<QComboBox>("Drive2");
  EXPECT_EQ(drive->currentText(), "d:");

  drive->setFocus();
  p.dialogs.expect("71 Disk not ready");
  QTest::keyClick(drive, Qt::Key_Down);
  ASSERT_EQ(p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(drive->currentText(), "d:");
  EXPECT_EQ(model().pane2.drive(), u'D');
  EXPECT_EQ(model().pane2.path(), "D:\\two");

  QTest::keyClick(drive, Qt::Key_Up);
  EXPECT_EQ(drive->currentText(), "c:");
  EXPECT_EQ(model().pane2.path(), "C:\\");
  EXPECT_EQ(rows_of(find<QListView>("Dir2")).value(0), "C:\\");
  EXPECT_EQ(p.dialogs.texts().size(), 1u);
}

using UiExit = WindowTest;

// The exit button is pressed in the closing tests.
TEST_F(UiExit, ExitMenuEntryClosesTheWindow) {
  show_window();
  window->menu_entry("exit")->trigger();
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tz::test
