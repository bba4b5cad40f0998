#include <QAbstractButton>
#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

#include "compare/comparison.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

class UiAlign : public WindowTest {
 protected:
  void SetUp() override {
    for (const char* name : {"only1.txt", "more1.txt", "last1.txt", "same.txt"})
      p.drives.write_file(QStringLiteral("C:\\one\\") + name, "one", t0);
    p.drives.write_file("D:\\two\\only2.txt", "two", t0);
    p.drives.write_file("C:\\one\\new1.txt", "newer", t0 + 60);
    p.drives.write_file("D:\\two\\new1.txt", "old", t0);
    p.drives.write_file("D:\\two\\same.txt", "one", t0);
    p.clock.step = 0.5;
    p.compare();
    show_window();
  }
  QPoint row(int n, const QString& name) {
    return list(n)
        ->visualRect(list(n)->model()->index(model().list(list_at(n)).find_text(name), 0))
        .center();
  }
  // The centre of `target` in the coordinates of list `n`'s viewport, which has the
  // mouse from the press to the release.
  QPoint over(int n, QWidget* target) {
    return list(n)->viewport()->mapFromGlobal(target->mapToGlobal(target->rect().center()));
  }
  void press(int n, const QString& name) {
    QTest::mousePress(list(n)->viewport(), Qt::LeftButton, {}, row(n, name));
  }
  void move_to(int n, QWidget* target) { QTest::mouseMove(list(n)->viewport(), over(n, target)); }
  void drag(int n, const QString& name, QWidget* target) {
    press(n, name);
    move_to(n, target);
    QTest::mouseRelease(list(n)->viewport(), Qt::LeftButton, {}, over(n, target));
  }
  bool no_drop_pointer() {
    return QGuiApplication::overrideCursor() != nullptr &&
           QGuiApplication::overrideCursor()->shape() == Qt::ForbiddenCursor;
  }
  bool exists(const QString& drive_path) { return QFile::exists(p.drives.host_path(drive_path)); }
};

TEST_F(UiAlign, DraggingANameOntoTheOtherSidesListMovesTheFile) {
  press(2, "only2.txt");
  // Label5 lies over the pressed row, as wide as the list.
  const QRect label = find<QLabel>("Label5")->geometry();
  EXPECT_EQ(label.left(), list(2)->x());
  EXPECT_EQ(label.width(), list(2)->width());
  const int pressed_y = list(2)->viewport()->mapTo(list(2), row(2, "only2.txt")).y();
  EXPECT_LE(std::abs(label.center().y() - (list(2)->y() + pressed_y)), 1);

  move_to(2, list(1));
  QTest::mouseRelease(list(2)->viewport(), Qt::LeftButton, {}, over(2, list(1)));
  EXPECT_TRUE(exists("C:\\one\\only2.txt"));
  EXPECT_FALSE(exists("D:\\two\\only2.txt"));
  EXPECT_EQ(list(2)->model()->rowCount(), 0);
  EXPECT_EQ(p.tz.globals().GLB_drag_source, "list2");
}

TEST_F(UiAlign, RefusingControlsShowTheNoDropPointerAndTakeNothing) {
  press(5, "same.txt");
  for (const char* name : {"List3", "bot_compare", "Dir1", "lab_list2"}) {
    move_to(5, find<QWidget>(name));
    EXPECT_TRUE(no_drop_pointer()) << name;
  }
  move_to(5, list(1));
  EXPECT_FALSE(no_drop_pointer());
  drag(5, "same.txt", list(4));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(model().List5.texts(), QStringList{"same.txt"});
  EXPECT_TRUE(model().List4.texts().isEmpty());
}

TEST_F(UiAlign, ClicksSetTheCaptionAndADragTakesOnlyThePressedName) {
  auto* viewport = list(1)->viewport();
  QTest::mouseClick(viewport, Qt::LeftButton, {}, row(1, "last1.txt"));
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, row(1, "more1.txt"));
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, row(1, "only1.txt"));
  EXPECT_EQ(find<QAbstractButton>("bot_list1")->text(), "align selected files");

  drag(1, "more1.txt", list(5));
  EXPECT_TRUE(exists("D:\\two\\more1.txt"));
  EXPECT_FALSE(exists("D:\\two\\last1.txt") || exists("D:\\two\\only1.txt"));
  EXPECT_EQ(model().List1.texts(), (QStringList{"last1.txt", "only1.txt"}));
}

TEST_F(UiAlign, DropTargetsDeleteAndOpen) {
  p.dialogs.expect("do you want to delete SAME.TXT\nfrom both directories?", Answer::Yes);
  drag(5, "same.txt", find<QWidget>("Text2"));
  EXPECT_FALSE(exists("C:\\one\\same.txt") || exists("D:\\two\\same.txt"));

  drag(3, "new1.txt", find<QWidget>("Text1"));
  EXPECT_EQ(p.processes.opened, (std::vector<QString>{p.drives.host_path("C:\\one\\new1.txt"),
                                                      p.drives.host_path("D:\\two\\new1.txt")}));
}

TEST_F(UiAlign, PointerMenuAndButtons) {
  QTest::mouseMove(list(5)->viewport(), row(5, "same.txt") + QPoint(1, 0));
  QTest::mouseMove(list(5)->viewport(), row(5, "same.txt"));
  const QString hint = find<QLabel>("lab_drag_drop")->text();
  EXPECT_TRUE(hint.contains(", bytes 3 C:\\one\\same.txt\r\n") &&
              hint.contains("D:\\two\\same.txt"));

  QTest::mouseClick(find<QAbstractButton>("bot_list3"), Qt::LeftButton);
  EXPECT_EQ(model().List5.texts(), (QStringList{"new1.txt", "same.txt"}));
  p.dialogs.expect("No file deleted.");
  QTest::mouseClick(find<QAbstractButton>("bot_delete"), Qt::LeftButton);

  // The context menu acts on the list it was opened on, leaving its selection alone.
  QTest::mousePress(list(1)->viewport(), Qt::RightButton, {}, row(1, "more1.txt"));
  EXPECT_TRUE(window->menu("m_popup")->isVisible());
  EXPECT_FALSE(model().List1.any_selected());
  window->menu("m_popup")->close();
  model().m_skip_delete_confirmations.set_checked(true);
  window->menu_entry("m_delete_all_files")->trigger();
  EXPECT_TRUE(model().List1.texts().isEmpty());
  EXPECT_FALSE(exists("C:\\one\\only1.txt"));
}

}  // namespace
}  // namespace tz::test
