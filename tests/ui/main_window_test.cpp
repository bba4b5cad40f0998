#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include "history/history.h"
#include "support/entries.h"
#include "ui/free_area.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

QString spoken_name(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face != nullptr ? face->text(QAccessible::Name) : QString();
}

QString shown_caption(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  return {};
}

using UiMainWindow = WindowTest;
using UiWindow = WindowTest;

TEST_F(UiMainWindow, EveryControlAndBoxIsShownUnderItsNameWithItsCaption) {
  show_window();
  EXPECT_EQ(window->objectName(), "form_tenzor");
  EXPECT_EQ(window->windowTitle(), "Tenzor");
  for (Control* control : model().controls()) {
    const QString name = control->name();
    SCOPED_TRACE(name.toStdString());
    if (control == &model().caption) continue;
    if (name.startsWith(u"m_") || name == u"exit") {
      QAction* entry = window->menu_entry(name);
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->text(), control->caption());
      EXPECT_EQ(entry->isVisible(), control->visible());
      continue;
    }
    QWidget* widget = window->control(name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->accessibleDescription(), name);
    EXPECT_EQ(shown_caption(widget), control->caption());
    EXPECT_EQ(widget->isVisibleTo(window.get()), control->visible());
  }
  // Boxes without a control of their own.
  const QStringList hidden{"File1", "File2", "history"};
  for (const QString& name : hidden + QStringList{"Drive1", "Drive2", "Dir1", "Dir2", "Text1",
                                                  "Text2", "Picture1", "Picture2", "List1", "List2",
                                                  "List3", "List4", "List5", "Frame_bottoni"}) {
    SCOPED_TRACE(name.toStdString());
    QWidget* widget = find<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->accessibleDescription(), name);
    EXPECT_EQ(widget->isVisibleTo(window.get()), !hidden.contains(name));
  }
  // The captions as the window is built.
  EXPECT_EQ(shown_caption(window->control("lab_list1")), "only in dir1");
  EXPECT_EQ(shown_caption(window->control("bot_compare")), "&compare dir's");
  EXPECT_EQ(shown_caption(window->control("bot_exit")), "&exit");
  EXPECT_EQ(window->menu("m_file")->title(), "&File");
}

TEST_F(UiMainWindow, WidgetsFollowTheirControlsFocusRequestsAndMenuChecksGoBothWaysExitCloses) {
  show_window();
  activate();
  model().bot_delete.set_enabled(false);
  model().b_next_alignment.set_visible(true);
  model().m_history.set_visible(false);
  model().caption.set_caption("Tenzor - busy");
  emit model().focus_requested("bot_compare_tree");
  EXPECT_FALSE(window->control("bot_delete")->isEnabled());
  EXPECT_TRUE(window->control("b_next_alignment")->isVisible());
  EXPECT_FALSE(window->menu_entry("m_history")->isVisible());
  EXPECT_EQ(window->windowTitle(), "Tenzor - busy");
  EXPECT_EQ(QApplication::focusWidget(), window->control("bot_compare_tree"));

  QAction* skip = window->menu_entry("m_skip_delete_confirmations");
  model().m_skip_delete_confirmations.set_checked(true);
  EXPECT_TRUE(skip->isChecked());
  skip->trigger();
  EXPECT_FALSE(model().m_skip_delete_confirmations.checked());

  // The exit button is pressed in the closing tests.
  window->menu_entry("exit")->trigger();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(UiMainWindow, ListsAndBoxesAreSpokenAsTheCaptionAboveThem) {
  show_window();
  for (int n = 1; n <= 5; ++n) {
    QWidget* list = window->control(QStringLiteral("List%1").arg(n));
    auto* label = qobject_cast<QLabel*>(window->control(QStringLiteral("lab_list%1").arg(n)));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), list);
    EXPECT_EQ(spoken_name(list), model().list_caption(list_at(n)).caption());
  }
  EXPECT_EQ(spoken_name(window->control("Drive1")), "dir 1");
  EXPECT_EQ(spoken_name(window->control("Dir2")), "dir 2");
  EXPECT_EQ(spoken_name(window->control("Text2")), "drop here to delete file");
  // The name follows the caption, without its access key; a button speaks its caption.
  model().lab_list1.set_caption("&files");
  EXPECT_EQ(spoken_name(window->control("List1")), "files");
  EXPECT_EQ(spoken_name(window->control("bot_compare")), "compare dir's");
  // The four align buttons share a caption: each is spoken with its list's.
  model().lab_list3.set_caption("newer in dir 1");
  EXPECT_EQ(spoken_name(window->control("bot_list3")), "align these files: newer in dir 1");
  EXPECT_EQ(spoken_name(window->control("bot_list4")), "align these files: newer in dir 2");
  EXPECT_EQ(shown_caption(window->control("bot_list3")), "align these files");
  model().bot_list2.set_caption("align selected files");
  EXPECT_EQ(spoken_name(window->control("bot_list2")), "align selected files: only in dir 2");
  EXPECT_EQ(spoken_name(window->control("bot_list1")), "align these files: files");
}

