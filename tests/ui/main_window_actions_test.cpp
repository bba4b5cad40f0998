#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QScrollBar>

#include "app/texts.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

constexpr qint64 t0 = 1'700'000'000;

QStringList rows_of(const QAbstractItemView* view) {
  QStringList rows;
  const QAbstractItemModel* m = view->model();
  for (int r = 0; r < m->rowCount(); ++r) rows.append(m->index(r, 0).data().toString());
  return rows;
}

class UiCompare : public WindowTest {
 protected:
  void SetUp() override {
    p.drives.make_dir("C:\\one\\sub");
    p.drives.make_dir("D:\\two");
    p.drives.write_file("C:\\one\\only1.txt", "a", t0);
    p.drives.write_file("D:\\two\\only2.txt", "b", t0);
    p.drives.write_file("C:\\one\\same.txt", "abc", t0);
    p.drives.write_file("D:\\two\\same.txt", "abc", t0);
    p.drives.write_file("C:\\one\\later.txt", "abc", t0 + 60);
    p.drives.write_file("D:\\two\\later.txt", "abc", t0);
    p.open_panes("C:\\one", "D:\\two");
    show_window();
  }
  QListView* list(int n) { return find<QListView>(QStringLiteral("List%1").arg(n)); }
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
  EXPECT_EQ(find<QLabel>("lab_list3")->text(), QString::fromUtf8(text::newer_in_dir1));
  EXPECT_TRUE(find<QWidget>("bot_list1")->isVisible());
  EXPECT_TRUE(p.dialogs.boxes.empty());
}

TEST_F(UiCompare, DirectoryBoxHighlightsOnClickAndOpensOnEnterOrDoubleClick) {
  auto* dir = find<QListView>("Dir1");
  EXPECT_EQ(rows_of(dir), (QStringList{"C:\\", "one", "sub"}));
  EXPECT_EQ(model().pane1.highlighted(), 1);

  QTest::mouseClick(dir->viewport(), Qt::LeftButton, {},
                    dir->visualRect(dir->model()->index(2, 0)).center());
  EXPECT_EQ(model().pane1.highlighted(), 2);
  EXPECT_EQ(model().pane1.path(), "C:\\one");
  QTest::keyClick(dir, Qt::Key_Return);
  EXPECT_EQ(model().pane1.path(), "C:\\one\\sub");
  EXPECT_EQ(rows_of(dir), (QStringList{"C:\\", "one", "sub"}));
  EXPECT_EQ(dir->currentIndex().row(), 2);

  // A double click as the system delivers it: a click, then the double click.
  const QPoint root = dir->visualRect(dir->model()->index(0, 0)).center();
  QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, root);
  EXPECT_EQ(model().pane1.path(), "C:\\one\\sub");
  QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, root);
  EXPECT_EQ(model().pane1.path(), "C:\\");
}

TEST_F(UiCompare, PointerOverADirectoryBoxRestoresTheHint) {
  EXPECT_TRUE(model().lab_drag_drop.caption().isEmpty());
  auto* dir = find<QListView>("Dir2");
  QTest::mouseMove(dir->viewport(), QPoint(5, 5));
  QTest::mouseMove(dir->viewport(), QPoint(10, 10));
  EXPECT_EQ(find<QLabel>("lab_drag_drop")->text(), QString::fromUtf8(text::default_hint));
}

TEST_F(UiCompare, RefreshKeyRereadsTheDirectoryBoxes) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  p.drives.make_dir("C:\\one\\added");
  QTest::keyClick(window.get(), Qt::Key_F5);
  EXPECT_EQ(rows_of(find<QListView>("Dir1")), (QStringList{"C:\\", "one", "added", "sub"}));
}

class UiListSync : public WindowTest {
 protected:
  void SetUp() override {
    std::vector<QString> names;
    for (int i = 0; i < 300; ++i)
      names.push_back(QStringLiteral("f%1.txt").arg(i, 3, 10, QChar(u'0')));
    model().List1.assign(names);
    show_window();
    view = find<QListView>("List1");
  }
  QPoint row_point(int row) { return view->visualRect(view->model()->index(row, 0)).center(); }
  bool view_selected(int row) {
    return view->selectionModel()->isSelected(view->model()->index(row, 0));
  }
  FileList& list() { return model().List1; }

