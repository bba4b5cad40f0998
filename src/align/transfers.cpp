#include "align/transfers.h"

#include <QDateTime>
#include <QLocale>

#include "align/copier.h"
#include "align/dragged_entry.h"
#include "align/file_guard.h"
#include "compare/comparison.h"
#include "core/common.h"
#include "core/context.h"
#include "core/texts.h"
#include "platform/file_error.h"

namespace tz {

namespace {

// What a drop does, by target and source list.
struct Row {
  enum Kind { none, move, delete_other, copy } kind = none;
  int from_dir = 0;  // the directory whose copy is kept (copied or left)
};

Row row_for(ListId target, ListId source) {
  if (target == source) return {};
  switch (target) {
    case ListId::List1:
      return source == ListId::List2 ? Row{Row::move, 2} : Row{Row::delete_other, 1};
    case ListId::List2:
      return source == ListId::List1 ? Row{Row::move, 1} : Row{Row::delete_other, 2};
    case ListId::List5:
      return {Row::copy, source == ListId::List1 || source == ListId::List3 ? 1 : 2};
    case ListId::List3:
    case ListId::List4:
      return {};  // they take no drop
  }
  no_such_list();
}

// File times are compared in UTC; shown in local time, in the locale's short form.
QString short_date_time(FileTime modified) {
  return QLocale().toString(QDateTime::fromSecsSinceEpoch(modified), QLocale::ShortFormat);
}

}  // namespace

void Transfers::start_drag(ListId id) {
  ctx_.globals().GLB_drag_source = QStringLiteral("List") + QString::number(list_number(id));
}

void Transfers::set_popup_list(ListId id) {
  ctx_.window().popup_list = id;
}

void Transfers::list_DragDrop(ListId target) {
  Globals& g = ctx_.globals();
  Common& common = ctx_.common();
  common.show_busy(true);
  const auto [source, dragged] = take_dragged_entry(ctx_);
  const Row row = source ? row_for(target, *source) : Row{};
  if (row.kind == Row::none || !dragged || !dragged->side(row.from_dir)) {
    common.show_busy(false);
    return;
  }
  const Entry& entry = *dragged;
  const int kept = row.from_dir;
  const int other = 3 - kept;
  FileList& from_list = ctx_.window().list(*source);
  FileList& to_list = ctx_.window().list(target);
  try {
    switch (row.kind) {
      case Row::move: {
        // The copy first, flushed to the medium; only then does the source go.
        const std::optional<FileRef> copied = copier_.copy_entry(entry, kept);
        ctx_.window().clear_free_space_labels();
        if (!g.GLB_copy_done || !copied) break;
        Entry copy_of_source = entry;
        copy_of_source.side(other) = copied;
        try {
          check_before_delete(copy_of_source, kept);
          entry.side(kept)->dir->remove(entry.side(kept)->name);
        } catch (...) {
          // The source stays beside its copy: the file is aligned, as a new comparison
          // would find it.
          from_list.remove(entry);
          ctx_.window().List5.add_once(std::move(copy_of_source));
          throw;
        }
        from_list.remove(entry);
        Entry moved = entry;
        moved.side(other) = copied;
        moved.side(kept).reset();
        to_list.add_once(std::move(moved));
        break;
      }
      case Row::delete_other: {
        if (!entry.side(other)) break;
        check_before_delete(entry, other);
        entry.side(other)->dir->remove(entry.side(other)->name);
        ctx_.window().clear_free_space_labels();
        from_list.remove(entry);
        Entry left = entry;
        left.side(other).reset();
        to_list.add_once(left);
        break;
      }
      case Row::copy: {
        const std::optional<FileRef> copied = copier_.copy_entry(entry, kept);
        ctx_.window().clear_free_space_labels();
        if (!g.GLB_copy_done || !copied) break;
        from_list.remove(entry);
        Entry aligned = entry;
        aligned.side(other) = copied;
        to_list.add_once(aligned);
        break;
      }
      case Row::none:
        break;
    }
  } catch (const Refusal& refusal) {
    common.show_busy(false);
    ctx_.message(refusal.text(), Buttons::Ok, Icon::Exclamation);
  } catch (const FileError& error) {
    ctx_.message(Copier::file_error_message(error, entry.text), Buttons::Ok, Icon::Critical);
  }
  common.show_busy(false);
}

void Transfers::list_mouse_move(ListId id, int index) {
  WindowModel& w = ctx_.window();
  FileList& list = w.list(id);
  if (index < 0 || index >= list.count()) {
    comparison_.set_default_comment();
    return;
  }
  const Globals& g = ctx_.globals();
  const Entry& entry = list.at(index);
  w.lab_drag_drop.set_caption(QString());
  QString caption;
  try {
    for (const std::optional<FileRef>& side : {entry.side1, entry.side2}) {
      if (!side) continue;
      const FileInfo info = side->dir->info(side->name);
      if (!caption.isEmpty()) caption += g.GLB_crlf;
      caption += short_date_time(info.modified) + text::bytes_between +
                 QString::number(info.length) + u' ' + side->path();
      w.lab_drag_drop.set_caption(caption);
    }
  } catch (const FileError&) {
    // A file gone since the comparison: the hint shows what could be read.
  }
}

}  // namespace tz
