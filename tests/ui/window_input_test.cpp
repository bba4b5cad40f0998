#include <QKeyEvent>
#include <QLabel>

#include "support/entries.h"
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
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key < Qt::Key_Shift || key > Qt::Key_Alt) ++presses;
    return false;
  }
};

class UiKeys : public WindowTest {
 protected:
  void SetUp() override {
    show_pair();
    activate();
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
  EXPECT_EQ(rows_of(dir), (QStringList{"C:\\", "one", "sub"}));
  EXPECT_EQ(dir->currentIndex().row(), 2);
}

TEST_F(UiKeys, HistoryKeysNeverReachTheControl) {
  KeySpy spy(dir);
  // An empty history says so; Backspace in its view has nothing to open.
  for (int boxes = 0; boxes < 5; ++boxes) p.dialogs.expect("No history data available.");
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
}

TEST_F(UiKeys, EscapeInAnyControlClosesTheWindowAndKeysOfAnotherWindowAreLeftAlone) {
  KeySpy spy(dir);
  QTest::keyClick(dir, Qt::Key_Escape);
  EXPECT_EQ(p.exit.closes, 1);
  EXPECT_EQ(spy.presses, 0);
  QWidget* button = window->control("bot_compare");
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Escape);
  EXPECT_EQ(p.exit.closes, 2);

  QWidget other;
  KeySpy other_spy(&other);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  QTest::keyClick(&other, Qt::Key_Escape);
  QTest::keyClick(&other, Qt::Key_F8);
  EXPECT_EQ(p.exit.closes, 2);
  EXPECT_EQ(other_spy.presses, 2);
}

using UiFreeArea = WindowTest;

TEST_F(UiFreeArea, PointerRestoresTheHintWhileDifferencesRemainAndOnlyARightPressCounts) {
  show_window();
  QWidget* area = window->centralWidget();
  int presses = 0;
  ui::FreeArea spy(
      *area, [&presses] { ++presses; }, [] {});
  // Between List1 and List3, level with List1.
  const QRect list1 = window->control("List1")->geometry();
  const QPoint free(list1.right() + 5, list1.center().y());
  ASSERT_EQ(area->childAt(free), nullptr);
  const QPoint label = window->control("lab_list1")->geometry().center();
  auto move_to = [area](QPoint point) {
    // The first move only enters the window.
    QTest::mouseMove(area, point - QPoint(1, 1));
    QTest::mouseMove(area, point);
  };
  auto hint = [this] { return find<QLabel>("lab_drag_drop")->text(); };

  model().List4.assign(text_entries({"a.txt"}));
  model().lab_drag_drop.set_caption("entry details");
  move_to(label);
  EXPECT_EQ(hint(), "entry details");
  move_to(free);
  EXPECT_EQ(hint(),
            "Drag/drop file names over file boxes to align or move files between the directories");
  // Only aligned files: nothing left to drag, so no hint.
  model().List4.clear();
  model().List5.assign(text_entries({"b.txt"}));
  move_to(label);
  move_to(free);
  EXPECT_TRUE(hint().isEmpty());

  for (QPoint point : {label, list1.center()}) QTest::mouseClick(area, Qt::RightButton, {}, point);
  QTest::mouseClick(area, Qt::LeftButton, {}, free);
  EXPECT_EQ(presses, 0);
  // The window's own free area opens the history, which is empty.
  p.dialogs.expect("No history data available.");
  QTest::mouseClick(area, Qt::RightButton, {}, free);
  EXPECT_EQ(presses, 1);
}

}  // namespace
}  // namespace tz::test
