#include "compare/pair_opener.h"

#include "compare/comparison.h"
#include "compare/panes.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

void PairOpener::open_dir_pair(const QString& pair_text, bool report_errors) {
  Common& common = ctx_.common();
  Globals& g = ctx_.globals();
  BusyScope busy(common);
  const QChar d = panes_.current_drive();
  const QString& separator = text::pair_separator;
  const qsizetype p = pair_text.indexOf(separator, 0, Qt::CaseInsensitive);
  if (p < 0) return;
  const QString previous1 = g.GLB_path1;
  const QString previous2 = g.GLB_path2;
  const QString path1 = pair_text.left(p).trimmed();
  const QString path2 = pair_text.mid(p + separator.size()).trimmed();
  g.GLB_path1 = path1;
  g.GLB_path2 = path2;
  for (const QString& path : {path1, path2}) {
    if (!common.file_exists(path)) {
      busy.release();
      if (report_errors) ctx_.message(text::bad_path + path);
      g.GLB_path1 = previous1;
      g.GLB_path2 = previous2;
      return;
    }
  }
  bool failed = false;
  try {
    panes_.set_drive(1, path1[0]);
    panes_.set_drive(2, path2[0]);
    g.GLB_path1 = path1;
    g.GLB_path2 = path2;
    panes_.set_directory(1, path1);
    panes_.set_directory(2, path2);
  } catch (const FileError&) {
    ctx_.message(text::pair_not_opened);
    panes_.fall_back_to_root(d);
    failed = true;
  }
  if (hooks_.close_history_view) hooks_.close_history_view();
  panes_.read_pane_paths();
  if (!same_text(g.GLB_path1, g.GLB_path2)) comparison_.compare_dirs();
  panes_.read_pane_paths();
  ctx_.window().clear_free_space_labels();
  if (!g.GLB_loading && !failed && hooks_.compare_trees) hooks_.compare_trees();
}

}  // namespace tz
