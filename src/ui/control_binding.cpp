#include "ui/control_binding.h"

#include <QAction>
#include <QLabel>
#include <QObject>
#include <QWidget>

#include "models/control.h"
#include "texts/texts.h"

namespace tz::ui {

namespace {

// "&compare dir's" is spoken as "compare dir's"; "&&" stands for a literal ampersand.
QString without_access_keys(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    out.append(caption[i]);
  }
  return out;
}

}  // namespace

void set_control_name(QWidget* widget, const QString& name) {
  widget->setObjectName(name);
  widget->setAccessibleDescription(name);
}

void bind_widget(Control& control, QWidget* widget,
                 std::function<void(const QString&)> set_caption) {
  auto apply = [&control, widget, set_caption] {
    if (set_caption) set_caption(control.caption());
    widget->setVisible(control.visible());
    widget->setEnabled(control.enabled());
  };
  apply();
  QObject::connect(&control, &Control::changed, widget, apply);
}

void bind_action(Control& control, QAction* action) {
  action->setObjectName(control.name());
  auto apply = [&control, action] {
    action->setText(control.caption());
    action->setVisible(control.visible());
    action->setEnabled(control.enabled());
    if (action->isCheckable()) action->setChecked(control.checked());
  };
  apply();
  QObject::connect(&control, &Control::changed, action, apply);
  // set_checked does nothing when the value is already there, so the echo stops here.
  QObject::connect(action, &QAction::toggled, &control,
                   [&control](bool checked) { control.set_checked(checked); });
}

void name_after_label(QWidget* widget, QLabel* label, Control& label_control) {
  label->setBuddy(widget);
  name_after_caption(widget, label_control);
}

void name_after_caption(QWidget* widget, Control& label_control) {
  // Qt's list views do not take their name from a buddy label, so pass it on by hand.
  auto apply = [widget, &label_control] {
    widget->setAccessibleName(without_access_keys(label_control.caption()));
  };
  apply();
  QObject::connect(&label_control, &Control::changed, widget, apply);
}

void name_with_list(QWidget* widget, Control& own, Control& list_label) {
  auto apply = [widget, &own, &list_label] {
    const QString name = without_access_keys(own.caption());
    const QString list = without_access_keys(list_label.caption());
    widget->setAccessibleName(list.isEmpty() ? name : name + text::name_and_list + list);
  };
  apply();
  QObject::connect(&own, &Control::changed, widget, apply);
  QObject::connect(&list_label, &Control::changed, widget, apply);
}

}  // namespace tz::ui
