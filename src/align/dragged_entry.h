#pragma once

#include <QString>
#include <optional>

#include "core/context.h"

namespace tz {

// The number 1 to 5 of the list a drag began in, from GLB_drag_source ("List1" to
// "List5", letter case ignored); 0 for anything else.
inline int drag_source_number(const QString& source) {
  const QString lower = source.toLower();
  if (lower.size() == 5 && lower.startsWith(QStringLiteral("list"))) {
    const int n = lower[4].digitValue();
    if (n >= 1 && n <= 5) return n;
  }
  return 0;
}

// What a drop received: the list the drag began in (0 for none) and its current
// entry (none when it has none, or an entry with an empty text).
struct DraggedEntry {
  int list = 0;
  std::optional<Entry> entry;
};

// Takes GLB_drag_source in lower case, as every drop handler does, and finds the
// dragged entry.
inline DraggedEntry take_dragged_entry(Context& ctx) {
  QString& source = ctx.globals().GLB_drag_source;
  source = source.toLower();
  DraggedEntry dragged{drag_source_number(source), std::nullopt};
  if (dragged.list == 0) return dragged;
  const FileList& list = ctx.window().list(dragged.list);
  if (list.current() >= 0 && !list.text(list.current()).isEmpty())
    dragged.entry = list.at(list.current());
  return dragged;
}

}  // namespace tz
