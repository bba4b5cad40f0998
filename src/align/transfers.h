#pragma once

#include <QString>

#include "models/entry.h"
#include "models/list_id.h"

namespace tz {

class Context;
class Copier;
class Comparison;

// What a drop does, by target and source list.
struct DropRule {
  enum Kind { none, move, delete_other, copy } kind = none;
  int from_dir = 0;  // the directory whose copy is kept (copied or left)
};

// The mouse on the five lists: dragging names from one list onto another to copy, move
// or delete files, the file details under the pointer and the list context menu.
class Transfers {
 public:
  Transfers(Context& ctx, Copier& copier, Comparison& comparison)
      : ctx_(ctx), copier_(copier), comparison_(comparison) {}

  // A press in a list, not with the right button: a drag from it begins.
  void start_drag(ListId id);
  // A right press in a list: the context menu will act on it.
  void set_popup_list(ListId id);

  // The dragged entry dropped on list `target`. Only List1, List2 and List5 take a drop.
  void list_DragDrop(ListId target);

  // The pointer over entry `index` of a list (-1 below the last entry): the file's
  // date, time, length and path in the hint line.
  void list_mouse_move(ListId id, int index);

 private:
  void drop(const DropRule& row, ListId source, ListId target, const Entry& entry);
  // Both files of `entry` as they are now, in the list a new comparison would put them
  // in; a side that is gone or no file any more is left out.
  void place_as_found(Entry entry);

  Context& ctx_;
  Copier& copier_;
  Comparison& comparison_;
};

}  // namespace tz
