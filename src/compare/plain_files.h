#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "core/entry.h"
#include "platform/file_system.h"

namespace tz {

// A directory reached, whose plain files are listed when `list` is called, on this
// thread or another: `list` touches only the open directory and its listing.
struct PendingFiles {
  std::shared_ptr<OpenDirectory> dir;
  std::function<std::vector<ListedEntry>()> list;  // throws FileError
};

// Reaches `dir` (drive form, final `\`) and opens its listing. Throws FileError.
PendingFiles open_plain_files(FileSystem& fs, const QString& dir);
// The directory held open.
PendingFiles open_plain_files(std::shared_ptr<OpenDirectory> dir);

}  // namespace tz
