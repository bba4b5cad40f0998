#pragma once

#include <QString>
#include <stdexcept>
#include <utility>

namespace tz {

// The file-layer error numbers the program tells apart.
namespace err {
constexpr int bad_file_name = 52;
constexpr int file_not_found = 53;
constexpr int device_io = 57;
constexpr int file_exists = 58;
constexpr int disk_full = 61;
constexpr int too_many_files = 67;
constexpr int device_unavailable = 68;
constexpr int permission_denied = 70;
constexpr int disk_not_ready = 71;
constexpr int rename_across_drives = 74;
constexpr int path_file_access = 75;
constexpr int path_not_found = 76;
}  // namespace err

// The description that goes with an error number ("Disk full" for 61).
QString error_description(int number);

// Maps a POSIX errno to an error number. `last_component` tells whether an ENOENT
// concerns the named file itself (53) or one of its parents (76).
int error_from_errno(int posix_errno, bool last_component = true);

// A failed file operation: the error number and its description.
class FileError : public std::runtime_error {
 public:
  explicit FileError(int number);
  FileError(int number, const QString& description);

  int number() const { return number_; }
  const QString& description() const { return description_; }
  // "<number> <description>", as the short messages quote it.
  QString number_and_description() const { return QString::number(number_) + u' ' + description_; }

 private:
  int number_;
  QString description_;
};

// A removal of a directory tree that stopped part-way: the file or directory it could
// not remove (in drive form) and whether anything had been removed before.
class RemovalStopped : public FileError {
 public:
  RemovalStopped(const FileError& error, QString where, bool removed_some)
      : FileError(error), where_(std::move(where)), removed_some_(removed_some) {}

  const QString& where() const { return where_; }
  bool removed_some() const { return removed_some_; }

 private:
  QString where_;
  bool removed_some_;
};

}  // namespace tz
