#include <QKeyEvent>
#include <QLabel>
#include <QListView>

#include "app/texts.h"
#include "ui/free_area.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

// Counts the key presses that reach a widget itself, leaving out the modifier keys.
class KeySpy : public QObject {
 public:
  explicit KeySpy(QWidget* widget) { widget->installEventFilter(this); }
  int presses = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Shift:
      case Qt::Key_Control:
      case Qt::Key_Alt:
      case Qt::Key_Meta:
        break;
      default:
        ++presses;
    }
    return false;
  }
};

class UiKeys : public WindowTest {
 protected:
  void SetUp() override {
    p.drives.make_dir("C:\\one\\sub");
    p.drives.make_dir("D:\\two");
    p.open_panes("C:\\one", "D:\\two");
    show_window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    dir = find<QListView>("Dir1");
    dir->setFocus();
    // Highlight "sub", which Enter would open.
    model().pane1.set_highlighted(2);
  }
  void show_history(bool shown) { model().history_box.set_visible(shown); }

  QListView* dir = nullptr;
};

TEST_F(UiKeys, EnterOpensTheDirectoryEntryOnlyWhileTheHistoryIsHidden) {
  show_history(true);
  QTest::keyClick(dir, Qt::Key_Return);
  EXPECT_EQ(model().pane1.path(), "C:\\one");

  show_history(false);
  QTest::keyClick(dir, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(model().pane1.path(), "C:\\one\\sub");
}

TEST_F(UiKeys, HistoryKeysNeverReachTheControl) {
  KeySpy spy(dir);
  for (bool shown : {false, true}) {
    show_history(shown);
    QTest::keyClick(dir, Qt::Key_F8);
    QTest::keyClick(dir, Qt::Key_F8, Qt::ShiftModifier);
    QTest::keyClick(dir, Qt::Key_Backspace);
  }
  EXPECT_EQ(spy.presses, 0);
  // Other keys, and Backspace with Ctrl, are the control's.
  QTest::keyClick(dir, Qt::Key_Down);
  QTest::keyClick(dir, Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(spy.presses, 2);
  EXPECT_TRUE(p.dialogs.boxes.empty());
}

TEST_F(UiKeys, EscapeInAnyControlClosesTheWindow) {
  KeySpy spy(dir);
  QTest::keyClick(dir, Qt::Key_Escape);
  EXPECT_EQ(p.exit.closes, 1);
  EXPECT_EQ(spy.presses, 0);

  QWidget* button = window->control("bot_compare");
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Escape);
  EXPECT_EQ(p.exit.closes, 2);
}

TEST_F(UiKeys, KeysOfAnotherWindowAreLeftAlone) {
  QWidget other;
  KeySpy spy(&other);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  QTest::keyClick(&other, Qt::Key_Escape);
  QTest::keyClick(&other, Qt::Key_F8);
  EXPECT_EQ(p.exit.closes, 0);
  EXPECT_EQ(spy.presses, 2);
}

class UiFreeArea : public WindowTest {
 protected:
  void SetUp() override {
    show_window();
    area = window->centralWidget();
    // Between List1 and List3, level with List1.
    const QRect list1 = window->control("List1")->geometry();
    free_point = QPoint(list1.right() + 5, list1.center().y());
    ASSERT_EQ(area->childAt(free_point), nullptr);
    label_point = window->control("lab_list1")->geometry().center();
    list_point = list1.center();
  }
  void move_to(QPoint point) {
    // The first move only enters the window.
    QTest::mouseMove(area, point - QPoint(1, 1));
    QTest::mouseMove(area, point);
  }
  QString hint() const { return qobject_cast<QLabel*>(window->control("lab_drag_drop"))->text(); }

  QWidget* area = nullptr;
  QPoint free_point, label_point, list_point;
};

TEST_F(UiFreeArea, PointerOverTheFreeAreaRestoresTheHintWhileDifferencesRemain) {
  model().List4.assign({"a.txt"});
  model().lab_drag_drop.set_caption("entry details");
  move_to(label_point);
  EXPECT_EQ(hint(), "entry details");
  move_to(free_point);
  EXPECT_EQ(hint(), QString::fromUtf8(text::default_hint));

  // Only aligned files: nothing left to drag, so no hint.
  model().List4.clear();
  model().List5.assign({"b.txt"});
  move_to(label_point);
  move_to(free_point);
  EXPECT_TRUE(hint().isEmpty());
}

TEST_F(UiFreeArea, OnlyARightPressOnTheFreeAreaCounts) {
  int presses = 0;
  ui::FreeArea spy(
      *area, [&presses] { ++presses; }, [] {});
  QTest::mousePress(area, Qt::RightButton, {}, label_point);
  QTest::mouseRelease(area, Qt::RightButton, {}, label_point);
  QTest::mousePress(area, Qt::RightButton, {}, list_point);
  QTest::mouseRelease(area, Qt::RightButton, {}, list_point);
  QTest::mousePress(area, Qt::LeftButton, {}, free_point);
  QTest::mouseRelease(area, Qt::LeftButton, {}, free_point);
  EXPECT_EQ(presses, 0);
  QTest::mousePress(area, Qt::RightButton, {}, free_point);
  QTest::mouseRelease(area, Qt::RightButton, {}, free_point);
  EXPECT_EQ(presses, 1);
}

}  // namespace
}  // namespace tz::test
