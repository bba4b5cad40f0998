#pragma once

#include <QMap>
#include <QString>

#include "platform/file_error.h"
#include "platform/file_system.h"

namespace tz::test {

// The error number `action` throws, 0 when it succeeds.
template <class Action>
int error_number(Action&& action) {
  try {
    action();
  } catch (const FileError& error) {
    return error.number();
  }
  return 0;
}

// Every entry of a listing: name -> attributes.
inline QMap<QString, int> listed(FileSystem& fs, const QString& pattern_path, int mask) {
  QMap<QString, int> entries;
  auto listing = fs.list(pattern_path, mask);
  while (auto entry = listing->next()) entries.insert(entry->name, entry->attributes);
  return entries;
}

}  // namespace tz::test
