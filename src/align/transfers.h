#pragma once

#include <QString>

namespace tz {

class Tenzor;

// The mouse on the five lists: dragging names from one list onto another to copy, move
// or delete files, the file details under the pointer and the list context menu.
class Transfers {
 public:
  explicit Transfers(Tenzor& tz) : tz_(tz) {}

  // A press in list `n` (1 to 5), not with the right button: a drag from it begins.
  void start_drag(int n);
  // A right press in list `n`: the context menu will act on it.
  void set_popup_list(int n) { popup_list_ = n; }
  int popup_list() const { return popup_list_; }

  // The dragged name dropped on list `target`. Only lists 1, 2 and 5 take a drop.
  void list_DragDrop(int target);

  // The pointer over entry `index` of list `n` (-1 below the last entry): the file's
  // date, time, length and path in the hint line.
  void list_mouse_move(int n, int index);

 private:
  Tenzor& tz_;
  int popup_list_ = 0;
};

}  // namespace tz
