#pragma once

#include <QString>

namespace tz {

class Context;
class Copier;
class Comparison;

// The mouse on the five lists: dragging names from one list onto another to copy, move
// or delete files, the file details under the pointer and the list context menu.
class Transfers {
 public:
  Transfers(Context& ctx, Copier& copier, Comparison& comparison)
      : ctx_(ctx), copier_(copier), comparison_(comparison) {}

  // A press in list `n` (1 to 5), not with the right button: a drag from it begins.
  void start_drag(int n);
  // A right press in list `n`: the context menu will act on it.
  void set_popup_list(int n);

  // The dragged name dropped on list `target`. Only lists 1, 2 and 5 take a drop.
  void list_DragDrop(int target);

  // The pointer over entry `index` of list `n` (-1 below the last entry): the file's
  // date, time, length and path in the hint line.
  void list_mouse_move(int n, int index);

 private:
  Context& ctx_;
  Copier& copier_;
  Comparison& comparison_;
};

}  // namespace tz
