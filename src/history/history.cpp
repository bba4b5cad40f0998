#include "history/history.h"

#include "core/context.h"

namespace tz {

void History::record_pair() {
  // Recording the pair in the history file comes here.
}

void History::load() {
  // Reading the history file into the history list comes here.
}

QString History::first_entry() const {
  return ctx_.window().history.count() > 0 ? ctx_.window().history.text(0) : QString();
}

void History::m_history_Click() {
  // Showing the history view comes here.
}

void History::m_close_Click() {
  // Leaving the history view comes here.
}

void History::m_select_Click() {
  // Opening the highlighted pair of the history view comes here.
}

bool History::view_visible() const {
  return ctx_.window().history_box.visible();
}

}  // namespace tz
