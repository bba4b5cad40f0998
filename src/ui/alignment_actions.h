#pragma once

namespace tz {
class MainWindow;
class Tenzor;
}  // namespace tz

namespace tz::ui {

// Connects the buttons, menu entries and mouse gestures that align and delete files
// to the logic.
void connect_alignment_actions(Tenzor& tz, MainWindow& window);

}  // namespace tz::ui
