#pragma once

#include <QFile>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/file_error.h"
#include "platform/host_file_system.h"

namespace tz::test {

// The real host file system, with failures a test may inject: `fault(operation, path)`
// runs before the operation and may throw a FileError. Operations are named
// after the methods: "info" (also for info and exists through an open directory),
// "list" (also for entries), "copy_file" (with the source's path, also for copy_to),
// "remove_file" (also for remove), "make_directory" (also for make_subdirectory),
// "remove_tree" (also through an open directory), "open" (open_directory), "commit" (a
// batch of copies, with the first copy's source path) and
// "read_own_lines" (with the native path as text). Through an open directory the path is its path()
// followed by the name as displayed.
class FaultyFileSystem : public HostFileSystem {
 public:
  using HostFileSystem::HostFileSystem;

  std::function<void(const QString& operation, const QString& path)> fault;
  // What a status read through an open directory gives, changed as a test says: a node
  // that keeps its inode but is no file any more, which no real file system does on cue.
  std::function<void(const QString& path, FileInfo& info)> seen_as;
  // Lookups through open directories find a name in any letter case, and a copy to a new
  // name that matches one there in another case is refused as taken (58), as on FAT (the
  // copy looks the name up first, an "info" of the target).
  bool ignores_case = false;

  std::unique_ptr<Listing> list(const QString& pattern_path, int mask) override {
    hit("list", pattern_path);
    return HostFileSystem::list(pattern_path, mask);
  }
  FileInfo info(const QString& path) override {
    hit("info", path);
    return HostFileSystem::info(path);
  }
  std::shared_ptr<OpenDirectory> open_directory(const QString& path) override {
    hit("open", path);
    return std::make_shared<FaultyDirectory>(*this, HostFileSystem::open_directory(path));
  }
  void copy_file(const QString& source, const QString& target) override {
    hit("copy_file", source);
    HostFileSystem::copy_file(source, target);
  }
  void remove_file(const QString& path) override {
    hit("remove_file", path);
    HostFileSystem::remove_file(path);
  }
  void make_directory(const QString& path) override {
    hit("make_directory", path);
    HostFileSystem::make_directory(path);
  }
  void remove_tree(const QString& path) override {
    hit("remove_tree", path);
    HostFileSystem::remove_tree(path);
  }
  std::unique_ptr<CopyBatch> copy_batch() override {
    return std::make_unique<FaultyBatch>(*this, HostFileSystem::copy_batch());
  }
  QStringList read_own_lines(const QByteArray& native_path, qsizetype longest_line) override {
    hit("read_own_lines", QFile::decodeName(native_path));
    return HostFileSystem::read_own_lines(native_path, longest_line);
  }

 private:
  class FaultyBatch;
  // Must not outlive the file system that made it.
  class FaultyDirectory : public OpenDirectory {
   public:
    FaultyDirectory(FaultyFileSystem& fs, std::shared_ptr<OpenDirectory> real)
        : fs_(fs), real_(std::move(real)), path_(real_->path()) {}

    QString path() const override { return path_; }
    FileInfo self() override { return real_->self(); }

    FileInfo info(const QByteArray& name) override {
      fs_.hit("info", path_ + display_name(name));
      FileInfo info = real_->info(found(name));
      if (fs_.seen_as) fs_.seen_as(path_ + display_name(name), info);
      return info;
    }
    bool exists(const QByteArray& name) override {
      fs_.hit("info", path_ + display_name(name));
      return real_->exists(found(name));
    }
    FileInfo copy_to(const QByteArray& name, OpenDirectory& target, const QByteArray& target_name,
                     Target mode) override {
      fs_.hit("copy_file", path_ + display_name(name));
      fs_.check_new_name(target, target_name, mode);
      return real_->copy_to(name, target, target_name, mode);
    }
    HostDirectory& host_directory() override { return real_->host_directory(); }
    void remove(const QByteArray& name, Flush when) override {
      fs_.hit("remove_file", path_ + display_name(name));
      real_->remove(name, when);
    }
    void flush() override { real_->flush(); }
    std::optional<QString> host_path(const QByteArray& name) override {
      return real_->host_path(name);
    }
    std::vector<ListedEntry> entries(int mask) override {
      fs_.hit("list", path_);
      return real_->entries(mask);
    }
    std::shared_ptr<OpenDirectory> open_subdirectory(const QByteArray& name) override {
      return std::make_shared<FaultyDirectory>(fs_, real_->open_subdirectory(name));
    }
    std::shared_ptr<OpenDirectory> make_subdirectory(const QByteArray& name) override {
      fs_.hit("make_directory", path_ + display_name(name));
      return std::make_shared<FaultyDirectory>(fs_, real_->make_subdirectory(name));
    }
    void rename(const QByteArray& name, const QByteArray& new_name) override {
      real_->rename(name, new_name);
    }
    void remove_tree(const QByteArray& name, const FileInfo& expected) override {
      fs_.hit("remove_tree", path_ + display_name(name));
      real_->remove_tree(name, expected);
    }

   private:
    // The name a lookup finds for `name`: itself, or when the file system ignores case
    // and it is missing, one that differs from it only in case.
    QByteArray found(const QByteArray& name) {
      if (!fs_.ignores_case || real_->exists(name)) return name;
      for (const ListedEntry& entry : real_->entries(attr::hidden | attr::directory))
        if (entry.name.compare(display_name(name), Qt::CaseInsensitive) == 0) return entry.raw;
      return name;
    }

    FaultyFileSystem& fs_;
    std::shared_ptr<OpenDirectory> real_;
    QString path_;
  };

  class FaultyBatch : public CopyBatch {
   public:
    FaultyBatch(FaultyFileSystem& fs, std::unique_ptr<CopyBatch> real)
        : fs_(fs), real_(std::move(real)) {}
    void add(OpenDirectory& source, const QByteArray& name,
             const std::shared_ptr<OpenDirectory>& target, const QByteArray& target_name,
             OpenDirectory::Target mode) override {
      const QString path = source.path() + display_name(name);
      fs_.hit("copy_file", path);
      if (first_.isEmpty()) first_ = path;
      fs_.check_new_name(*target, target_name, mode);
      real_->add(source, name, target, target_name, mode);
    }
    int count() const override { return real_->count(); }
    qint64 bytes() const override { return real_->bytes(); }
    std::vector<Outcome> commit() override {
      const QString first = std::exchange(first_, QString());
      if (real_->count() > 0) {
        try {
          fs_.hit("commit", first);
        } catch (...) {
          real_ = fs_.HostFileSystem::copy_batch();  // the copies written are dropped
          throw;
        }
      }
      return real_->commit();
    }

   private:
    FaultyFileSystem& fs_;
    std::unique_ptr<CopyBatch> real_;
    QString first_;
  };

  // A copy's new name, looked up as the target finds it.
  void check_new_name(OpenDirectory& target, const QByteArray& name, OpenDirectory::Target mode) {
    if (ignores_case && mode == OpenDirectory::Target::create_new && target.exists(name))
      throw FileError(err::file_exists);
  }
  // The comparison reads both directories at once: a fault sees one operation at a time.
  void hit(const char* operation, const QString& path) {
    const std::lock_guard<std::mutex> one_at_a_time(hits_);
    if (fault) fault(QString::fromLatin1(operation), path);
  }
  std::mutex hits_;
};

}  // namespace tz::test
