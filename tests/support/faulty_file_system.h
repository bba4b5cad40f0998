#pragma once

#include <QString>
#include <functional>

#include "platform/host_file_system.h"

namespace tz::test {

// The real host file system, with failures a test may inject: `fault(operation, path)`
// runs before the operation and may throw a FileError. Operations are named after the
// methods: "info" (also for reads through an open directory), "list", "copy_file" and
// "remove_file".
class FaultyFileSystem : public HostFileSystem {
 public:
  using HostFileSystem::HostFileSystem;

  std::function<void(const QString& operation, const QString& path)> fault;

  std::unique_ptr<Listing> list(const QString& pattern_path, int mask) override {
    hit("list", pattern_path);
    return HostFileSystem::list(pattern_path, mask);
  }
  FileInfo info(const QString& path) override {
    hit("info", path);
    return HostFileSystem::info(path);
  }
  std::unique_ptr<OpenDirectory> open_directory(const QString& path) override {
    return std::make_unique<FaultyDirectory>(*this, path, HostFileSystem::open_directory(path));
  }
  void copy_file(const QString& source, const QString& target) override {
    hit("copy_file", source);
    HostFileSystem::copy_file(source, target);
  }
  void remove_file(const QString& path) override {
    hit("remove_file", path);
    HostFileSystem::remove_file(path);
  }

 private:
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
};

}  // namespace tz::test
