#include "align/transfers.h"

#include <QDateTime>
#include <QLocale>

#include "align/copier.h"
#include "align/dragged_entry.h"
#include "align/file_guard.h"
#include "compare/comparison.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

DropRule row_for(ListId target, ListId source) {
  if (target == source) return {};
  switch (target) {
    case ListId::List1:
      return source == ListId::List2 ? DropRule{DropRule::move, 2}
                                     : DropRule{DropRule::delete_other, 1};
    case ListId::List2:
      return source == ListId::List1 ? DropRule{DropRule::move, 1}
                                     : DropRule{DropRule::delete_other, 2};
    case ListId::List5:
      return {DropRule::copy, source == ListId::List1 || source == ListId::List3 ? 1 : 2};
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
  Common& common = ctx_.common();
  const RunScope run(ctx_.window());
  common.show_busy(true);
  const auto [source, dragged] = take_dragged_entry(ctx_);
  const DropRule row = source ? row_for(target, *source) : DropRule{};
  if (row.kind == DropRule::none || !dragged || !dragged->side(row.from_dir)) {
    common.show_busy(false);
    return;
  }
  try {
    drop(row, *source, target, with_status(*dragged));
  } catch (const Refusal& refusal) {
    common.show_busy(false);
    ctx_.message(refusal.text(), Buttons::Ok, Icon::Exclamation);
  } catch (const FileError& error) {
    ctx_.message(Copier::file_error_message(error, dragged->text), Buttons::Ok, Icon::Critical);
  }
  common.show_busy(false);
}

void Transfers::drop(const DropRule& row, ListId source, ListId target, const Entry& entry) {
  WindowModel& w = ctx_.window();
  const int kept = row.from_dir;
  const int other = 3 - kept;
  FileList& from_list = w.list(source);
  FileList& to_list = w.list(target);
  if (row.kind == DropRule::delete_other) {
    if (!entry.side(other)) return;
    check_before_delete(entry, other);
    entry.side(other)->dir->remove(entry.side(other)->name);
    w.clear_free_space_labels();
    from_list.remove(entry);
    Entry left = entry;
    left.side(other).reset();
    to_list.add_once(std::move(left));
    return;
  }
  // The file view lists each directory's files with no comparison behind them: a name
  // that the other directory holds too is no file that was missing there.
  if (w.file_view && !entry.side(other) && w.listed_dir(other)) {
    const FileRef& file = *entry.side(kept);
    check_absent(file, *w.listed_dir(other), file.name, text::exists_not_compared);
  }
  const std::optional<FileRef> copied = copier_.copy_entry(entry, kept);
  w.clear_free_space_labels();
  if (!ctx_.globals().GLB_copy_done || !copied) return;
  Entry both = entry;
  both.side(other) = copied;
  if (row.kind == DropRule::copy) {
    from_list.remove(entry);
    to_list.add_once(std::move(both));
    return;
  }
  // A move: the copy first, flushed to the medium; only then does the source go.
  try {
    check_before_delete(both, kept);
    entry.side(kept)->dir->remove(entry.side(kept)->name);
  } catch (const Refusal&) {
    // The source changed while it was copied: the copy may hold less than the file now
    // does, so the file stays.
    from_list.remove(entry);
    place_as_found(std::move(both));
    throw Refusal(entry.side(kept)->path() + text::changed_while_moved);
  } catch (const FileError&) {
    from_list.remove(entry);
    place_as_found(std::move(both));
    throw;
  }
  from_list.remove(entry);
  Entry moved = std::move(both);
  moved.side(kept).reset();
  to_list.add_once(std::move(moved));
}

void Transfers::place_as_found(Entry entry) {
  for (std::optional<FileRef>* side : {&entry.side1, &entry.side2}) {
    try {
      const FileInfo now = (*side)->dir->info((*side)->name);
      if (now.regular)
        (*side)->seen = now;
      else
        side->reset();
    } catch (const FileError&) {
      side->reset();
    }
  }
  WindowModel& w = ctx_.window();
  if (entry.side1 && entry.side2) {
    const ListId to = classify(entry.side1->seen, entry.side2->seen, ctx_.globals().GLB_one_second);
    w.list(to).add_once(std::move(entry));
  } else if (entry.side1 || entry.side2) {
    (entry.side1 ? w.List1 : w.List2).add_once(std::move(entry));
  }
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
