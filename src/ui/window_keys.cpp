#include "ui/window_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <optional>

#include "app/keys.h"

namespace tz::ui {

namespace {

std::optional<Key> window_key(const QKeyEvent& event) {
  if (event.key() == Qt::Key_F8) return Key::F8;
  // With Ctrl or Alt these keys are other characters, or the system's.
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return std::nullopt;
  switch (event.key()) {
    case Qt::Key_Backspace:
      return Key::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Escape:
      return Key::Escape;
    default:
      return std::nullopt;
  }
}

}  // namespace

WindowKeys::WindowKeys(QWidget& window, Tenzor& tz) : QObject(&window), window_(window), tz_(tz) {
  // Seen on the application, so controls added later are covered too.
  qApp->installEventFilter(this);
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  // Keys of other windows (a message box, an open drop-down) are theirs.
  if (static_cast<QWidget*>(watched)->window() != &window_ ||
      QApplication::activeWindow() != &window_)
    return false;
  const std::optional<Key> key = window_key(*static_cast<QKeyEvent*>(event));
  return key && window_key_pressed(tz_, *key);
}

}  // namespace tz::ui