// Tab goes through the window as it reads: band after band, columns left to right, a
// list before its align button.
TEST_F(UiMainWindow, TabFollowsTheWindowAsItReads) {
  show_window();
  for (const char* shown : {"b_next_alignment", "history"})
    window->control(QString::fromLatin1(shown))->show();
  QStringList order;
  QWidget* first = window->control("Drive1");
  QWidget* at = first;
  do {
    if ((at->focusPolicy() & Qt::TabFocus) && at->isVisible()) order << at->objectName();
    at = at->nextInFocusChain();
  } while (at != first && order.size() < 40);
  EXPECT_EQ(order.join(u' '),
            "Drive1 Dir1 Text1 b_next_alignment Text2 Drive2 Dir2 List1 bot_list1 List3 bot_list3 "
            "List5 List4 bot_list4 List2 bot_list2 bot_compare_tree bot_compare bot_delete "
            "bot_cancel bot_exit history");
}

TEST_F(UiWindow, CompareFillsTheListViewsAndTheDirectoryBoxHintsHighlightsOpensAndRereads) {
  p.drives.write_file("C:\\one\\only1.txt", "a", t0);
  p.drives.write_file("D:\\two\\only2.txt", "b", t0);
  p.drives.write_file("C:\\one\\same.txt", "abc", t0);
  p.drives.write_file("D:\\two\\same.txt", "abc", t0);
  p.drives.write_file("C:\\one\\later.txt", "abc", t0 + 60);
  p.drives.write_file("D:\\two\\later.txt", "abc", t0);
  show_pair();
  // Before: the file view of both directories; the pointer over a directory box restores
  // the hint.
  EXPECT_EQ(rows_of(list(1)), (QStringList{"later.txt", "only1.txt", "same.txt"}));
  EXPECT_TRUE(model().lab_drag_drop.caption().isEmpty());
  QTest::mouseMove(find<QListView>("Dir2")->viewport(), QPoint(5, 5));
  QTest::mouseMove(find<QListView>("Dir2")->viewport(), QPoint(10, 10));
  EXPECT_EQ(find<QLabel>("lab_drag_drop")->text(),
            "Drag/drop file names over file boxes to align or move files between the directories");

  click("bot_compare");

  EXPECT_EQ(rows_of(list(1)), QStringList{"only1.txt"});
  EXPECT_EQ(rows_of(list(2)), QStringList{"only2.txt"});
  EXPECT_EQ(rows_of(list(3)), QStringList{"later.txt"});
  EXPECT_TRUE(rows_of(list(4)).isEmpty());
  EXPECT_EQ(rows_of(list(5)), QStringList{"same.txt"});
  EXPECT_EQ(find<QLabel>("lab_list3")->text(), "newer in dir 1");
  EXPECT_TRUE(find<QWidget>("bot_list1")->isVisible());

  auto* dir = find<QListView>("Dir1");
  EXPECT_EQ(rows_of(dir), (QStringList{"C:\\", "one", "sub"}));
  EXPECT_EQ(model().pane1.highlighted(), 1);
  QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, row_point(dir, 2));
  EXPECT_EQ(model().pane1.highlighted(), 2);
  EXPECT_EQ(model().pane1.path(), "C:\\one");
  double_click(dir, 0);
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
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row_point(view, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, row_point(view, 2));
  EXPECT_TRUE(entries().is_selected(0));
  EXPECT_FALSE(entries().is_selected(1));
  EXPECT_TRUE(entries().is_selected(2));
  EXPECT_EQ(entries().current(), 2);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, row_point(view, 4));
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
  EXPECT_EQ(drive->currentText(), "d:");
  EXPECT_EQ(model().pane2.path(), "D:\\two");

  QTest::keyClick(drive, Qt::Key_Up);
  EXPECT_EQ(drive->currentText(), "c:");
  EXPECT_EQ(model().pane2.path(), "C:\\");
  EXPECT_EQ(rows_of(find<QListView>("Dir2")).value(0), "C:\\");
}

