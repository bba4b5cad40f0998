#include "platform/host_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_error.h"
#include "platform/host_copy.h"
#include "platform/name_matching.h"

namespace tz {

namespace {

// The file a link reaches is gone, loops or cannot be named: the link is no file.
bool dangling(int posix_errno) {
  return posix_errno == ENOENT || posix_errno == ENOTDIR || posix_errno == ELOOP ||
         posix_errno == ENAMETOOLONG;
}

std::optional<ListedEntry> filter_entry(int dir_fd, const char* raw, unsigned char type,
                                        const ListingFilter& filter) {
  if (temp_file_owner(raw)) return std::nullopt;  // a copy's, never the user's
  const bool dot = std::strcmp(raw, ".") == 0 || std::strcmp(raw, "..") == 0;
  const bool hidden = raw[0] == '.' && !dot;
  if (dot && (!(filter.mask & attr::directory) || filter.drive_root)) return std::nullopt;
  if (hidden && !(filter.mask & attr::hidden)) return std::nullopt;
  if (type == DT_REG && (filter.mask & attr::directories_only)) return std::nullopt;

  const QByteArray exact(raw);
  QString name = display_name(exact);
  if (!filter.pattern_key.isEmpty() && !wildcard_match(filter.pattern_key, name_key(name))) {
    return std::nullopt;
  }
  if (dot) return ListedEntry{std::move(name), attr::directory, exact};

  bool is_directory = type == DT_DIR;
  if (type == DT_LNK || type == DT_UNKNOWN) {
    // A link counts as what it points to; a dangling one is not listed. Any other
    // failure must not pass for a missing file.
    struct stat st;
    if (::fstatat(dir_fd, raw, &st, 0) != 0) {
      if (dangling(errno)) return std::nullopt;
      throw FileError(error_from_errno(errno));
    }
    is_directory = S_ISDIR(st.st_mode);
    if (!is_directory && !S_ISREG(st.st_mode)) return std::nullopt;
  } else if (type != DT_DIR && type != DT_REG) {
    return std::nullopt;  // devices, pipes and sockets are no files to compare or copy
  }
  if (is_directory && !(filter.mask & attr::directory)) return std::nullopt;
  if (!is_directory && (filter.mask & attr::directories_only)) return std::nullopt;
  return ListedEntry{std::move(name),
                     (is_directory ? attr::directory : 0) | (hidden ? attr::hidden : 0) |
                         (type == DT_LNK && (filter.mask & attr::link) ? attr::link : 0),
                     exact};
}

class DirectoryListing : public Listing {
 public:
  DirectoryListing(DIR* handle, ListingFilter filter)
      : handle_(handle), filter_(std::move(filter)) {}
  ~DirectoryListing() override { ::closedir(handle_); }
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;

  std::optional<ListedEntry> next() override {
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(handle_);
      if (!entry) {
        // A listing cut short must not look complete: its missing names would pass
        // for files that are gone.
        if (errno != 0) throw FileError(error_from_errno(errno));
        return std::nullopt;
      }
      try {
        if (auto listed = filter_entry(::dirfd(handle_), entry->d_name, entry->d_type, filter_))
          return listed;
      } catch (const FileError&) {
        if (!filter_.skip_unreadable) throw;
      }
    }
  }

 private:
  DIR* handle_;
  ListingFilter filter_;
};

}  // namespace

std::unique_ptr<Listing> open_host_listing(Descriptor dir, ListingFilter filter) {
  DIR* handle = ::fdopendir(dir.get());
  if (!handle) throw FileError(error_from_errno(errno, true));
  dir.release();  // closed with the handle
  return std::make_unique<DirectoryListing>(handle, std::move(filter));
}

std::optional<ListedEntry> host_entry(int dir_fd, const QByteArray& name,
                                      const ListingFilter& filter) {
  // Only searched, never read: a name can be looked up where listing is not allowed.
  return filter_entry(dir_fd, name.constData(), DT_UNKNOWN, filter);
}

std::optional<ListedEntry> FixedListing::next() {
  if (next_ >= entries_.size()) return std::nullopt;
  return entries_[next_++];
}

}  // namespace tz
