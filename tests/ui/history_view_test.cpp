#include <QMenuBar>

#include "history/history.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

using UiHistory = WindowTest;

// F8 lays the history over the window; Delete deletes the highlighted entry, a double
// click opens one, and the menus switch with the view.
TEST_F(UiHistory, ViewOverTheWindowDeletesAndOpensEntries) {
  show_pair();
  model().history.assign({"C:\\gone <-> D:\\two", History::entry_text("C:\\one", "D:\\two")});
  activate();
  QTest::keyClick(window.get(), Qt::Key_F8);
  auto* view = find<QListView>("history");
  ASSERT_TRUE(view->isVisible());
  EXPECT_EQ(view->currentIndex().row(), 0);
  EXPECT_TRUE(view->hasFocus());
  EXPECT_FALSE(window->findChild<QAction*>("m_history")->isVisible());
  EXPECT_TRUE(window->findChild<QAction*>("m_clear_all")->isVisible());

  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(rows_of(view), QStringList{History::entry_text("C:\\one", "D:\\two")});
  EXPECT_TRUE(view->isVisible());
  // Nothing is selected afterwards: a second Delete deletes nothing.
  EXPECT_FALSE(view->selectionModel()->hasSelection());
  p.dialogs.expect("No record is selected.");
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(rows_of(view).size(), 1);

  // Opening compares the pair, then its trees ("sub" is in dir 1 only).
  p.dialogs.expect("Path D:\\two\\sub does not exist. Do you want to create it?", Answer::Cancel);
  const QRect row = view->visualRect(view->model()->index(0, 0));
  // A double click as the system delivers it: a click, then the double click.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_FALSE(view->isVisible());
  EXPECT_TRUE(window->findChild<QAction*>("m_history")->isVisible());
  EXPECT_EQ(model().lab_list1.caption(), "only in dir 1");
}

}  // namespace
}  // namespace tz::test
