#include "align/opener.h"

#include <algorithm>

#include "align/list_names.h"
#include "app/common.h"
#include "app/tenzor.h"
#include "app/texts.h"
#include "platform/file_error.h"

namespace tz {

void Opener::Text1_DragDrop() {
  const Globals& g = tz_.globals();
  const auto [n, name] = take_dragged_entry(tz_);
  // Without an entry the paths would name the directories themselves.
  if (n == 0 || name.isEmpty()) return;

  // Dir 1's copy first; a file that differs between the directories opens twice.
  const QString first = (n == 2 ? g.GLB_path2 : g.GLB_path1) + name;
  const QString second = n == 3 || n == 4 ? g.GLB_path2 + name : QString();
  Common& common = tz_.common();
  try {
    // Read first, so that a file gone since the comparison fails before anything opens.
    tz_.fs().info(first);
    if (!second.isEmpty()) tz_.fs().info(second);
    if (common.file_exists(first)) open_path(first);
    // Two programs started at once may fight over the window.
    common.pause_seconds(2);
    if (!second.isEmpty() && common.file_exists(second)) open_path(second);
  } catch (const FileError& error) {
    tz_.message(QString::fromUtf8(text::error_colon) + QString::number(error.number()) +
                QString::fromUtf8(text::error_separator) + error.description());
  }
}

void Opener::Text1_MouseMove() {
  tz_.window().lab_drag_drop.set_caption(QString());
}

void Opener::open_path(const QString& path) {
  const QString clean = path.section(u'\r', 0, 0);
  // The desktop's open service starts a file's program and shows a directory in the
  // file browser alike; it needs the host's own name. Its result is not examined.
  tz_.services().processes.open_url(tz_.fs().host_path(clean));
}

QString Opener::directory_of(const QString& path) {
  const qsizetype at = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u':'));
  return at < 0 ? QString() : path.left(at);
}

}  // namespace tz
