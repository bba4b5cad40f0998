#include "platform/qt/qt_busy_pointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace tz {

QtBusyPointer::~QtBusyPointer() {
  if (qGuiApp != nullptr) set_busy(false);
}

void QtBusyPointer::set_busy(bool busy) {
  if (busy) {
    // Qt stacks override cursors; replace ours instead of pushing another.
    if (overriding_) {
      QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
      overriding_ = true;
    }
  } else if (overriding_) {
    QGuiApplication::restoreOverrideCursor();
    overriding_ = false;
  }
}

}  // namespace tz
