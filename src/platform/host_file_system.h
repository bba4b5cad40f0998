#pragma once

#include <memory>

#include "platform/drive_table.h"
#include "platform/file_system.h"
#include "platform/host_copy.h"
#include "platform/host_path_resolver.h"

namespace tz {

// Drive-form files on a POSIX host, through a drive table.
//
// Every method also takes a native absolute path (`/home/ann/...`), read as drive form
// is (`\` separates names); the program's own files have methods of their own that take
// native paths exactly. Paths are followed one directory at a time, so that one longer than the
// host takes whole (PATH_MAX) is reached as well.
class HostFileSystem : public FileSystem {
 public:
  explicit HostFileSystem(DriveTable table)
      : resolver_(std::make_shared<PathResolver>(std::move(table))),
        sweeper_(std::make_shared<LeftoverSweeper>()) {}

  QList<QChar> drives() override { return resolver_->table().letters(); }
  void check_drive(QChar letter) override { resolver_->check_drive(letter.toUpper()); }

  std::unique_ptr<Listing> list(const QString& pattern_path, int mask) override;
  FileInfo info(const QString& path) override;
  std::shared_ptr<OpenDirectory> open_directory(const QString& path) override;
  QString canonical_path(const QString& path) override;
  bool same_file(const QString& a, const QString& b) override;
  QString host_path(const QString& path) override;

  // Throws CopyError, which tells whether the source or the target failed.
  void copy_file(const QString& source, const QString& target) override;
  void remove_file(const QString& path) override;
  void rename(const QString& from, const QString& to) override;
  void make_directory(const QString& path) override;
  void remove_directory(const QString& path) override;
  void remove_tree(const QString& path) override;
  std::unique_ptr<CopyBatch> copy_batch() override;

  QStringList read_lines(const QString& path) override;
  void write_lines(const QString& path, const QStringList& lines) override;
  QStringList read_own_lines(const QByteArray& native_path, qsizetype longest_line) override;
  void write_own_lines(const QByteArray& native_path, const QStringList& lines) override;
  void make_own_folder(const QByteArray& native_path) override;

 private:
  // Shared with the directories handed out, which keep its names up to date as they
  // change files.
  std::shared_ptr<PathResolver> resolver_;
  std::shared_ptr<LeftoverSweeper> sweeper_;
};

}  // namespace tz
