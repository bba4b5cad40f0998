#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <optional>

namespace tz {

// A directory as the disk knows it.
struct DirectoryId {
  dev_t device;
  ino_t inode;
};

// Removes the subdirectory `name` of the directory `parent_fd` with everything below it,
// as FileSystem::remove_tree describes, never following a link. The way down is kept in
// a list, not on the stack, and only the directory being emptied is held open, so any
// depth is removed. `shown` is `name` in drive form, for the error. When `expected` is
// given, another directory by that name fails with 76 before anything is removed. A
// failure throws RemovalStopped, naming the entry it stopped at.
void remove_directory_tree(int parent_fd, const QByteArray& name, const QString& shown,
                           std::optional<DirectoryId> expected = {});

}  // namespace tz