  QListView* view = nullptr;
};

TEST_F(UiListSync, SelectionAndCurrentEntryMadeInTheViewReachTheModel) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row_point(0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, row_point(2));
  EXPECT_TRUE(list().is_selected(0));
  EXPECT_FALSE(list().is_selected(1));
  EXPECT_TRUE(list().is_selected(2));
  EXPECT_EQ(list().current(), 2);

  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, row_point(4));
  for (int row = 2; row <= 4; ++row) EXPECT_TRUE(list().is_selected(row)) << row;
  for (int row = 0; row < 6; ++row) EXPECT_EQ(list().is_selected(row), view_selected(row)) << row;
  EXPECT_EQ(list().current(), 4);
}

TEST_F(UiListSync, SelectionAndCurrentEntrySetByTheLogicReachTheView) {
  list().set_selected(3, true);
  list().set_selected(7, true);
  list().set_current(7);
  QCoreApplication::processEvents();
  EXPECT_TRUE(view_selected(3));
  EXPECT_TRUE(view_selected(7));
  EXPECT_FALSE(view_selected(4));
  EXPECT_EQ(view->currentIndex().row(), 7);

  list().select_all();
  QCoreApplication::processEvents();
  EXPECT_EQ(view->selectionModel()->selectedIndexes().size(), 300);
  // Showing the model's state writes nothing back.
  EXPECT_EQ(list().current(), 7);
}

TEST_F(UiListSync, RemovingTheCurrentEntryLeavesNoCurrentEntry) {
  list().set_current(5);
  list().remove_at(5);
  EXPECT_EQ(list().current(), -1);
  EXPECT_FALSE(view->currentIndex().isValid());
}

TEST_F(UiListSync, FocusAloneMakesNoEntryCurrent) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  view->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(view->hasFocus());
  EXPECT_EQ(list().current(), -1);
}

TEST_F(UiListSync, TopRowFollowsScrollingBothWays) {
  list().set_top_index(120);
  EXPECT_EQ(view->indexAt(QPoint(0, 0)).row(), 120);
  view->verticalScrollBar()->setValue(40);
  EXPECT_EQ(list().top_index(), 40);
}

class UiDrives : public WindowTest {
 protected:
  UiDrives() : WindowTest({u'C', u'D', u'E'}) {}
  void SetUp() override {
    p.drives.make_dir("D:\\two");
    p.open_panes("C:\\", "D:\\two");
    show_window();
  }
};

TEST_F(UiDrives, RefusedDriveShowsTheErrorAndTheBoxReturns) {
  // E: loses its medium.
  ASSERT_TRUE(QDir(p.drives.host(u'E')).removeRecursively());
  auto* drive = find<QComboBox>("Drive2");
  EXPECT_EQ(drive->currentText(), "d:");

  drive->setFocus();
  QTest::keyClick(drive, Qt::Key_Down);

  ASSERT_EQ(p.dialogs.texts(), std::vector<QString>{"71 Disk not ready"});
  EXPECT_EQ(drive->currentText(), "d:");
  EXPECT_EQ(model().pane2.drive(), u'D');
  EXPECT_EQ(model().pane2.path(), "D:\\two");
}

TEST_F(UiDrives, ChosenDriveOpensItsRoot) {
  auto* drive = find<QComboBox>("Drive2");
  QTest::keyClick(drive, Qt::Key_Up);
  EXPECT_EQ(drive->currentText(), "c:");
  EXPECT_EQ(model().pane2.path(), "C:\\");
  EXPECT_EQ(find<QListView>("Dir2")->model()->index(0, 0).data().toString(), "C:\\");
  EXPECT_TRUE(p.dialogs.boxes.empty());
}

using UiExit = WindowTest;

TEST_F(UiExit, ExitButtonAndMenuEntryCloseTheWindow) {
  show_window();
  QTest::mouseClick(find<QAbstractButton>("bot_exit"), Qt::LeftButton);
  EXPECT_FALSE(window->isVisible());

  window->show();
  window->menu_entry("exit")->trigger();
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace tz::test
