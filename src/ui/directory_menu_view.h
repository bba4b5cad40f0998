#pragma once

namespace tz {
class MainWindow;
class Tenzor;
}  // namespace tz

namespace tz::ui {

// Pops the directory boxes' context menu up at the pointer on a right click in Dir1 or
// Dir2, and connects its entries to the logic, which lives as long as the window.
void connect_directory_menu(Tenzor& tz, MainWindow& window);

}  // namespace tz::ui
