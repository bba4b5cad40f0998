#pragma once

#include <QString>

namespace tz {

class Context;

// The logic of the window "Tree comparison", which shows the report of branches found
// in one tree only (GLB_mismatch_text) before the step-through. The tree comparison
// reads the decision from GLB_mismatch_text once the window is closed: empty means
// stop, anything else go on.
class Results {
 public:
  explicit Results(Context& ctx) : ctx_(ctx) {}

  // The report as the window shows it: without the CR LF that opens it, so that the
  // first line stands first.
  QString shown_text() const;

  // "proceed with common branches", and the caption bar's close: the report stays.
  void b_proceed_Click() {}
  // "cancel operation": the report is emptied, so the tree comparison stops.
  void b_cancel_Click();
  // "save text in notepad file": the window stays open.
  void b_save_notepad_Click();

  // Writes "tenzor.log" in the process's working directory as the host names it
  // ("TENZOR.LOG ", the date and time in the locale's short forms, CR LF, `text`, CR
  // LF), replacing it atomically; beeps three times and opens it in the text editor
  // without waiting. A log that cannot be written is said with its folder, an editor
  // that cannot be started with the log, in a message box.
  void save_in_notepad(const QString& text);

 private:
  Context& ctx_;
};

}  // namespace tz
