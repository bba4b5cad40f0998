#include "ui/free_area.h"

#include <QMouseEvent>
#include <QWidget>

namespace tz::ui {

FreeArea::FreeArea(QWidget& area, std::function<void()> right_press,
                   std::function<void()> pointer_moved)
    : QObject(&area),
      area_(area),
      right_press_(std::move(right_press)),
      pointer_moved_(std::move(pointer_moved)) {
  // Moves without a button arrive only when tracked.
  area_.setMouseTracking(true);
  area_.installEventFilter(this);
}

bool FreeArea::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &area_) return false;
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove) return false;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  // A control's unhandled press or move reaches the area too; it stays the control's.
  if (area_.childAt(mouse->position().toPoint()) != nullptr) return false;
  if (type == QEvent::MouseMove)
    pointer_moved_();
  else if (mouse->button() == Qt::RightButton)
    right_press_();
  return false;
}

}  // namespace tz::ui
