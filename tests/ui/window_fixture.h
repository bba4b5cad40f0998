#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <initializer_list>
#include <memory>

#include "support/test_program.h"
#include "ui/main_window.h"

namespace tz::test {

// The real main window over a test program, shown offscreen.
class WindowTest : public ::testing::Test {
 protected:
  explicit WindowTest(std::initializer_list<QChar> letters = {u'C', u'D'}) : p(letters) {}

  // Builds and shows the window over the panes as they are.
  void show_window() {
    window = std::make_unique<MainWindow>(p.tz);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  template <typename T>
  T* find(const QString& name) const {
    auto* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }

  WindowModel& model() { return p.tz.window(); }

  TestProgram p;
  std::unique_ptr<MainWindow> window;
};

}  // namespace tz::test
