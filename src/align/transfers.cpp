#include "align/transfers.h"

#include <QDateTime>
#include <QLocale>

#include "align/copier.h"
#include "align/list_names.h"
#include "app/common.h"
#include "app/tenzor.h"
#include "app/texts.h"
#include "compare/comparison.h"
#include "compare/panes.h"
#include "platform/file_error.h"

namespace tz {

namespace {

// What a drop does, by target and source list.
struct Row {
  enum Kind { none, move, delete_other, copy } kind = none;
  int from_dir = 0;  // the directory whose copy is kept (copied or left)
};

Row row_for(int target, int source) {
  if (target == source || source == 0) return {};
  if (target == 1) return source == 2 ? Row{Row::move, 2} : Row{Row::delete_other, 1};
  if (target == 2) return source == 1 ? Row{Row::move, 1} : Row{Row::delete_other, 2};
  if (target == 5) return {Row::copy, source == 1 || source == 3 ? 1 : 2};
  return {};
}

// File times are local wall-clock seconds; shown as such, in the locale's short form.
QString short_date_time(LocalTime modified) {
  return QLocale().toString(QDateTime::fromSecsSinceEpoch(modified, Qt::UTC), QLocale::ShortFormat);
}

}  // namespace

void Transfers::start_drag(int n) {
  tz_.globals().GLB_drag_source = QStringLiteral("List") + QString::number(n);
}

void Transfers::list_DragDrop(int target) {
  Globals& g = tz_.globals();
  Common& common = tz_.common();
  common.show_busy(true);
  const auto [source, name] = take_dragged_entry(tz_);
  const Row row = row_for(target, source);
  if (row.kind == Row::none || name.isEmpty()) {
    common.show_busy(false);
    return;
  }
  FileList& from_list = tz_.window().list(source);
  const QString p1 = g.GLB_path1 + name;
  const QString p2 = g.GLB_path2 + name;
  const QString& kept = row.from_dir == 1 ? p1 : p2;
  const QString& other = row.from_dir == 1 ? p2 : p1;
  FileList& to_list = tz_.window().list(target);
  Panes& panes = tz_.panes();
  Copier& copier = tz_.copier();
  try {
    switch (row.kind) {
      case Row::move:
        // Both panes on one directory: the copy would land on the file itself and the
        // deletion that follows would destroy its only copy.
        if (common.same_place(kept, other)) break;
        copier.copy_file(kept, other);
        panes.clear_free_space_labels();
        if (!g.GLB_copy_done) break;
        to_list.add_once(name);
        tz_.fs().remove_file(kept);
        from_list.remove(name);
        break;
      case Row::delete_other:
        tz_.fs().remove_file(other);
        panes.clear_free_space_labels();
        from_list.remove(name);
        to_list.add_once(name);
        break;
      case Row::copy:
        copier.copy_file(kept, other);
        panes.clear_free_space_labels();
        if (!g.GLB_copy_done) break;
        from_list.remove(name);
        to_list.add_once(name);
        break;
      case Row::none:
        break;
    }
  } catch (const FileError& error) {
    tz_.message(Copier::file_error_message(error, name), Buttons::Ok, Icon::Critical);
  }
  common.show_busy(false);
}

void Transfers::list_mouse_move(int n, int index) {
  WindowModel& w = tz_.window();
  FileList& list = w.list(n);
  if (index < 0 || index >= list.count()) {
    tz_.comparison().set_default_comment();
    return;
  }
  const Globals& g = tz_.globals();
  const QString name = list.entry(index);
  QStringList paths;
  if (n != 2) paths.append(g.GLB_path1 + name);
  if (n != 1) paths.append(g.GLB_path2 + name);

  w.lab_drag_drop.set_caption(QString());
  QString caption;
  try {
    for (const QString& path : paths) {
      const FileInfo info = tz_.fs().info(path);
      if (!caption.isEmpty()) caption += g.GLB_crlf;
      caption += short_date_time(info.modified) + QString::fromUtf8(text::bytes_between) +
                 QString::number(info.length) + u' ' + path;
      w.lab_drag_drop.set_caption(caption);
    }
  } catch (const FileError&) {
    // A file gone since the comparison: the hint shows what could be read.
  }
}

}  // namespace tz
