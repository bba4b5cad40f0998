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
#include "tree/results.h"
#include "ui/results_window.h"
#include "ui/twips.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

using ui::ShowState;
using ui::text_window_layout;
using ui::TextWindowLayout;
using ui::TwipRect;

// The text fills the window above a centred button, the grip in the corner; only a
// normal window is held to 2000 twips, and a minimised one leaves everything as it was.
TEST(TextWindowLayout, FillsTheWindowAboveACentredButtonAtLeast2000TwipsHighUnlessMaximised) {
  const TextWindowLayout low = text_window_layout({}, 4000, 1500, ShowState::Normal);
  const struct {
    const char* name;
    TextWindowLayout l;
    float height;
    TwipRect Text1, b_ok, pic_adjust;
  } cases[] = {
      {"as drawn",
       text_window_layout({}, 9615, 7230, ShowState::Normal),
       7230,
       {105, 90, 9315, 6280},
       {4012.5, 6490, 1500, 300},
       {9315, 6650, 180, 180}},
      {"low", low, 2000, {105, 90, 3700, 1050}, {1205, 1260, 1500, 300}, {3700, 1420, 180, 180}},
      {"maximised",
       text_window_layout({}, 4000, 1500, ShowState::Maximised),
       1500,
       {105, 90, 3700, 550},
       {1205, 760, 1500, 300},
       {3700, 920, 180, 180}},
      {"minimised",
       text_window_layout(low, 900, 300, ShowState::Minimised),
       2000,
       {105, 90, 3700, 1050},
       {1205, 1260, 1500, 300},
       {3700, 1420, 180, 180}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(c.l.height, c.height);
    expect_rect(c.l.Text1, c.Text1);
    expect_rect(c.l.b_ok, c.b_ok);
    expect_rect(c.l.pic_adjust, c.pic_adjust);
  }
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
    EXPECT_TRUE(window != nullptr && QTest::qWaitForWindowExposed(window));
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
  EXPECT_EQ(window->windowTitle(), "Tenzor - Version history");
  EXPECT_EQ(window->windowIcon().cacheKey(), main.windowIcon().cacheKey());
  EXPECT_EQ(window->pos(), main.pos());
  EXPECT_EQ(window->size(), main.size());
  EXPECT_EQ(text_of(window)->toPlainText(), "\nfirst line\nSecond Line");
  EXPECT_EQ(window->findChild<QPushButton*>("b_ok")->text(), "OK");

  // Its controls placed in twips.
  const double dpi = ui::logical_dpi(window);
  const float width = static_cast<float>(ui::pixels_to_twips(600, dpi));
  const float height = static_cast<float>(ui::pixels_to_twips(420, dpi));
  const TextWindowLayout& l = window->current_layout();
  expect_rect(l.Text1, {105, 90, width - 300, height - 950});
  EXPECT_EQ(text_of(window)->geometry(), pixels(l.Text1, dpi));
  EXPECT_EQ(window->findChild<QPushButton*>("b_ok")->geometry(), pixels(l.b_ok, dpi));
  EXPECT_EQ(window->findChild<QWidget*>("pic_adjust")->geometry(), pixels(l.pic_adjust, dpi));

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

// Activation gives the focus to the text, where edits are undone at once.
TEST_F(UiTextWindow, ActivationFocusesTheTextWhereEditsAreUndoneButACaseChangeStays) {
  ui::TextWindow* window = open();
  QPlainTextEdit* text = text_of(window);
  EXPECT_TRUE(eventually([&] { return window->isActiveWindow(); }));
  window->findChild<QPushButton*>("b_ok")->setFocus();
  main.activateWindow();
  EXPECT_TRUE(eventually([&] { return main.isActiveWindow(); }));
  window->activateWindow();
  EXPECT_TRUE(eventually([&] { return window->isActiveWindow(); }));
  EXPECT_EQ(window->focusWidget(), text);
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

TEST_F(UiTextWindow, LowerThan2000TwipsSnapsBackAndMinimisedKeepsItsControlsUntilRestored) {
  ui::TextWindow* window = open();
  const double dpi = ui::logical_dpi(window);
  window->resize(window->width(), 40);
  EXPECT_TRUE(eventually([&] { return window->height() > 40; }));
  EXPECT_GE(ui::pixels_to_twips(window->height(), dpi), 2000);
  EXPECT_LT(ui::pixels_to_twips(window->height() - 1, dpi), 2000);
  EXPECT_EQ(text_of(window)->geometry(), pixels(window->current_layout().Text1, dpi));

  const QRect before = text_of(window)->geometry();
  window->showMinimized();
  EXPECT_TRUE(eventually([&] { return window->isMinimized(); }));
  window->resize(300, 300);
  EXPECT_EQ(text_of(window)->geometry(), before);
  window->showNormal();
  EXPECT_TRUE(eventually([&] { return !window->isMinimized(); }));
  EXPECT_TRUE(eventually(
      [&] { return text_of(window)->geometry() == pixels(window->current_layout().Text1, dpi); }));
  EXPECT_NE(text_of(window)->geometry(), before);
}

// The Help menu of the real window.
class UiHelpMenu : public WindowTest {};

TEST_F(UiHelpMenu, EveryEntryIsConnectedAndTheVersionHistoryGoesWithTheWindow) {
  show_window();
  p.dialogs.expect_starting("Tenzor version 2.2.31 (26/Oct/2003)\r\n");
  p.dialogs.expect_starting("Format of optional command line");
  p.dialogs.expect_starting("To avoid tenzoring a directory");
  for (const char* entry : {"m_about", "m_comman_line", "m_directory_flags", "m_web_site"})
    window->menu_entry(entry)->trigger();
  EXPECT_EQ(p.processes.opened, std::vector<QString>{"https://tenzor.org"});

  window->menu_entry("m_version_history")->trigger();
  QPointer<QWidget> text_window;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->objectName() == "f_msgbox" && top->isVisible()) text_window = top;
  ASSERT_FALSE(text_window.isNull());
  EXPECT_EQ(text_window->windowTitle(), "Tenzor - Version history");
  EXPECT_TRUE(eventually([&] { return text_window->size() == window->size(); }));
  window.reset();
  EXPECT_TRUE(text_window.isNull());
}

// The window over a report of two one-sided branches.
class UiResults : public ::testing::Test {
 protected:
  void SetUp() override { report() = "\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z"; }
  QString& report() { return p.tz.globals().GLB_mismatch_text; }

  // Shows the window modally and runs `act` on it once it is up; returns when it is
  // closed.
  void show_and(std::function<void(QDialog&)> act) {
    when_modal([act](QWidget* widget) {
      auto* window = qobject_cast<QDialog*>(widget);
      ASSERT_NE(window, nullptr);
      act(*window);
      // A window left open would block the test for good.
      if (window->isVisible()) {
        ADD_FAILURE() << "the window stayed open";
        window->done(QDialog::Rejected);
      }
    });
    show_results_window(results, &parent);
  }
  static void click(QDialog& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }

  TestProgram p;
  Results results{p.tz.context()};
  QWidget parent;
};

TEST_F(UiResults, ShownAtItsDrawnSizeEditsAreUndoneAtOnceAndEnterProceeds) {
  show_and([this](QDialog& window) {
    auto* text = window.findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(window.windowTitle(), "Tree comparison");
    // 9615 x 7230 twips, no frame offscreen; the box at 240, 360, 9015 x 5535.
    const double dpi = ui::logical_dpi(&window);
    EXPECT_EQ(window.size(), QSize(ui::twips_to_pixels(9615, dpi), ui::twips_to_pixels(7230, dpi)));
    EXPECT_EQ(text->geometry(), ui::twips_rect(240, 360, 9015, 5535, dpi));
    EXPECT_EQ(window.focusWidget(), text);
    QTest::keyClicks(text, "typed");
    QTest::keyClick(text, Qt::Key_Backspace);
    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text->toPlainText(), "Only in tree 1: C:\\a\\x\nOnly in tree 2: D:\\b\\z");
    // Tab leaves the report for the three buttons, left to right, and comes back.
    QStringList order;
    for (int i = 0; i < 4; ++i) {
      QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
      order << window.focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"b_proceed", "b_save_notepad", "b_cancel", "Text1"}));
    QTest::keyClick(text, Qt::Key_Return);
  });
  EXPECT_EQ(report(), "\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z");
}

TEST_F(UiResults, ProceedSaveAndCloseKeepTheReportCancelEmptiesIt) {
  show_and([this](QDialog& window) {
    click(window, "b_save_notepad");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(p.processes.beeps, 3);
    click(window, "b_proceed");
  });
  EXPECT_FALSE(report().isEmpty());
  show_and([](QDialog& window) { window.close(); });
  EXPECT_FALSE(report().isEmpty());
  show_and([](QDialog& window) { click(window, "b_cancel"); });
  EXPECT_TRUE(report().isEmpty());
  // One window, made at the first showing and kept.
  EXPECT_EQ(parent.findChildren<QDialog*>().size(), 1);
}

}  // namespace
}  // namespace tz::test
