#pragma once

class QWidget;

namespace tz::ui {

// Places the main window's controls, found by name inside `area`, in twips at the
// screen's resolution. `outer_height_twips` is the window's height with its frame,
// which the bottom row is measured from.
void place_main_controls(QWidget& area, int outer_height_twips);

}  // namespace tz::ui
