#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>

#include "app/texts.h"
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

TEST_F(UiMainWindow, EveryControlOfTheModelIsShownUnderItsNameWithItsCaption) {
  show_window();
  EXPECT_EQ(window->objectName(), "form_tenzor");
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8(text::app_title));

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

  // The captions as the window is built.
  EXPECT_EQ(shown_caption(window->control("lab_list1")), QString::fromUtf8(text::design_list1));
  EXPECT_EQ(shown_caption(window->control("bot_compare")), QString::fromUtf8(text::compare_dirs));
  EXPECT_EQ(shown_caption(window->control("bot_exit")), QString::fromUtf8(text::exit));
  EXPECT_EQ(window->menu("m_file")->title(), QString::fromUtf8(text::m_file));
  EXPECT_EQ(window->menu_entry("m_refresh")->shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_FALSE(window->control("b_next_alignment")->isVisibleTo(window.get()));
  EXPECT_FALSE(window->menu_entry("m_tree")->isVisible());
  EXPECT_NE(window->menu("m_popup"), nullptr);
  EXPECT_NE(window->menu("m_popup_dir"), nullptr);
}

TEST_F(UiMainWindow, BoxesWithoutControlsExistUnderTheirNames) {
  show_window();
  for (const char* name :
       {"Drive1", "Drive2", "Dir1", "Dir2", "Text1", "Text2", "Picture1", "Picture2", "List1",
        "List2", "List3", "List4", "List5", "Frame_bottoni"}) {
    QWidget* widget = find<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->accessibleDescription(), name);
    EXPECT_TRUE(widget->isVisibleTo(window.get())) << name;
  }
  for (const char* name : {"File1", "File2", "history"}) {
    QWidget* widget = find<QWidget>(name);
    ASSERT_NE(widget, nullptr);
    EXPECT_FALSE(widget->isVisibleTo(window.get())) << name;
  }
  // Left to right: dir 1 only, dir 1 newer, aligned, dir 2 newer, dir 2 only.
  int previous = -1;
  for (const char* name : {"List1", "List3", "List5", "List4", "List2"}) {
    const int x = find<QWidget>(name)->x();
    EXPECT_GT(x, previous) << name;
    previous = x;
  }
  EXPECT_GT(find<QWidget>("Frame_bottoni")->y(), find<QWidget>("List1")->y());
}

TEST_F(UiMainWindow, WidgetsFollowTheirControlsAndMenuChecksGoBothWays) {
  show_window();
  model().bot_delete.set_enabled(false);
  model().lab_list3.set_caption("changed");
  model().b_next_alignment.set_visible(true);
  model().m_history.set_visible(false);
  model().caption.set_caption("Tenzor - busy");
  EXPECT_FALSE(window->control("bot_delete")->isEnabled());
  EXPECT_EQ(shown_caption(window->control("lab_list3")), "changed");
  EXPECT_TRUE(window->control("b_next_alignment")->isVisible());
  EXPECT_FALSE(window->menu_entry("m_history")->isVisible());
  EXPECT_EQ(window->windowTitle(), "Tenzor - busy");

  QAction* skip = window->menu_entry("m_skip_delete_confirmations");
  model().m_skip_delete_confirmations.set_checked(true);
  EXPECT_TRUE(skip->isChecked());
  skip->trigger();
  EXPECT_FALSE(model().m_skip_delete_confirmations.checked());
}

TEST_F(UiMainWindow, FocusRequestsReachTheNamedWidget) {
  show_window();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  emit model().focus_requested("bot_compare_tree");
  EXPECT_EQ(QApplication::focusWidget(), window->control("bot_compare_tree"));
}

using UiAccessibility = WindowTest;

TEST_F(UiAccessibility, ListsAndBoxesAreSpokenAsTheLabelAboveThem) {
  show_window();
  for (int n = 1; n <= 5; ++n) {
    QWidget* list = window->control(QStringLiteral("List%1").arg(n));
    auto* label = qobject_cast<QLabel*>(window->control(QStringLiteral("lab_list%1").arg(n)));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), list);
    EXPECT_EQ(spoken_name(list), model().list_caption(n).caption());
    // A label is spoken as its own text.
    EXPECT_TRUE(label->accessibleName().isEmpty());
  }
  EXPECT_EQ(spoken_name(window->control("Drive1")), QString::fromUtf8(text::lab_dir1));
  EXPECT_EQ(spoken_name(window->control("Dir2")), QString::fromUtf8(text::lab_dir2));
  EXPECT_EQ(spoken_name(window->control("Text2")), QString::fromUtf8(text::drop_to_delete));
}

TEST_F(UiAccessibility, ListNameFollowsItsCaptionAndButtonsSpeakTheirCaption) {
  show_window();
  model().lab_list1.set_caption(QString::fromUtf8(text::only_in_dir1));
  EXPECT_EQ(spoken_name(window->control("List1")), QString::fromUtf8(text::only_in_dir1));
  model().lab_list1.set_caption("&files");
  EXPECT_EQ(spoken_name(window->control("List1")), "files");

  EXPECT_EQ(spoken_name(window->control("bot_compare")), "compare dir's");
  EXPECT_EQ(spoken_name(window->control("lab_dir1")), QString::fromUtf8(text::lab_dir1));
}

}  // namespace
}  // namespace tz::test
