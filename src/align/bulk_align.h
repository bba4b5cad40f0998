#pragma once

#include <QString>

#include "models/list_id.h"

namespace tz {

class Context;
class Copier;
class TreeComparison;

// The "align these files" buttons under lists 1 to 4 and the cancel button.
class BulkAlign {
 public:
  BulkAlign(Context& ctx, Copier& copier, TreeComparison& tree)
      : ctx_(ctx), copier_(copier), tree_(tree) {}

  // Copies the files of dir `from` (1 or 2) of the selected entries of a list, or of
  // all of them when none is selected, to the other directory, moving each copied entry
  // to List5.
  void align_list(ListId id, int from);
  bool any_selected(ListId id);
  // The caption of a list's align button after a click in the list.
  void set_align_caption(ListId id);

  // bot_list1 to bot_list4, under List1 to List4.
  void bot_list_Click(ListId id);
  void bot_cancel_Click();

 private:
  class Run;

  Context& ctx_;
  Copier& copier_;
  TreeComparison& tree_;
};

}  // namespace tz
