#pragma once

#include <QString>
#include <functional>

#include "platform/file_system.h"

namespace tz::test {

// Passes every call to a real file system, after letting a test inject a failure:
// `fault(operation, path)` may throw a FileError. Operations are named after the
// methods ("info", "list", "copy_file"...).
class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

  std::function<void(const QString& operation, const QString& path)> fault;

  QList<QChar> drives() override { return real_.drives(); }
  void check_drive(QChar letter) override {
    hit("check_drive", QString(letter));
    real_.check_drive(letter);
  }
  std::unique_ptr<Listing> list(const QString& pattern_path, int mask) override {
    hit("list", pattern_path);
    return real_.list(pattern_path, mask);
  }
  FileInfo info(const QString& path) override {
    hit("info", path);
    return real_.info(path);
  }
  std::unique_ptr<OpenDirectory> open_directory(const QString& path) override {
    hit("open_directory", path);
    return std::make_unique<FaultyDirectory>(*this, path, real_.open_directory(path));
  }
  QString canonical_path(const QString& path) override {
    hit("canonical_path", path);
    return real_.canonical_path(path);
  }
  bool same_file(const QString& a, const QString& b) override { return real_.same_file(a, b); }
  QString host_path(const QString& path) override {
    hit("host_path", path);
    return real_.host_path(path);
  }
  void copy_file(const QString& source, const QString& target) override {
    hit("copy_file", source);
    real_.copy_file(source, target);
  }
  void remove_file(const QString& path) override {
    hit("remove_file", path);
    real_.remove_file(path);
  }
  void rename(const QString& from, const QString& to) override {
    hit("rename", from);
    real_.rename(from, to);
  }
  void make_directory(const QString& path) override {
    hit("make_directory", path);
    real_.make_directory(path);
  }
  void remove_directory(const QString& path) override {
    hit("remove_directory", path);
    real_.remove_directory(path);
  }
  QStringList read_lines(const QString& path) override {
    hit("read_lines", path);
    return real_.read_lines(path);
  }
  void write_lines(const QString& path, const QStringList& lines) override {
    hit("write_lines", path);
    real_.write_lines(path, lines);
  }

 private:
  // Reports its reads as "info" of the full path, as the real reads would be.
  class FaultyDirectory : public OpenDirectory {
   public:
    FaultyDirectory(FaultyFileSystem& fs, QString path, std::unique_ptr<OpenDirectory> real)
        : fs_(fs), path_(std::move(path)), real_(std::move(real)) {}
    FileInfo info(const QString& name) override {
      fs_.hit("info", path_ + name);
      return real_->info(name);
    }

   private:
    FaultyFileSystem& fs_;
    QString path_;
    std::unique_ptr<OpenDirectory> real_;
  };

  void hit(const char* operation, const QString& path) {
    if (fault) fault(QString::fromLatin1(operation), path);
  }
  FileSystem& real_;
};

}  // namespace tz::test
