#include "ui/text_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <functional>

#include "support/fakes.h"
#include "ui/twips.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

using ui::ShowState;
using ui::text_window_layout;
using ui::TextWindowLayout;
using ui::TwipRect;

void expect_rect(const TwipRect& r, float left, float top, float width, float height) {
  EXPECT_FLOAT_EQ(r.left, left);
  EXPECT_FLOAT_EQ(r.top, top);
  EXPECT_FLOAT_EQ(r.width, width);
  EXPECT_FLOAT_EQ(r.height, height);
}

TEST(TextWindowLayout, FillsTheWindowAboveACentredButtonWithTheGripInTheCorner) {
  const TextWindowLayout l = text_window_layout({}, 9615, 7230, ShowState::Normal);
  expect_rect(l.Text1, 105, 90, 9315, 6280);
  expect_rect(l.b_ok, 4012.5, 6490, 1500, 300);
  expect_rect(l.pic_adjust, 9315, 6650, 180, 180);
  EXPECT_FLOAT_EQ(l.height, 7230);
}

TEST(TextWindowLayout, OnlyANormalWindowIsHeldTo2000Twips) {
  const TextWindowLayout low = text_window_layout({}, 4000, 1500, ShowState::Normal);
  EXPECT_FLOAT_EQ(low.height, 2000);
  expect_rect(low.Text1, 105, 90, 3700, 1050);
  expect_rect(low.b_ok, 1205, 1260, 1500, 300);
  expect_rect(low.pic_adjust, 3700, 1420, 180, 180);

  const TextWindowLayout maximised = text_window_layout({}, 4000, 1500, ShowState::Maximised);
  EXPECT_FLOAT_EQ(maximised.height, 1500);
  expect_rect(maximised.Text1, 105, 90, 3700, 550);

  // A minimised window leaves everything where it was.
  const TextWindowLayout minimised = text_window_layout(low, 900, 300, ShowState::Minimised);
  EXPECT_FLOAT_EQ(minimised.height, 2000);
  expect_rect(minimised.Text1, 105, 90, 3700, 1050);
  expect_rect(minimised.b_ok, 1205, 1260, 1500, 300);
}

// Changes of geometry, state and focus may come back from the window system a turn later.
bool eventually(const std::function<bool()>& done) {
  return QTest::qWaitFor(done, 2000);
}

QPlainTextEdit* text_of(QWidget* window) {
  return window->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
}

// The text window over a plain main window.
class UiTextWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_DirIcon));
    main.move(30, 40);
    main.resize(600, 420);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  }
  ui::TextWindow* open(const QString& msg = QStringLiteral("\r\nfirst line\r\nSecond Line")) {
    big_box.Big_box(msg, QStringLiteral("Tenzor - Version history"));
    ui::TextWindow* window = big_box.window();
    EXPECT_NE(window, nullptr);
    if (window != nullptr) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    return window;
  }
  // The pixels of a place, edges rounded.
  static QRect pixels(const TwipRect& r, double dpi) {
    const auto px = [dpi](float twips) {
      return static_cast<int>(std::lround(twips * dpi / 1440));
    };
    const int left = px(r.left), top = px(r.top);
    return QRect(left, top, px(r.left + r.width) - left, px(r.top + r.height) - top);
  }

  FakeFacts facts;
  QWidget main;
  ui::BigBox big_box{main, facts};
};

TEST_F(UiTextWindow, OpensModelessExactlyOverTheMainWindow) {
  ui::TextWindow* window = open();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(window->objectName(), "f_msgbox");
  EXPECT_EQ(window->windowTitle(), "Tenzor - Version history");
  EXPECT_EQ(window->windowIcon().cacheKey(), main.windowIcon().cacheKey());
  EXPECT_EQ(window->pos(), main.pos());
  EXPECT_EQ(window->size(), main.size());
  EXPECT_EQ(text_of(window)->toPlainText(), "\nfirst line\nSecond Line");

  // Moved and shrunk, then opened again: back over the main window, with the new text.
  window->move(200, 150);
  window->resize(300, 200);
  EXPECT_TRUE(eventually([&] { return window->size() == QSize(300, 200); }));
  main.move(50, 60);
  main.resize(640, 400);
  EXPECT_EQ(open(QStringLiteral("other")), window);
  EXPECT_TRUE(eventually([&] { return window->size() == QSize(640, 400); }));
  EXPECT_TRUE(eventually([&] { return window->pos() == QPoint(50, 60); }));
  EXPECT_EQ(text_of(window)->toPlainText(), "other");
}

TEST_F(UiTextWindow, PlacesItsControlsInTwips) {
  ui::TextWindow* window = open();
  const double dpi = ui::logical_dpi(window);
  const float width = static_cast<float>(ui::pixels_to_twips(600, dpi));
  const float height = static_cast<float>(ui::pixels_to_twips(420, dpi));
  const TextWindowLayout& l = window->current_layout();
  expect_rect(l.Text1, 105, 90, width - 300, height - 950);
  EXPECT_FLOAT_EQ(l.b_ok.top, height - 950 + 210);
  EXPECT_EQ(text_of(window)->geometry(), pixels(l.Text1, dpi));
  EXPECT_EQ(window->findChild<QPushButton*>("b_ok")->geometry(), pixels(l.b_ok, dpi));
  EXPECT_EQ(window->findChild<QWidget*>("pic_adjust")->geometry(), pixels(l.pic_adjust, dpi));
  EXPECT_EQ(window->findChild<QPushButton*>("b_ok")->text(), "OK");
}

