#pragma once

#include <QString>
#include <optional>

#include "core/context.h"

namespace tz {

// The list a drag began in, from GLB_drag_source ("List1" to "List5", letter case
// ignored); nothing for anything else.
inline std::optional<ListId> drag_source_list(const QString& source) {
  const QString lower = source.toLower();
  if (lower.size() == 5 && lower.startsWith(QStringLiteral("list")))
    return list_id(lower[4].digitValue());
  return std::nullopt;
}

// What a drop received: the list the drag began in and its current entry (none when it
// has none, or an entry with an empty text).
struct DraggedEntry {
  std::optional<ListId> list;
  std::optional<Entry> entry;
};

// Takes GLB_drag_source in lower case, as every drop handler does, and finds the
// dragged entry.
inline DraggedEntry take_dragged_entry(Context& ctx) {
  QString& source = ctx.globals().GLB_drag_source;
  source = source.toLower();
  DraggedEntry dragged{drag_source_list(source), std::nullopt};
  if (!dragged.list) return dragged;
  const FileList& list = ctx.window().list(*dragged.list);
  if (list.current() >= 0 && !list.text(list.current()).isEmpty())
    dragged.entry = list.at(list.current());
  return dragged;
}

}  // namespace tz
