#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/file_error.h"
#include "platform/qt_busy_pointer.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_processes.h"
#include "platform/qt_system_facts.h"

namespace tz {
namespace {

// Runs `act` on the next modal box once it is up; the box itself is still blocking.
void when_modal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(box);
    }
  });
  timer->start();
}

void press_on_modal(Qt::Key key) {
  when_modal([key](QWidget* box) { QTest::keyClick(box, key); });
}

TEST(UiQtDialogs, DefaultButtonCountsFromTheLeftAndEscapeIsTheCautiousChoice) {
  QtDialogs dialogs;
  const MessageBox yes_no_cancel{"sure?", "t", Buttons::YesNoCancel, Icon::Question, 1};

  press_on_modal(Qt::Key_Return);
  EXPECT_EQ(dialogs.message_box(yes_no_cancel), Answer::No);

  MessageBox first = yes_no_cancel;
  first.default_button = 0;
  press_on_modal(Qt::Key_Return);
  EXPECT_EQ(dialogs.message_box(first), Answer::Yes);

  press_on_modal(Qt::Key_Escape);
  EXPECT_EQ(dialogs.message_box(yes_no_cancel), Answer::Cancel);

  press_on_modal(Qt::Key_Escape);
  EXPECT_EQ(dialogs.message_box({"sure?", "t", Buttons::YesNo, Icon::None, 0}), Answer::No);

  press_on_modal(Qt::Key_Escape);
  EXPECT_EQ(dialogs.message_box({"done", "t", Buttons::Ok, Icon::None, 0}), Answer::Ok);
}

TEST(UiQtDialogs, BoxShowsTextIconButtonsAndTheApplicationNameForAnEmptyTitle) {
  QtDialogs dialogs;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  when_modal([&](QWidget* widget) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    box->done(0);
  });
  dialogs.message_box({"71 Disk not ready", "", Buttons::YesNo, Icon::Exclamation, 0});
  EXPECT_EQ(title, QGuiApplication::applicationDisplayName());
  EXPECT_EQ(text, "71 Disk not ready");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
}

TEST(UiQtDialogs, InputBoxReturnsTheTextOrNothingWhenCancelled) {
  QtDialogs dialogs;
  when_modal([](QWidget* box) {
    auto* edit = box->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("new name");
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.input_box("Name:", "Rename", "old"), std::optional<QString>("new name"));

  press_on_modal(Qt::Key_Escape);
  EXPECT_EQ(dialogs.input_box("Name:", "Rename", "old"), std::nullopt);
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
  try {
    processes.start_detached("/nonexistent/tenzor-no-such-program", {"a b"});
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(e.number(), err::file_not_found);
  }
}

TEST(UiQtSystemFacts, ScreenInTwipsAndNoFrameOffscreen) {
  QtSystemFacts facts(DriveTable::parse("C=/"), {"C:\\a", "D:\\b"});
  EXPECT_EQ(facts.command_line(), "C:\\a D:\\b");
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
