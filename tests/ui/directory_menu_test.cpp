#include <QAction>
#include <QMenu>

#include "window_fixture.h"

namespace tz::test {
namespace {

class UiDirectoryMenu : public WindowTest {};

TEST_F(UiDirectoryMenu, ARightClickActsOnTheBoxClickedWhereverTheFocusIs) {
  p.drives.make_dir("C:\\one\\sub");
  p.drives.write_file("D:\\two\\gone\\inner\\f.txt", "f");
  p.open_panes("C:\\one", "D:\\two\\gone");
  show_window();
  auto* dir1 = find<QListView>("Dir1");
  auto* dir2 = find<QListView>("Dir2");
  auto* popup = window->menu("m_popup_dir");
  ASSERT_NE(popup, nullptr);
  dir1->setFocus();
  const int highlighted = model().pane2.highlighted();

  // Only the right button opens the menu, and it leaves the highlight where it was.
  QTest::mouseClick(dir2->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(popup->isVisible());
  model().pane2.set_highlighted(highlighted);
  QTest::mouseClick(dir2->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  ASSERT_TRUE(popup->isVisible());
  EXPECT_EQ(model().pane2.highlighted(), highlighted);

  p.dialogs.expect("Are you sure you want to delete directory D:\\two\\gone?", Answer::Yes);
  QAction* remove = window->menu_entry("m_delete_dir");
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(remove).center());

  EXPECT_FALSE(popup->isVisible());
  EXPECT_FALSE(QFileInfo::exists(p.drives.host_path("D:\\two\\gone")));
  EXPECT_EQ(rows_of(dir2), (QStringList{"D:\\", "two"}));
  EXPECT_EQ(model().pane1.path(), "C:\\one");
  EXPECT_TRUE(QFileInfo::exists(p.drives.host_path("C:\\one\\sub")));

  // And a right click on Dir1 makes the next command act on dir 1.
  QTest::mouseClick(dir1->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  ASSERT_TRUE(popup->isVisible());
  p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one", "made");
  QAction* create = window->menu_entry("m_create_dir");
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(create).center());
  EXPECT_TRUE(QFileInfo::exists(p.drives.host_path("C:\\one\\made")));
  EXPECT_EQ(rows_of(dir1), (QStringList{"C:\\", "one", "made", "sub"}));
}

}  // namespace
}  // namespace tz::test
