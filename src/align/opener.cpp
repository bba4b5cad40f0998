#include "align/opener.h"

#include <algorithm>

#include "align/dragged_entry.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

void Opener::Text1_DragDrop() {
  const auto [source, dragged] = take_dragged_entry(ctx_);
  // Without an entry there is nothing to open.
  if (!source || !dragged) return;

  // Dir 1's copy first; a file that differs between the directories opens twice.
  const std::optional<FileRef> first = *source == ListId::List2 ? dragged->side2 : dragged->side1;
  const bool differs = *source == ListId::List3 || *source == ListId::List4;
  const std::optional<FileRef> second = differs ? dragged->side2 : std::optional<FileRef>();
  Common& common = ctx_.common();
  try {
    // Read first, so that a file gone since the comparison fails before anything opens.
    if (first) first->dir->info(first->name);
    if (second) second->dir->info(second->name);
    if (first) open_file(*first);
    // Two programs started at once may fight over the window.
    common.pause_seconds(2);
    if (second && second->dir->exists(second->name)) open_file(*second);
  } catch (const FileError& error) {
    ctx_.message(text::error_colon + QString::number(error.number()) + text::error_separator +
                 error.description());
  }
}

void Opener::Text1_MouseMove() {
  ctx_.window().lab_drag_drop.set_caption(QString());
}

void Opener::open_file(const FileRef& file) {
  // Other programs take names as text: one that is not valid UTF-8 cannot be handed on.
  const std::optional<QString> host = file.dir->host_path(file.name);
  if (!host) throw FileError(err::bad_file_name);
  open_host_path(*host);
}

void Opener::open_host_path(const QString& host_path) {
  // The desktop's open service starts a file's program and shows a directory in the
  // file browser alike; it needs the host's own name. Its result is not examined.
  ctx_.services().processes.open_url(host_path);
}

void Opener::open_path(const QString& path) {
  open_host_path(ctx_.fs().host_path(path.section(u'\r', 0, 0)));
}

QString Opener::directory_of(const QString& path) {
  const qsizetype at = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u':'));
  return at < 0 ? QString() : path.left(at);
}

}  // namespace tz
