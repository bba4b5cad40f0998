#pragma once

#include <QString>
#include <optional>

#include "models/drop_rules.h"
#include "models/entry.h"
#include "models/list_id.h"

namespace tz {

class Context;
class Copier;
class Comparison;
class FileList;

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

  // The dragged entry dropped on list `target`: what it does is the drop rule's.
  void list_DragDrop(ListId target);

  // The pointer over entry `index` of a list (-1 below the last entry): the file's
  // date, time, length and path in the hint line.
  void list_mouse_move(ListId id, int index);

 private:
  // A drop under way: the entry with its files as the drop finds them, the directory
  // whose copy is kept, the list the entry leaves and the one it joins.
  struct Drop {
    Entry entry;
    int kept;
    FileList& from;
    FileList& to;
    int other() const { return 3 - kept; }
  };
  // One function for each kind of drop; each throws Refusal or FileError to stop.
  void move_file(const Drop& drop);
  void delete_other(const Drop& drop);
  void copy_file(const Drop& drop);
  // The kept copy copied to the other directory, for a move or a copy: the entry with
  // both files, or nothing when no copy was made.
  std::optional<Entry> copy_kept(const Drop& drop);
  // Both files of `entry` as they are now, in the list a new comparison would put them
  // in; a side that is gone or no file any more is left out.
  void place_as_found(Entry entry);

  Context& ctx_;
  Copier& copier_;
  Comparison& comparison_;
};

}  // namespace tz
