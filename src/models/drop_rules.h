#pragma once

#include <algorithm>

#include "models/list_id.h"

namespace tz {

// What an entry dragged from one list and dropped on another does to its files.
struct DropRule {
  enum Kind {
    none,          // the list takes no drop from there
    move,          // the kept copy goes to the other directory and leaves its own
    delete_other,  // the other directory's copy is deleted
    copy,          // the kept copy is copied to the other directory
  };
  Kind kind = none;
  int kept_dir = 0;  // the directory whose copy is kept: moved, left or copied
};

// The one place that knows which list takes a drop from which, and what it does. A row is
// the list dropped on, a column the list the drag began in; the number is the directory
// whose copy is kept.
namespace drop_table {
using enum DropRule::Kind;
inline constexpr DropRule rules[5][5] = {
    // "only in dir 1": a file only in dir 2 moves there; otherwise dir 2's copy goes.
    {{}, {move, 2}, {delete_other, 1}, {delete_other, 1}, {delete_other, 1}},
    // "only in dir 2": the same, the other way round.
    {{move, 1}, {}, {delete_other, 2}, {delete_other, 2}, {delete_other, 2}},
    // "newer in dir 1" and "newer in dir 2" take no drop.
    {{}, {}, {}, {}, {}},
    {{}, {}, {}, {}, {}},
    // "aligned": the copy that is alone or newer is copied over the other.
    {{copy, 1}, {copy, 2}, {copy, 1}, {copy, 2}, {}},
};
}  // namespace drop_table

// What an entry of list `source` dropped on list `target` does.
inline DropRule drop_rule(ListId target, ListId source) {
  const int to = list_number(target), from = list_number(source);
  if (to < 1 || to > 5 || from < 1 || from > 5) no_such_list();
  return drop_table::rules[to - 1][from - 1];
}

// True when list `target` takes a drop from some list; the others show a drop refused.
inline bool takes_drops(ListId target) {
  return std::any_of(all_lists.begin(), all_lists.end(), [target](ListId source) {
    return drop_rule(target, source).kind != DropRule::none;
  });
}

}  // namespace tz
