#include <gtest/gtest.h>

#include <QCursor>
#include <QMessageBox>
#include <QScreen>

#include "platform/file_error.h"
#include "platform/qt/qt_busy_pointer.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_processes.h"
#include "platform/qt/qt_system_facts.h"
#include "window_fixture.h"

namespace tz {
namespace {

using test::when_modal;

TEST(UiQtDialogs, MessageBoxShowsItsPartsAndTheKeysChooseTheDefaultOrTheCautiousButton) {
  QtDialogs dialogs;
  when_modal([](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    // An empty title shows the application's name.
    EXPECT_EQ(box->windowTitle(), QGuiApplication::applicationDisplayName());
    EXPECT_EQ(box->text(), "71 Disk not ready");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    box->done(0);
  });
  dialogs.message_box({"71 Disk not ready", "", Buttons::YesNo, Icon::Exclamation, 0});

  // The default button counts from the left; Escape is the cautious choice.
  auto answer = [&dialogs](Qt::Key key, Buttons buttons, int default_button) {
    when_modal([key](QWidget* box) { QTest::keyClick(box, key); });
    return dialogs.message_box({"sure?", "t", buttons, Icon::Question, default_button});
  };
  EXPECT_EQ(answer(Qt::Key_Return, Buttons::YesNoCancel, 1), Answer::No);
  EXPECT_EQ(answer(Qt::Key_Return, Buttons::YesNoCancel, 0), Answer::Yes);
  EXPECT_EQ(answer(Qt::Key_Escape, Buttons::YesNoCancel, 1), Answer::Cancel);
  EXPECT_EQ(answer(Qt::Key_Escape, Buttons::YesNo, 0), Answer::No);
  EXPECT_EQ(answer(Qt::Key_Escape, Buttons::Ok, 0), Answer::Ok);
}

TEST(UiQtBusyPointer, CallsDoNotNestAndFalseRestoresThePointer) {
  QtBusyPointer busy;
  busy.set_busy(true);
  busy.set_busy(true);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  busy.set_busy(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  busy.set_busy(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(UiQtProcesses, MissingProgramFailsWithFileNotFound) {
  QtProcesses processes;
  EXPECT_EQ(test::error_number(
                [&] { processes.start_detached("/nonexistent/tenzor-no-such-program", {"a b"}); }),
            err::file_not_found);
}

TEST(UiQtSystemFacts, ScreenInTwipsAndNoFrameOffscreen) {
  QtSystemFacts facts(DriveTable::parse("C=/"), {});
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const QSize twips = facts.screen_twips();
  // 15 twips to a pixel at 96 dpi.
  EXPECT_NEAR(twips.width() * screen->logicalDotsPerInchX() / 1440.0, screen->geometry().width(),
              1.0);
  EXPECT_NEAR(twips.height() * screen->logicalDotsPerInchY() / 1440.0, screen->geometry().height(),
              1.0);
  if (QGuiApplication::platformName() == u"offscreen") {
    EXPECT_EQ(facts.frame_height_twips(), 0);
  }
}

}  // namespace
}  // namespace tz
