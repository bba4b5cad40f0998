#pragma once

#include <QObject>

class QWidget;

namespace tz {
class Tenzor;
}

namespace tz::ui {

// The window-wide keys: while the main window is active it sees every key before the
// control that has the focus, which gets only the keys the window leaves alone.
class WindowKeys : public QObject {
 public:
  WindowKeys(QWidget& window, Tenzor& tz);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  Tenzor& tz_;
};

}  // namespace tz::ui
