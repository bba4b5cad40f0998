#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <initializer_list>
#include <memory>

#include "support/test_program.h"
#include "ui/main_window.h"
#include "ui/twips.h"

namespace tz::test {

inline constexpr qint64 t0 = 1'700'000'000;

// A place in twips. Thirds of a twip come from the layouts' divisions; single precision
// keeps them to 0.01.
inline void expect_rect(const ui::TwipRect& r, const ui::TwipRect& expected) {
  constexpr float tolerance = 0.01f;
  EXPECT_NEAR(r.left, expected.left, tolerance) << "left";
  EXPECT_NEAR(r.top, expected.top, tolerance) << "top";
  EXPECT_NEAR(r.width, expected.width, tolerance) << "width";
  EXPECT_NEAR(r.height, expected.height, tolerance) << "height";
}

// The rows a view shows, top to bottom.
inline QStringList rows_of(const QAbstractItemView* view) {
  QStringList rows;
  for (int r = 0; r < view->model()->rowCount(); ++r)
    rows.append(view->model()->index(r, 0).data().toString());
  return rows;
}

// The centre of a view's row.
inline QPoint row_point(const QAbstractItemView* view, int row) {
  return view->visualRect(view->model()->index(row, 0)).center();
}

// A double click on a row as the system delivers it: a click, then the double click.
inline void double_click(QAbstractItemView* view, int row) {
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row_point(view, row));
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row_point(view, row));
}

// Runs `act` on the next modal window once it is up; the window itself is still blocking.
inline void when_modal(std::function<void(QWidget*)> act) {
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
  void click(const QString& button) {
    QTest::mouseClick(find<QAbstractButton>(button), Qt::LeftButton);
  }
  QListView* list(int n) const { return find<QListView>(QStringLiteral("List%1").arg(n)); }
  WindowModel& model() { return p.tz.window(); }

  TestProgram p;
  std::unique_ptr<MainWindow> window;
};

}  // namespace tz::test
