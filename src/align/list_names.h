#pragma once

#include <QString>

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

}  // namespace tz
