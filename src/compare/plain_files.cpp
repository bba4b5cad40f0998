#include "compare/plain_files.h"

#include "platform/file_error.h"

namespace tz {

PlainFiles list_plain_files(FileSystem& fs, const QString& dir, QString& reading) {
  reading = dir;
  PlainFiles files;
  // Open first: the names are then read in the very directory the actions will use.
  files.dir = fs.open_directory(dir);
  auto listing = fs.list(dir + QStringLiteral("*.*"), attr::normal);
  while (auto entry = listing->next()) files.names.push_back(std::move(*entry));
  return files;
}

PlainFiles list_plain_files(std::shared_ptr<OpenDirectory> dir, QString& reading) {
  reading = dir->path();
  PlainFiles files{std::move(dir), {}};
  files.names = files.dir->entries(attr::normal);
  return files;
}

FileRef file_ref(const PlainFiles& files, const ListedEntry& name, QString& reading) {
  try {
    return FileRef{files.dir, name.raw, files.dir->info(name.raw)};
  } catch (const FileError&) {
    // Named only when it failed: a path for each of 100,000 files would cost time.
    reading = files.dir->path() + name.name;
    throw;
  }
}

}  // namespace tz
