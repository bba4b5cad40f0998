#pragma once

#include <QString>
#include <stdexcept>

#include "models/entry.h"
#include "texts/texts.h"

namespace tz {

// An action that must not touch a file: it changed since the comparison, a name it
// would create is taken already, or both sides of an entry are one file. The text
// says which file and why.
class Refusal : public std::runtime_error {
 public:
  explicit Refusal(QString text) : std::runtime_error("refused"), text_(std::move(text)) {}
  const QString& text() const { return text_; }

 private:
  QString text_;
};

// `entry` with the status of each file held by its name only read now, as the action
// about to start finds it. Throws FileError when a status cannot be read.
Entry with_status(const Entry& entry);
// Throws Refusal unless `file` is still the plain file the comparison saw: the same
// device and inode, length and time to the nanosecond; FileError when it cannot be read
// (53 when it is gone).
void check_unchanged(const FileRef& file);
// Throws Refusal when `a` and `b` reach one file (a link, a hard link, one directory
// seen twice).
void check_distinct(const FileRef& a, const FileRef& b);
// Everything that must hold before side `dir` of `entry` is deleted: the file is the
// one compared, and the other side's file, if the entry has one, is still the one
// compared and not this same file.
void check_before_delete(const Entry& entry, int dir);
// Throws Refusal when `name` exists in `target`: a new file must not replace anything.
// `source` is the file that would be copied there, to tell "one file" from "taken";
// `file_there` ends the text for a plain file that holds the name.
void check_absent(const FileRef& source, OpenDirectory& target, const QByteArray& name,
                  const QString& file_there = text::appeared_since_comparison);

}  // namespace tz
