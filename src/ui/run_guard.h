#pragma once

#include <QObject>

class QWidget;

namespace tz {
class WindowModel;
}

namespace tz::ui {

// While a run lets window events run, the main window takes no input but what stops
// the run (cancel, exit, Esc, the window's close control): a click on a directory box,
// a drop, a menu or a key would otherwise change the pair or its files beneath the run.
// Other windows (a message box, the tree comparison's report) take their input as ever.
class RunGuard : public QObject {
 public:
  RunGuard(QWidget& window, WindowModel& model);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool allowed(QObject* watched, QEvent* event) const;

  QWidget& window_;
  WindowModel& model_;
};

}  // namespace tz::ui
