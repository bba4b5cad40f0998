#pragma once

#include <QString>

namespace tz {

class Context;
class Copier;
class TreeComparison;

// The "align these files" buttons under lists 1 to 4 and the cancel button.
class BulkAlign {
 public:
  BulkAlign(Context& ctx, Copier& copier, TreeComparison& tree)
      : ctx_(ctx), copier_(copier), tree_(tree) {}

  // Copies the files of dir `from` (1 or 2) of the selected entries of list `n`, or of
  // all of them when none is selected, to the other directory, moving each copied entry
  // to List5.
  void align_list(int n, int from);
  bool any_selected(int n);
  // The caption of button `n` after a click in list `n`.
  void set_align_caption(int n);

  // bot_list1 to bot_list4.
  void bot_list_Click(int n);
  void bot_cancel_Click();

 private:
  Context& ctx_;
  Copier& copier_;
  TreeComparison& tree_;
};

}  // namespace tz
