#pragma once

namespace tz {

class Tenzor;

enum class Key { F8, Backspace, Enter, Escape };

// The window-wide keys, seen before the control that has the focus. Returns true when
// the key was handled here and must not reach that control.
bool window_key_pressed(Tenzor& tz, Key key);

}  // namespace tz
