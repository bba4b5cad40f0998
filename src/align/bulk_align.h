#pragma once

#include <QString>

namespace tz {

class Tenzor;

// The "align these files" buttons under lists 1 to 4 and the cancel button.
class BulkAlign {
 public:
  explicit BulkAlign(Tenzor& tz) : tz_(tz) {}

  // Copies the selected entries of list `n`, or all of them when none is selected, from
  // `source_dir` to `target_dir` (both ending in "\"), moving each copied name to List5.
  void align_list(int n, const QString& source_dir, const QString& target_dir);
  bool any_selected(int n);
  // The caption of button `n` after a click in list `n`.
  void set_align_caption(int n);

  // bot_list1 to bot_list4.
  void bot_list_Click(int n);
  void bot_cancel_Click();

 private:
  Tenzor& tz_;
};

}  // namespace tz
