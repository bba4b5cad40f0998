#pragma once

#include <QStringList>
#include <vector>

#include "models/entry.h"

namespace tz::test {

// Entries that show `texts` and stand for no file, for tests of the lists alone.
inline std::vector<Entry> text_entries(const QStringList& texts) {
  std::vector<Entry> entries;
  for (const QString& t : texts) entries.push_back(Entry{t, std::nullopt, std::nullopt});
  return entries;
}

}  // namespace tz::test
