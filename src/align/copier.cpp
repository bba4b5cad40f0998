#include "align/copier.h"

#include <cstdlib>

#include "align/file_guard.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

constexpr char copy_option[] = "--copy-file";
// The target must not exist yet.
constexpr char new_option[] = "--new";
constexpr char end_of_options[] = "--";
// The second external copy: an installed copy of the program.
constexpr char installed_program[] = "tenzor";

QString quoted(const QString& path) {
  return u'"' + path + u'"';
}

// True when `name` is taken in `target` only by a name that differs from it in letter
// case: the file system there ignores case, so case twins cannot both live in it.
// `name` exists there.
bool clashes_in_case(OpenDirectory& target, const QByteArray& name) {
  try {
    const QString shown = display_name(name);
    bool other_case = false;
    for (const ListedEntry& entry : target.entries(attr::hidden | attr::system | attr::directory)) {
      if (entry.raw == name) return false;
      if (entry.name.compare(shown, Qt::CaseInsensitive) == 0) other_case = true;
    }
    // A listing leaves out what it cannot read (a link that reaches nothing): only a
    // name seen in another case tells.
    return other_case;
  } catch (const FileError&) {
    return false;
  }
}

// Throws Refusal when `name` cannot be made in `target`: it is taken, or a file system
// that ignores case finds it in another case.
void check_new_name(const FileRef& source, OpenDirectory& target, const QByteArray& name) {
  try {
    if (!target.exists(name)) return;
  } catch (const FileError&) {
    // Told by the check below, as a name that cannot be read.
  }
  if (clashes_in_case(target, name))
    throw Refusal(target.path() + display_name(name) + text::case_ignored);
  check_absent(source, target, name);
}

}  // namespace

std::optional<FileRef> Copier::copy_entry(const Entry& entry, int from, CopyBatch* batch) {
  const FileRef& source = *entry.side(from);
  const std::shared_ptr<OpenDirectory> target_dir = ctx_.window().listed_dir(3 - from);
  const std::optional<FileRef>& partner = entry.side(3 - from);
  check_unchanged(source);
  if (partner) {
    check_unchanged(*partner);
    check_distinct(source, *partner);
  } else {
    check_new_name(source, *target_dir, source.name);
  }
  // A file of its own in the other directory keeps the source's exact name.
  const QByteArray name = partner ? partner->name : source.name;
  const std::optional<Seen> copied =
      copy_file(source, target_dir, name, partner.has_value(), batch);
  if (!copied) return std::nullopt;
  return FileRef{target_dir, name, *copied};
}

void Copier::throw_unnamed(const FileError& error, const FileRef& source, const FileRef& copy) {
  // A name taken since the copy was written is never replaced.
  if (error.number() == err::file_exists) check_new_name(source, *copy.dir, copy.name);
  if (error.number() == err::disk_full) throw CopyFailed(error, copy.path());
  throw error;
}

