#include "align/bulk_align.h"

#include "align/copier.h"
#include "align/file_guard.h"
#include "core/common.h"
#include "core/context.h"
#include "core/texts.h"
#include "platform/file_error.h"
#include "tree/tree_comparison.h"

namespace tz {

void BulkAlign::align_list(ListId id, int from) {
  Globals& g = ctx_.globals();
  WindowModel& w = ctx_.window();
  Common& common = ctx_.common();
  FileList& list = w.list(id);
  const bool whole_list = !list.any_selected();

  const RunScope run(w);
  // The pair the run started on: should it change all the same, the run ends rather
  // than copy the files of another directory.
  const std::shared_ptr<OpenDirectory> dir1 = w.listed_dir1, dir2 = w.listed_dir2;
  common.show_busy(true);
  g.GLB_cancel = false;
  w.bot_cancel.set_enabled(true);
  QString name;
  try {
    const int bound = list.count();
    for (int i = 1; i <= bound; ++i) {
      if (i > list.count()) break;
      if (!whole_list && !list.is_selected(i - 1)) continue;
      name = list.at(i - 1).text;
      if (!list.at(i - 1).side(from)) continue;
      const Entry entry = with_status(list.at(i - 1));
      const std::optional<FileRef> copied = copier_.copy_entry(entry, from);
      if (g.GLB_copy_done && copied) {
        // Found again by its files: the pause of a fallback copy lets the user act.
        const int at = list.remove(entry);
        Entry aligned = entry;
        aligned.side(3 - from) = copied;
        w.List5.add_once(std::move(aligned));
        ctx_.services().pump.process_events();
        // The next entry has moved into this position.
        if (at >= 0 && at < i) --i;
      }
      common.show_busy(true);
      if (g.GLB_cancel || g.GLB_closing || w.listed_dir1 != dir1 || w.listed_dir2 != dir2) {
        w.bot_cancel.set_enabled(false);
        ctx_.window().clear_free_space_labels();
        common.show_busy(false);
        return;
      }
    }
  } catch (const Refusal& refusal) {
    common.show_busy(false);
    ctx_.message(refusal.text(), Buttons::Ok, Icon::Exclamation);
    ctx_.window().clear_free_space_labels();
    w.bot_cancel.set_enabled(false);
    return;
  } catch (const FileError& error) {
    ctx_.message(Copier::file_error_message(error, name), Buttons::Ok, Icon::Critical);
    ctx_.window().clear_free_space_labels();
    common.show_busy(false);
    w.bot_cancel.set_enabled(false);
    return;
  }
  ctx_.window().clear_free_space_labels();
  common.show_busy(false);
  w.bot_cancel.set_enabled(false);
  emit w.focus_requested(w.bot_exit.name());
}

bool BulkAlign::any_selected(ListId id) {
  return ctx_.window().list(id).any_selected();
}

void BulkAlign::set_align_caption(ListId id) {
  ctx_.window().align_button(id).set_caption(any_selected(id) ? text::align_selected_files
                                                              : text::align_all_files);
}

void BulkAlign::bot_list_Click(ListId id) {
  const Globals& g = ctx_.globals();
  // List1 and List3 hold what dir 1 has alone or newer; List2 and List4 what dir 2 has.
  align_list(id, id == ListId::List1 || id == ListId::List3 ? 1 : 2);
  if (id == ListId::List1) ctx_.services().pump.process_events();
  const bool differences_left = tree_.differenza_trovata();
  if (ctx_.window().b_next_alignment.visible() && g.GLB_tree_mode && !differences_left)
    tree_.b_next_alignment_Click();
}

void BulkAlign::bot_cancel_Click() {
  ctx_.globals().GLB_cancel = true;
}

}  // namespace tz
