#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/descriptor.h"
#include "platform/file_system.h"

namespace tz {

// Which entries a listing hands out.
struct ListingFilter {
  int mask = 0;
  bool drive_root = false;  // a drive root has no "." and ".."
  QString pattern_key;      // empty: every name
  // A name whose status cannot be read is left out rather than ending the listing.
  bool skip_unreadable = false;
};

// Lists the directory `dir` (open for reading) as it is read, each name exactly as on
// disk; throws FileError when it cannot be read (a directory that may not be read is no
// empty one). The temporary files of copies are never listed, whatever the mask.
std::unique_ptr<Listing> open_host_listing(Descriptor dir, ListingFilter filter);

// The entry `name` of the directory `dir_fd` would give in a listing, if any; throws
// FileError when it cannot be looked at. `dir_fd` need only be open for searching.
std::optional<ListedEntry> host_entry(int dir_fd, const QByteArray& name,
                                      const ListingFilter& filter);

// A listing of entries known beforehand.
class FixedListing : public Listing {
 public:
  explicit FixedListing(std::vector<ListedEntry> entries = {}) : entries_(std::move(entries)) {}
  std::optional<ListedEntry> next() override;

 private:
  std::vector<ListedEntry> entries_;
  std::size_t next_ = 0;
};

}  // namespace tz