TEST_F(UiTextWindow, LowerThan2000TwipsSnapsBack) {
  ui::TextWindow* window = open();
  const double dpi = ui::logical_dpi(window);
  window->resize(window->width(), 40);
  EXPECT_TRUE(eventually([&] { return window->height() > 40; }));
  EXPECT_GE(ui::pixels_to_twips(window->height(), dpi), 2000);
  EXPECT_LT(ui::pixels_to_twips(window->height() - 1, dpi), 2000);
  EXPECT_EQ(text_of(window)->geometry(), pixels(window->current_layout().Text1, dpi));
  EXPECT_GE(text_of(window)->height(), ui::twips_to_pixels(1050, dpi));
}

TEST_F(UiTextWindow, EditsAreUndoneAtOnceButACaseChangeStays) {
  ui::TextWindow* window = open();
  QPlainTextEdit* text = text_of(window);
  EXPECT_TRUE(eventually([&] { return window->focusWidget() == text; }));
  const QString whole = "\nfirst line\nSecond Line";
  QTest::keyClicks(text, "typed");
  EXPECT_EQ(text->toPlainText(), whole);
  QTest::keyClick(text, Qt::Key_Return);
  QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(text, Qt::Key_Delete);
  EXPECT_EQ(text->toPlainText(), whole);
  QApplication::clipboard()->setText("pasted");
  QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(text->toPlainText(), whole);

  // Selecting and copying work.
  QTextCursor cursor = text->textCursor();
  cursor.setPosition(1);
  cursor.setPosition(6, QTextCursor::KeepAnchor);
  text->setTextCursor(cursor);
  QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "first");

  // "first" pasted over as "FIRST" differs only in case.
  QApplication::clipboard()->setText("FIRST");
  QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(text->toPlainText(), "\nFIRST line\nSecond Line");
  QTest::keyClick(text, Qt::Key_Backspace);
  EXPECT_EQ(text->toPlainText(), whole);
}

TEST_F(UiTextWindow, EscapeFromAnyControlAndOkClose) {
  for (const char* focus : {"Text1", "b_ok"}) {
    QPointer<ui::TextWindow> window = open();
    auto* control = window->findChild<QWidget*>(focus);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_TRUE(eventually([&] { return window.isNull(); })) << focus;
    EXPECT_EQ(big_box.window(), nullptr);
  }
  QPointer<ui::TextWindow> window = open();
  QTest::mouseClick(window->findChild<QPushButton*>("b_ok"), Qt::LeftButton);
  EXPECT_TRUE(eventually([&] { return window.isNull(); }));
  EXPECT_TRUE(main.isVisible());
}

TEST_F(UiTextWindow, ActivationGivesTheFocusToTheText) {
  ui::TextWindow* window = open();
  EXPECT_TRUE(eventually([&] { return window->isActiveWindow(); }));
  auto* ok = window->findChild<QPushButton*>("b_ok");
  ok->setFocus();
  main.activateWindow();
  EXPECT_TRUE(eventually([&] { return main.isActiveWindow(); }));
  window->activateWindow();
  EXPECT_TRUE(eventually([&] { return window->isActiveWindow(); }));
  EXPECT_EQ(window->focusWidget(), text_of(window));
}

TEST_F(UiTextWindow, MinimisedKeepsItsControlsUntilRestored) {
  ui::TextWindow* window = open();
  const QRect before = text_of(window)->geometry();
  window->showMinimized();
  EXPECT_TRUE(eventually([&] { return window->isMinimized(); }));
  window->resize(300, 300);
  EXPECT_EQ(text_of(window)->geometry(), before);
  window->showNormal();
  EXPECT_TRUE(eventually([&] { return !window->isMinimized(); }));
  const double dpi = ui::logical_dpi(window);
  EXPECT_TRUE(eventually(
      [&] { return text_of(window)->geometry() == pixels(window->current_layout().Text1, dpi); }));
  EXPECT_NE(text_of(window)->geometry(), before);
}

// The Help menu of the real window.
class UiHelpMenu : public WindowTest {};

TEST_F(UiHelpMenu, VersionHistoryOpensOverTheWindowAndGoesWithIt) {
  show_window();
  window->menu_entry("m_version_history")->trigger();
  QPointer<QWidget> text_window;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->objectName() == "f_msgbox" && top->isVisible()) text_window = top;
  ASSERT_FALSE(text_window.isNull());
  EXPECT_EQ(text_window->windowTitle(), "Tenzor - Version history");
  EXPECT_TRUE(
      text_of(text_window)
          ->toPlainText()
          .startsWith("TENZOR VERSION HISTORY \n\nCurrent version is 2.2.31 (26/Oct/2003)\n"));
  EXPECT_TRUE(eventually([&] { return text_window->size() == window->size(); }));
  window.reset();
  EXPECT_TRUE(text_window.isNull());
}

TEST_F(UiHelpMenu, AboutCommandLineFlagsAndWebSiteAreConnected) {
  show_window();
  p.dialogs.expect_starting("Tenzor version 2.2.31 (26/Oct/2003)\r\n");
  p.dialogs.expect_starting("Format of optional command line");
  p.dialogs.expect_starting("To avoid tenzoring a directory");
  for (const char* entry : {"m_about", "m_comman_line", "m_directory_flags", "m_web_site"})
    window->menu_entry(entry)->trigger();
  EXPECT_EQ(p.processes.opened, std::vector<QString>{"https://tenzor.org"});
}

}  // namespace
}  // namespace tz::test
