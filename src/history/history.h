#pragma once

#include <QString>
#include <optional>

#include "platform/file_error.h"

namespace tz {

class Context;
class PairOpener;

// The history of compared pairs: at most 30, newest first, kept in the history file
// and shown in the history view over the window.
class History {
 public:
  History(Context& ctx, PairOpener& opener) : ctx_(ctx), opener_(opener) {}

  // The entry for a pair: dir 1's path padded with blanks to 35 characters, " <-> ",
  // dir 2's path.
  static QString entry_text(const QString& path1, const QString& path2);

  // Records the pair in the panes at the top of the history and saves it.
  void record_pair();
  // Loads the history list from the history file; a file that cannot be read is an
  // empty history, and is never replaced.
  void load();
  // Replaces the history file by the list, atomically; a failure is said once, naming
  // the file and the reason, and the program goes on.
  void save();
  // The newest recorded pair, empty when there is none.
  QString first_entry() const;

  // Opens the history view (F8, Backspace, "&History", a right click on the window).
  void m_history_Click();
  // Leaves the history view.
  void m_close_Click();
  // Opens the pair selected in the history view (also Enter and Backspace there).
  void m_select_Click();
  void history_DblClick(int row);
  // Deletes the selected entry ("&Delete", the Delete key in the list).
  void m_delete_Click();
  void m_clear_all_Click();
  bool view_visible() const;

 private:
  void show_view(bool shown);

  Context& ctx_;
  PairOpener& opener_;
  // Why the history file that is there could not be loaded: it is then never replaced.
  std::optional<FileError> unreadable_;
  // A failed save was said; the next ones are not, until one succeeds.
  bool failure_said_ = false;
};

}  // namespace tz
