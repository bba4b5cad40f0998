#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QListView>
#include <QTest>
#include <initializer_list>
#include <memory>

#include "support/test_program.h"
#include "ui/main_window.h"

namespace tz::test {

inline constexpr qint64 t0 = 1'700'000'000;

// The rows a view shows, top to bottom.
inline QStringList rows_of(const QAbstractItemView* view) {
  QStringList rows;
  for (int r = 0; r < view->model()->rowCount(); ++r)
    rows.append(view->model()->index(r, 0).data().toString());
  return rows;
}

// The real main window over a test program, shown offscreen.
class WindowTest : public ::testing::Test {
 protected:
  explicit WindowTest(std::initializer_list<QChar> letters = {u'C', u'D'}) : p(letters) {}

  // Shows the window over the panes as they are, building it unless a test already has.
  void show_window() {
    if (!window) window = std::make_unique<MainWindow>(p.tz);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  // Opens C:\one, which holds the directory "sub", and D:\two, then shows the window.
  void show_pair() {
    p.drives.make_dir("C:\\one\\sub");
    p.drives.make_dir("D:\\two");
    p.open_panes("C:\\one", "D:\\two");
    show_window();
  }
  // Window-wide keys and shortcuts act only in the active window.
  void activate() {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  template <typename T>
  T* find(const QString& name) const {
    auto* found = window->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }
  QListView* list(int n) const { return find<QListView>(QStringLiteral("List%1").arg(n)); }
  WindowModel& model() { return p.tz.window(); }

  TestProgram p;
  std::unique_ptr<MainWindow> window;
};

}  // namespace tz::test
