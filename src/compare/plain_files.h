#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "models/entry.h"
#include "platform/file_system.h"

namespace tz {

// A directory reached, whose plain files are listed when `each` or `list` is called, on
// this thread or another: listing touches only the open directory and its listing.
struct PendingFiles {
  using Visit = std::function<void(ListedEntry&)>;
  std::shared_ptr<OpenDirectory> dir;
  // Hands every plain file to `visit` as it is listed, so that a caller keeping little
  // of each name never holds the whole listing. Throws FileError.
  std::function<void(const Visit& visit)> each;

  std::vector<ListedEntry> list() const;  // throws FileError
};

// Reaches `dir` (drive form, final `\`) and opens its listing. Throws FileError.
PendingFiles open_plain_files(FileSystem& fs, const QString& dir);
// The directory held open.
PendingFiles open_plain_files(std::shared_ptr<OpenDirectory> dir);
// The directory held open, with its plain files as just listed.
PendingFiles listed_plain_files(std::shared_ptr<OpenDirectory> dir,
                                std::shared_ptr<const std::vector<ListedEntry>> files);

}  // namespace tz