std::optional<Seen> Copier::copy_file(const FileRef& source,
                                      const std::shared_ptr<OpenDirectory>& target_dir,
                                      const QByteArray& name, bool replace, CopyBatch* batch) {
  Globals& g = ctx_.globals();
  g.GLB_copy_done = true;
  OpenDirectory& target = *target_dir;
  const OpenDirectory::Target mode =
      replace ? OpenDirectory::Target::replace : OpenDirectory::Target::create_new;
  try {
    if (!batch) return source.dir->copy_to(source.name, target, name, mode);
    batch->add(*source.dir, source.name, target_dir, name, mode);
    return Seen();  // known once the batch is committed
  } catch (const FileError& error) {
    // A name taken meanwhile is never replaced, by this copy or the external one.
    if (!replace && error.number() == err::file_exists) {
      g.GLB_copy_done = false;
      check_new_name(source, target, name);
      throw;
    }
    // Another program would meet the same full disk: the cause is told as it is, not
    // lost behind a second failure, and nothing more is copied onto that disk.
    if (error.number() == err::disk_full) {
      g.GLB_copy_done = false;
      throw CopyFailed(error, target.path() + display_name(name));
    }
    // Nor could it write a protected file or medium: this one file is not copied, as
    // the check after an external copy would say, and a run goes on with the next.
    if (error.number() == err::path_file_access) {
      unable_to_copy(source.path());
      return std::nullopt;
    }
  }
  // Whatever else went wrong, the external copy comes next and says nothing of it.
  const QString shown = source.path();
  const std::optional<QString> from = source.dir->host_path(source.name);
  const std::optional<QString> to = target.host_path(name);
  if (!from || !to) {
    // A name that is not valid UTF-8 cannot be handed to another program.
    unable_to_copy(shown);
    return std::nullopt;
  }
  if (!start_external_copy(*from, *to, replace, shown)) return std::nullopt;

  // The started copy runs on its own; this pause is all the waiting it gets.
  Common& common = ctx_.common();
  common.pause_seconds(1);
  const std::optional<FileInfo> copied = file_copy_verified(source, target, name);
  if (copied) return Seen(*copied);
  // A closed window cuts the pause short: the copy may still be on its way, so it is
  // not trusted (no source is deleted for it), but it is no failure to report either.
  if (g.GLB_closing)
    g.GLB_copy_done = false;
  else
    unable_to_copy(shown);
  return std::nullopt;
}

void Copier::unable_to_copy(const QString& shown) {
  {
    const BusyPause pause(ctx_.common());
    ctx_.message(text::unable_to_copy + quoted(shown));
  }
  ctx_.globals().GLB_copy_done = false;
}

bool Copier::start_external_copy(const QString& source, const QString& target, bool replace,
                                 const QString& shown) {
  // Two arguments of their own, never a command line: no name can become a command.
  // Native paths after "--", taken as they are: nothing reads them as drive form again.
  QStringList arguments{QString::fromLatin1(copy_option)};
  if (!replace) arguments.append(QString::fromLatin1(new_option));
  arguments += {QString::fromLatin1(end_of_options), source, target};
  Processes& processes = ctx_.services().processes;
  try {
    processes.start_detached(copy_program_, arguments);
    return true;
  } catch (const FileError& error) {
    if (error.number() != err::file_not_found) fatal(error, shown);
  }
  try {
    processes.start_detached(QString::fromLatin1(installed_program), arguments);
    return true;
  } catch (const FileError& error) {
    fatal(error, shown);
  }
}

std::optional<FileInfo> Copier::file_copy_verified(const FileRef& source, OpenDirectory& target,
                                                   const QByteArray& name) {
  try {
    const FileInfo to = target.info(name);
    const FileInfo from = source.dir->info(source.name);
    // A plain file, and the length too: a directory, or an old target that happens to
    // carry a close time, is no copy.
    if (to.regular && seconds_apart(to.modified, from.modified) <= 2 && to.length == from.length)
      return to;
  } catch (const FileError&) {
  }
  return std::nullopt;
}

void Copier::fatal(const FileError& error, const QString& source) {
  ctx_.globals().GLB_copy_done = false;
  ctx_.message(text::fatal_error + QString::number(error.number()) + text::error_separator +
               error.description() + ctx_.globals().GLB_crlf + text::fatal_file + source);
  ctx_.services().exit.end_now();
  std::abort();  // not reached: the compiler does not see that a virtual end_now never returns
}

QString Copier::file_error_message(const FileError& error, const QString& name) {
  const auto* failed = dynamic_cast<const CopyFailed*>(&error);
  const QString& file = failed ? failed->target() : name;
  switch (error.number()) {
    case err::device_io:
      return text::error_57;
    case err::disk_full:
      return text::error_61 + text::error_61_while_copying + file.toUpper();
    case err::device_unavailable:
      return text::error_68;
    case err::path_file_access:
      return text::error_75;
    case err::path_not_found:
      return text::error_76;
    default:
      return text::error_prefix + QString::number(error.number()) + u' ' + error.description();
  }
}

}  // namespace tz
