#pragma once

#include <QString>

namespace tz {

class Context;

// The history of compared pairs.
class History {
 public:
  explicit History(Context& ctx) : ctx_(ctx) {}

  // Records the pair in the panes at the top of the history.
  void record_pair();
  // Loads the history list from the history file.
  void load();
  // The newest recorded pair, empty when there is none.
  QString first_entry() const;
  // Opens the history view (F8, "&History").
  void m_history_Click();
  // Leaves the history view.
  void m_close_Click();
  // Opens the pair highlighted in the history view.
  void m_select_Click();
  bool view_visible() const;

 private:
  Context& ctx_;
};

}  // namespace tz
