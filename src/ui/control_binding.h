#pragma once

#include <QString>
#include <functional>

class QAction;
class QLabel;
class QWidget;

namespace tz {
class Control;
}

namespace tz::ui {

// Keeps a widget's caption, visibility and enabled state equal to its control's,
// now and on every change. `set_caption` puts the caption where the widget shows it.
void bind_widget(Control& control, QWidget* widget,
                 std::function<void(const QString&)> set_caption);
// The same for a menu entry, with its check mark; a user's toggle reaches the control.
void bind_action(Control& control, QAction* action);
// A list or box is spoken as the caption of the label above it, which becomes its buddy.
void name_after_label(QWidget* widget, QLabel* label, Control& label_control);
// The same for a second box under a label that already has its buddy.
void name_after_caption(QWidget* widget, Control& label_control);
// A button that acts on a list is spoken as its caption and the list's: buttons with
// one caption under different lists are told apart.
void name_with_list(QWidget* widget, Control& own, Control& list_label);

// Gives a widget standing for a named control its name where tools look for it.
void set_control_name(QWidget* widget, const QString& name);

}  // namespace tz::ui
