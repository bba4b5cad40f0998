#include "app/keys.h"

#include "app/tenzor.h"
#include "history/history.h"

namespace tz {

bool window_key_pressed(Tenzor& tz, Key key) {
  History& history = tz.history();
  switch (key) {
    case Key::F8:
      history.m_history_Click();
      return true;
    case Key::Backspace:
      if (history.view_visible())
        history.m_select_Click();
      else
        history.m_history_Click();
      return true;
    case Key::Enter:
      // Without the history, Enter belongs to the control (a pane opens its entry).
      if (!history.view_visible()) return false;
      history.m_select_Click();
      return true;
    case Key::Escape:
      tz.services().exit.close_window();
      return true;
  }
  return false;
}

}  // namespace tz
