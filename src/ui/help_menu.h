#pragma once

namespace tz {
class MainWindow;
class Tenzor;
}  // namespace tz

namespace tz::ui {

// Connects the Help menu's entries to the help texts, the version history (shown in the
// text window over `window`), the about box and the maker's web site.
void connect_help_menu(Tenzor& tz, MainWindow& window);

}  // namespace tz::ui
