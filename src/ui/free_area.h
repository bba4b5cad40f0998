#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace tz::ui {

// The window's free area: the background of `area` where no control stands. A right
// button press and a pointer move there run the given actions; on a control they do not.
class FreeArea : public QObject {
 public:
  FreeArea(QWidget& area, std::function<void()> right_press, std::function<void()> pointer_moved);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& area_;
  std::function<void()> right_press_;
  std::function<void()> pointer_moved_;
};

}  // namespace tz::ui
