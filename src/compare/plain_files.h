#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "core/entry.h"
#include "platform/file_system.h"

namespace tz {

// The plain files directly in one directory, each with its exact on-disk name and its
// status, read relative to the directory held open.
struct PlainFiles {
  std::shared_ptr<OpenDirectory> dir;
  std::vector<ListedEntry> names;
};

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

// Lists `dir` (drive form, final `\`). Throws FileError when it cannot be read;
// `reading` then names what was being read, for the message.
PlainFiles list_plain_files(FileSystem& fs, const QString& dir, QString& reading);

// The file `name` of `files` as the entry side it is.
FileRef file_ref(const PlainFiles& files, const ListedEntry& name, QString& reading);

}  // namespace tz
