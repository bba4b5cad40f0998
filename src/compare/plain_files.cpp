#include "compare/plain_files.h"

#include "platform/file_error.h"

namespace tz {

namespace {

std::vector<ListedEntry> drain(Listing& listing) {
  std::vector<ListedEntry> names;
  while (auto entry = listing.next()) names.push_back(std::move(*entry));
  return names;
}

}  // namespace

PendingFiles open_plain_files(FileSystem& fs, const QString& dir) {
  // Open first: the names are then read in the very directory the actions will use.
  PendingFiles files{fs.open_directory(dir), {}};
  std::shared_ptr<Listing> listing = fs.list(dir + QStringLiteral("*.*"), attr::normal);
  files.list = [listing] { return drain(*listing); };
  return files;
}

PendingFiles open_plain_files(std::shared_ptr<OpenDirectory> dir) {
  return PendingFiles{dir, [dir] { return dir->entries(attr::normal); }};
}

}  // namespace tz
