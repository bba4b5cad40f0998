#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>

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

TEST_F(UiMainWindow, WidgetsFollowTheirControlsAndFocusRequestsAndMenuChecksGoBothWays) {
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

}  // namespace
}  // namespace tz::test