TEST_F(UiWindow, ARightClickActsOnTheBoxClickedWhereverTheFocusIs) {
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

  EXPECT_FALSE(QFileInfo::exists(p.drives.host_path("D:\\two\\gone")));
  EXPECT_EQ(rows_of(dir2), (QStringList{"D:\\", "two"}));

  // And a right click on Dir1 makes the next command act on dir 1.
  QTest::mouseClick(dir1->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  ASSERT_TRUE(popup->isVisible());
  p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one", "made");
  QAction* create = window->menu_entry("m_create_dir");
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(create).center());
  EXPECT_TRUE(QFileInfo::exists(p.drives.host_path("C:\\one\\made")));
  EXPECT_EQ(rows_of(dir1), (QStringList{"C:\\", "one", "made", "sub"}));
}

// F8 lays the history over the window; Delete deletes the highlighted entry, a double
// click opens one.
TEST_F(UiWindow, HistoryViewOverTheWindowDeletesAndOpensEntries) {
  show_pair();
  model().history.assign({"C:\\gone <-> D:\\two", History::entry_text("C:\\one", "D:\\two")});
  activate();
  QTest::keyClick(window.get(), Qt::Key_F8);
  auto* view = find<QListView>("history");
  ASSERT_TRUE(view->isVisible());
  EXPECT_EQ(view->currentIndex().row(), 0);
  EXPECT_TRUE(view->hasFocus());

  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(rows_of(view), QStringList{History::entry_text("C:\\one", "D:\\two")});
  EXPECT_FALSE(view->selectionModel()->hasSelection());

  // Opening compares the pair, then its trees ("sub" is in dir 1 only).
  p.dialogs.expect("Path D:\\two\\sub does not exist. Do you want to create it?", Answer::Cancel);
  double_click(view, 0);
  EXPECT_FALSE(view->isVisible());
  EXPECT_EQ(model().lab_list1.caption(), "only in dir 1");
}

// The whole tree comparison in the real window: the report window over it, then a stop
// at the branch that differs, "next subdir", and the end at the roots.
TEST_F(UiWindow, TreeComparisonReportWindowThenStopsAtTheDifferingBranchUntilNextSubdir) {
  p.drives.make_dir("C:\\one\\x");
  p.drives.write_file("C:\\one\\sub\\f.txt", "f", t0);
  p.drives.make_dir("D:\\two\\sub");
  show_pair();
  QString shown;
  when_modal([&shown](QWidget* report) {
    shown = report->windowTitle();
    QTest::mouseClick(report->findChild<QPushButton*>("b_proceed"), Qt::LeftButton);
  });
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  click("bot_compare_tree");
  EXPECT_EQ(shown, "Tree comparison");

  auto* next = find<QPushButton>("b_next_alignment");
  ASSERT_TRUE(next->isVisible());
  EXPECT_EQ(next->text(), "next subdir");
  EXPECT_EQ(rows_of(list(1)), QStringList{"f.txt"});

  p.dialogs.expect("End of tree comparison.");
  QTest::mouseClick(next, Qt::LeftButton);
  EXPECT_FALSE(next->isVisible());
  EXPECT_EQ(model().pane1.path(), "C:\\one");
}

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

TEST_F(UiWindow, FreeAreaPointerRestoresTheHintWhileDifferencesRemainAndOnlyARightPressCounts) {
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
