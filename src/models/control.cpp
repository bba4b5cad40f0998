#include "models/control.h"

namespace tz {

Control::Control(const QString& name, const QString& caption, QObject* parent)
    : QObject(parent), name_(name), caption_(caption) {
  setObjectName(name);
}

void Control::set_caption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  emit changed();
}

void Control::set_visible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  emit changed();
}

void Control::set_enabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  emit changed();
}

void Control::set_checked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  emit changed();
}

}  // namespace tz
