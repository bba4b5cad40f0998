#include "compare/plain_files.h"

#include "platform/file_error.h"

namespace tz {

std::vector<ListedEntry> PendingFiles::list() const {
  std::vector<ListedEntry> names;
  each([&names](ListedEntry& entry) { names.push_back(std::move(entry)); });
  return names;
}

PendingFiles open_plain_files(FileSystem& fs, const QString& dir) {
  // Open first: the names are then read in the very directory the actions will use.
  PendingFiles files{fs.open_directory(dir), {}};
  std::shared_ptr<Listing> listing = fs.list(dir + QStringLiteral("*.*"), attr::normal);
  files.each = [listing](const PendingFiles::Visit& visit) {
    while (auto entry = listing->next()) visit(*entry);
  };
  return files;
}

PendingFiles open_plain_files(std::shared_ptr<OpenDirectory> dir) {
  return PendingFiles{dir, [dir](const PendingFiles::Visit& visit) {
                        for (ListedEntry& entry : dir->entries(attr::normal)) visit(entry);
                      }};
}

PendingFiles listed_plain_files(std::shared_ptr<OpenDirectory> dir,
                                std::shared_ptr<const std::vector<ListedEntry>> files) {
  return PendingFiles{std::move(dir), [files](const PendingFiles::Visit& visit) {
                        for (ListedEntry entry : *files) visit(entry);
                      }};
}

}  // namespace tz
