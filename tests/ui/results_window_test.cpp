#include "ui/results_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/test_program.h"
#include "tree/results.h"
#include "ui/twips.h"

namespace tz::test {
namespace {

// The window over a report of two one-sided branches.
class UiResults : public ::testing::Test {
 protected:
  void SetUp() override { report() = "\r\nOnly in tree 1: C:\\a\\x\r\nOnly in tree 2: D:\\b\\z"; }
  QString& report() { return p.tz.globals().GLB_mismatch_text; }

  // Shows the window modally and runs `act` on it once it is up; returns when it is
  // closed.
  void show_and(std::function<void(QDialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
      auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (window == nullptr) return;
      timer->stop();
      timer->deleteLater();
      act(*window);
      // A window left open would block the test for good.
      if (window->isVisible()) {
        ADD_FAILURE() << "the window stayed open";
        window->done(QDialog::Rejected);
      }
    });
    timer->start();
    show_results_window(results, &parent);
  }
  template <typename T>
  static T* find(QDialog& window, const char* name) {
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  static void click(QDialog& window, const char* name) {
    QTest::mouseClick(find<QPushButton>(window, name), Qt::LeftButton);
  }

  TestProgram p;
  Results results{p.tz.context()};
  QWidget parent;
};

TEST_F(UiResults, EditsAreUndoneAtOnceAndEnterProceeds) {
  show_and([this](QDialog& window) {
    auto* text = find<QPlainTextEdit>(window, "Text1");
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

TEST_F(UiResults, OneLineReportInAWindowOfItsDrawnSize) {
  report() = "\r\nOnly in tree 2: D:\\b\\z";
  show_and([](QDialog& window) {
    const double dpi = ui::logical_dpi(&window);
    EXPECT_EQ(find<QPlainTextEdit>(window, "Text1")->toPlainText(), "Only in tree 2: D:\\b\\z");
    EXPECT_EQ(window.windowTitle(), "Tree comparison");
    // 9615 x 7230 twips, no frame offscreen; the box at 240, 360, 9015 x 5535.
    EXPECT_EQ(window.size(), QSize(ui::twips_to_pixels(9615, dpi), ui::twips_to_pixels(7230, dpi)));
    EXPECT_EQ(find<QPlainTextEdit>(window, "Text1")->geometry(),
              ui::twips_rect(240, 360, 9015, 5535, dpi));
    window.close();
  });
}

}  // namespace
}  // namespace tz::test
