#include "ui/run_guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "models/window_model.h"

namespace tz::ui {

namespace {

bool is_input(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

RunGuard::RunGuard(QWidget& window, WindowModel& model)
    : QObject(&window), window_(window), model_(model) {
  // Seen on the application before any control's own handling, the window's keys and
  // the menus' shortcuts included (the filter installed last sees events first).
  qApp->installEventFilter(this);
}

bool RunGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!model_.running() || !is_input(event->type())) return false;
  return !allowed(watched, event);
}

bool RunGuard::allowed(QObject* watched, QEvent* event) const {
  if (!watched->isWidgetType()) {
    // A menu entry's shortcut reaches its action, which the window owns; a message box's
    // button takes its own as a widget of that box.
    const auto* owner = qobject_cast<QWidget*>(watched->parent());
    return event->type() != QEvent::Shortcut || owner == nullptr || owner->window() != &window_;
  }
  const auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != &window_) return true;
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) return true;
  }
  for (const QWidget* w = widget; w != nullptr && w != &window_; w = w->parentWidget()) {
    const QString& name = w->objectName();
    if (name == QLatin1String("bot_cancel") || name == QLatin1String("bot_exit")) return true;
  }
  return false;
}

}  // namespace tz::ui
