#include "platform/file_error.h"

#include <cerrno>

namespace tz {

QString error_description(int number) {
  switch (number) {
    case err::bad_file_name:
      return QStringLiteral("Bad file name or number");
    case err::file_not_found:
      return QStringLiteral("File not found");
    case err::device_io:
      return QStringLiteral("Device I/O error");
    case err::file_exists:
      return QStringLiteral("File already exists");
    case err::disk_full:
      return QStringLiteral("Disk full");
    case err::too_many_files:
      return QStringLiteral("Too many files");
    case err::device_unavailable:
      return QStringLiteral("Device unavailable");
    case err::permission_denied:
      return QStringLiteral("Permission denied");
    case err::disk_not_ready:
      return QStringLiteral("Disk not ready");
    case err::rename_across_drives:
      return QStringLiteral("Can't rename with different drive");
    case err::path_file_access:
      return QStringLiteral("Path/File access error");
    case err::path_not_found:
      return QStringLiteral("Path not found");
    default:
      return QStringLiteral("Application-defined or object-defined error");
  }
}

int error_from_errno(int posix_errno, bool last_component) {
  switch (posix_errno) {
    case ENOENT:
      return last_component ? err::file_not_found : err::path_not_found;
    case ENOTDIR:
      return err::path_not_found;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return err::bad_file_name;
    case EEXIST:
      return err::file_exists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return err::disk_full;
    case EMFILE:
    case ENFILE:
      return err::too_many_files;
    case EACCES:
    case EPERM:
      return err::permission_denied;
    case EXDEV:
      return err::rename_across_drives;
    case EROFS:
    case EBUSY:
    case ENOTEMPTY:
    case ETXTBSY:
    case EISDIR:
    case ELOOP:
      return err::path_file_access;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
      return err::disk_not_ready;
    default:
      // EIO and anything we cannot name: the device failed us.
      return err::device_io;
  }
}

FileError::FileError(int number) : FileError(number, error_description(number)) {}

FileError::FileError(int number, const QString& description)
    : std::runtime_error((QString::number(number) + u' ' + description).toStdString()),
      number_(number),
      description_(description) {}

}  // namespace tz
