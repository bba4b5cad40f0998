#include "align/copier.h"

#include <cstdlib>

#include "app/common.h"
#include "app/tenzor.h"
#include "app/texts.h"
#include "platform/file_error.h"

namespace tz {

namespace {

constexpr char copy_option[] = "--copy-file";
// The second external copy: an installed copy of the program.
constexpr char installed_program[] = "tenzor";

QString quoted(const QString& path) {
  return u'"' + path + u'"';
}

bool leads_to_external_copy(int number) {
  return number == err::permission_denied || number == err::path_file_access ||
         number == err::path_not_found || number == err::bad_file_name;
}

}  // namespace

void Copier::copy_file(const QString& source, const QString& target) {
  Globals& g = tz_.globals();
  g.GLB_copy_done = true;
  try {
    tz_.fs().copy_file(source, target);
    return;
  } catch (const FileError&) {
    // Whatever went wrong, the quoted retry comes next and says nothing of it.
  }
  try {
    tz_.fs().copy_file(quoted(source), quoted(target));
    return;
  } catch (const FileError& error) {
    if (!leads_to_external_copy(error.number())) {
      fatal(error, source);
      return;
    }
  }
  if (!start_external_copy(source, target)) return;

  // The started copy runs on its own; this pause is all the waiting it gets.
  Common& common = tz_.common();
  common.pause_seconds(1);
  if (!file_copy_verified(source, target)) {
    common.show_busy(false);
    tz_.message(QString::fromUtf8(text::unable_to_copy) + quoted(source));
    common.show_busy(true);
    g.GLB_copy_done = false;
  }
}

bool Copier::start_external_copy(const QString& source, const QString& target) {
  // Two arguments of their own, never a command line: no name can become a command.
  const QStringList arguments{QString::fromLatin1(copy_option), source, target};
  Processes& processes = tz_.services().processes;
  try {
    processes.start_detached(copy_program_, arguments);
    return true;
  } catch (const FileError& error) {
    if (error.number() != err::file_not_found) {
      fatal(error, source);
      return false;
    }
  }
  try {
    processes.start_detached(QString::fromLatin1(installed_program), arguments);
    return true;
  } catch (const FileError& error) {
    fatal(error, source);
    return false;
  }
}

bool Copier::file_copy_verified(const QString& source, const QString& target) {
  if (!tz_.common().file_exists(target)) return false;
  try {
    const FileInfo to = tz_.fs().info(target);
    const FileInfo from = tz_.fs().info(source);
    // The length too: an old target that happens to carry a close time is no copy.
    return std::llabs(to.modified - from.modified) <= 2 && to.length == from.length;
  } catch (const FileError&) {
    return false;
  }
}

void Copier::fatal(const FileError& error, const QString& source) {
  tz_.globals().GLB_copy_done = false;
  program_ended_ = true;
  tz_.message(QString::fromUtf8(text::fatal_error) + QString::number(error.number()) +
              QString::fromUtf8(text::error_separator) + error.description() +
              tz_.globals().GLB_crlf + QString::fromUtf8(text::fatal_file) + source);
  tz_.services().exit.end_now();
}

QString Copier::file_error_message(const FileError& error, const QString& name) {
  switch (error.number()) {
    case err::device_io:
      return QString::fromUtf8(text::error_57);
    case err::disk_full:
      return QString::fromUtf8(text::error_61) + QString::fromUtf8(text::error_61_while_copying) +
             name.toUpper();
    case err::device_unavailable:
      return QString::fromUtf8(text::error_68);
    case err::path_file_access:
      return QString::fromUtf8(text::error_75);
    case err::path_not_found:
      return QString::fromUtf8(text::error_76);
    default:
      return QString::fromUtf8(text::error_prefix) + QString::number(error.number()) + u' ' +
             error.description();
  }
}

}  // namespace tz
