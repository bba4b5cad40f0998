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
  const RunScope run(ctx_.window());
  BusyScope busy(ctx_.common());
  const auto [source, dragged] = take_dragged_entry(ctx_);
  const DropRule rule = source ? drop_rule(target, *source) : DropRule{};
  if (rule.kind == DropRule::none || !dragged || !dragged->side(rule.kept_dir)) return;
  try {
    WindowModel& w = ctx_.window();
    const Drop drop{with_status(*dragged), rule.kept_dir, w.list(*source), w.list(target)};
    switch (rule.kind) {
      case DropRule::move:
        move_file(drop);
        break;
      case DropRule::delete_other:
        delete_other(drop);
        break;
      case DropRule::copy:
        copy_file(drop);
        break;
      case DropRule::none:
        break;
    }
  } catch (const Refusal& refusal) {
    busy.release();
    ctx_.message(refusal.text(), Buttons::Ok, Icon::Exclamation);
  } catch (const FileError& error) {
    ctx_.message(Copier::file_error_message(error, dragged->text), Buttons::Ok, Icon::Critical);
  }
}

void Transfers::move_file(const Drop& drop) {
  std::optional<Entry> both = copy_kept(drop);
  if (!both) return;
  // The copy first, flushed to the medium; only then does the source go.
  const FileRef& source = *drop.entry.side(drop.kept);
  try {
    check_before_delete(*both, drop.kept);
    source.dir->remove(source.name);
  } catch (const Refusal&) {
    // The source changed while it was copied: the copy may hold less than the file now
    // does, so the file stays.
    drop.from.remove(drop.entry);
    place_as_found(std::move(*both));
    throw Refusal(source.path() + text::changed_while_moved);
  } catch (const FileError&) {
    drop.from.remove(drop.entry);
    place_as_found(std::move(*both));
    throw;
  }
  drop.from.remove(drop.entry);
  both->side(drop.kept).reset();
  drop.to.add_once(std::move(*both));
}

void Transfers::delete_other(const Drop& drop) {
  const std::optional<FileRef>& other = drop.entry.side(drop.other());
  if (!other) return;
  check_before_delete(drop.entry, drop.other());
  other->dir->remove(other->name);
  ctx_.window().clear_free_space_labels();
  drop.from.remove(drop.entry);
  Entry left = drop.entry;
  left.side(drop.other()).reset();
  drop.to.add_once(std::move(left));
}

void Transfers::copy_file(const Drop& drop) {
  std::optional<Entry> both = copy_kept(drop);
  if (!both) return;
  drop.from.remove(drop.entry);
  drop.to.add_once(std::move(*both));
}

std::optional<Entry> Transfers::copy_kept(const Drop& drop) {
  WindowModel& w = ctx_.window();
  const Entry& entry = drop.entry;
  // The file view lists each directory's files with no comparison behind them: a name
  // that the other directory holds too is no file that was missing there.
  if (w.file_view && !entry.side(drop.other()) && w.listed_dir(drop.other())) {
    const FileRef& file = *entry.side(drop.kept);
    check_absent(file, *w.listed_dir(drop.other()), file.name, text::exists_not_compared);
  }
  const std::optional<FileRef> copied = copier_.copy_entry(entry, drop.kept);
  w.clear_free_space_labels();
  if (!ctx_.globals().GLB_copy_done || !copied) return std::nullopt;
  Entry both = entry;
  both.side(drop.other()) = copied;
  return both;
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
