#pragma once

#include <QString>
#include <optional>

#include "models/entry.h"
#include "platform/file_error.h"

namespace tz {

class Context;

// A copy that failed for a reason no second attempt can cure and that stops a run (a
// full disk), with the file it was to write.
class CopyFailed : public FileError {
 public:
  CopyFailed(const FileError& error, QString target)
      : FileError(error), target_(std::move(target)) {}
  const QString& target() const { return target_; }

 private:
  QString target_;
};

// The one routine that copies a file between the two directories, with its fallback.
class Copier {
 public:
  explicit Copier(Context& ctx) : ctx_(ctx) {}

  // The program started for a fallback copy: this executable, in its copy mode. When
  // it cannot be started, "tenzor" is looked up on the PATH.
  void set_copy_program(const QString& program) { copy_program_ = program; }

  // Copies side `from` (1 or 2) of `entry` to the other directory of the pair: over
  // the entry's file there, or to a new file under the source's exact name when it
  // has none. Checks first that nothing but the compared target can be overwritten
  // (throws Refusal, also for a case twin that a file system ignoring case cannot hold).
  // The outcome is GLB_copy_done; on success the new file as the entry's other side. A
  // protected target is said as a copy not made; a full disk throws CopyFailed. An
  // unexpected error shows the fatal copy message and ends the program.
  //
  // With a `batch`, a copy this program makes is only written to it: the FileRef comes
  // without status (Seen::known() false), and the copy takes the target's place when
  // the caller commits the batch. The external copy is never batched.
  std::optional<FileRef> copy_entry(const Entry& entry, int from, CopyBatch* batch = nullptr);
  // Throws what a copy of `source` written in a batch means when it did not get its
  // name `copy` (Refusal for a name taken meanwhile, CopyFailed for a full disk).
  [[noreturn]] static void throw_unnamed(const FileError& error, const FileRef& source,
                                         const FileRef& copy);

  // The new file when `name` in `target` is a plain file with the source's length and
  // a modification time at most 2 seconds from the source's.
  static std::optional<FileInfo> file_copy_verified(const FileRef& source, OpenDirectory& target,
                                                    const QByteArray& name);

  // The text for a file error that reached a transfer or a bulk alignment of `name`;
  // a copy that failed for good names the file it was to write.
  static QString file_error_message(const FileError& error, const QString& name);

 private:
  std::optional<Seen> copy_file(const FileRef& source,
                                const std::shared_ptr<OpenDirectory>& target_dir,
                                const QByteArray& name, bool replace, CopyBatch* batch);
  bool start_external_copy(const QString& source, const QString& target, bool replace,
                           const QString& shown);
  [[noreturn]] void fatal(const FileError& error, const QString& source);
  void unable_to_copy(const QString& shown);

  Context& ctx_;
  QString copy_program_;
};

}  // namespace tz
