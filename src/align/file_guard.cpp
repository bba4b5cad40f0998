#include "align/file_guard.h"

#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

[[noreturn]] void refuse_one_file(const QString& a, const QString& b) {
  throw Refusal(a + text::one_file_and + b + text::one_file_twice);
}

}  // namespace

Entry with_status(const Entry& entry) {
  Entry read = entry;
  for (std::optional<FileRef>* side : {&read.side1, &read.side2})
    if (*side && !(*side)->seen.known()) (*side)->seen = (*side)->dir->info((*side)->name);
  return read;
}

void check_unchanged(const FileRef& file) {
  const FileInfo now = file.dir->info(file.name);
  const Seen& seen = file.seen;
  // The time to the nanosecond where the file system keeps it, and the inode: a file
  // replaced by another of the same length and second is another file.
  if (!seen.known() || !now.regular || now.device != seen.device || now.inode != seen.inode ||
      now.modified != seen.modified || now.modified_ns != seen.modified_ns ||
      now.length != seen.length)
    throw Refusal(file.path() + text::changed_since_comparison);
}

void check_distinct(const FileRef& a, const FileRef& b) {
  if (a.dir->info(a.name).same_file(b.dir->info(b.name))) refuse_one_file(a.path(), b.path());
}

void check_before_delete(const Entry& entry, int dir) {
  const FileRef& file = *entry.side(dir);
  check_unchanged(file);
  const std::optional<FileRef>& other = entry.side(3 - dir);
  if (!other) return;
  // The copy that stays is why this one may go: it must still be there as compared.
  check_unchanged(*other);
  check_distinct(file, *other);
}

void check_absent(const FileRef& source, OpenDirectory& target, const QByteArray& name,
                  const QString& file_there) {
  if (!target.exists(name)) return;
  const QString there = target.path() + display_name(name);
  bool a_file = false;  // what the lists could have shown
  try {
    const FileInfo info = target.info(name);
    if (source.dir->info(source.name).same_file(info)) refuse_one_file(source.path(), there);
    a_file = info.regular;
  } catch (const FileError&) {
    // A link that reaches nothing, or a name that cannot be read.
  }
  throw Refusal(there + (a_file ? file_there : text::taken_unlisted));
}

}  // namespace tz
