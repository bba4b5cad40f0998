#include "align/bulk_align.h"

#include <exception>
#include <memory>
#include <vector>

#include "align/copier.h"
#include "align/file_guard.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"
#include "tree/tree_comparison.h"

namespace tz {

namespace {

// A batch of copies is committed at the latest when it holds this many files or bytes,
// so that its flush stays short: the window waits for it.
constexpr int batch_files = 512;
constexpr qint64 batch_bytes = qint64{8} << 20;

}  // namespace

// One run of align_list: copies written go to a batch, and the entries move to List5 in
// blocks, when their batch is committed, at each event turn and when the run ends.
class BulkAlign::Run {
 public:
  Run(Context& ctx, Copier& copier, ListId id, int from)
      : ctx_(ctx),
        copier_(copier),
        list_(ctx.window().list(id)),
        from_(from),
        batch_(ctx.fs().copy_batch()),
        turns_(ctx.services().clock, ctx.services().pump) {}

  // Copies side `from_` of `entry` (found again by its files when the block moves).
  void copy(const Entry& listed) {
    const Entry entry = with_status(listed);
    std::optional<FileRef> copied = copier_.copy_entry(entry, from_, batch_.get());
    if (!ctx_.globals().GLB_copy_done || !copied) return;
    const bool pending = !copied->seen.known();
    (pending ? written_ : copied_).push_back({entry, std::move(*copied)});
    if (batch_->count() >= batch_files || batch_->bytes() >= batch_bytes) commit();
  }

  // Brings the lists up to date and lets the window's events run, when they are due.
  void turn() {
    if (!turns_.due()) return;
    settle();
    turns_.run();
    ctx_.common().show_busy(true);
  }

  // Commits the copies written and moves every copied entry to List5. Throws what kept a
  // copy from its place, after the others moved.
  void settle() {
    std::exception_ptr failure;
    try {
      commit();
    } catch (...) {
      failure = std::current_exception();
    }
    if (!copied_.empty()) {
      std::vector<Entry> listed, aligned;
      for (Copied& done : copied_) {
        listed.push_back(done.entry);
        done.entry.side(3 - from_) = std::move(done.copy);
        aligned.push_back(std::move(done.entry));
      }
      copied_.clear();
      list_.remove_all(listed);
      ctx_.window().List5.add_all_once(std::move(aligned));
    }
    if (failure) std::rethrow_exception(failure);
  }

 private:
  void commit() {
    if (written_.empty()) return;
    std::vector<Copied> written = std::move(written_);
    written_.clear();
    const std::vector<CopyBatch::Outcome> outcomes = batch_->commit();
    std::exception_ptr failure;
    for (size_t i = 0; i < written.size(); ++i) {
      const CopyBatch::Outcome& outcome = outcomes[i];
      FileRef& copy = written[i].copy;
      if (outcome.copy) copy.seen = *outcome.copy;
      if (outcome.error && !failure) {
        try {
          Copier::throw_unnamed(*outcome.error, *written[i].entry.side(from_), copy);
        } catch (...) {
          failure = std::current_exception();
        }
      }
      if (outcome.copy) copied_.push_back(std::move(written[i]));
    }
    if (failure) std::rethrow_exception(failure);
  }

  // An entry as listed and its new file on the other side.
  struct Copied {
    Entry entry;
    FileRef copy;
  };

  Context& ctx_;
  Copier& copier_;
  FileList& list_;
  const int from_;
  std::unique_ptr<CopyBatch> batch_;
  EventTurns turns_;
  std::vector<Copied> written_;  // in the batch, in the order added
  std::vector<Copied> copied_;   // in place, their entries still to move
};

void BulkAlign::align_list(ListId id, int from) {
  Globals& g = ctx_.globals();
  WindowModel& w = ctx_.window();
  Common& common = ctx_.common();
  FileList& list = w.list(id);
  const bool whole_list = !list.any_selected();

  const RunScope run_scope(w);
  // The pair the run started on: should it change all the same, the run ends rather
  // than copy the files of another directory.
  const std::shared_ptr<OpenDirectory> dir1 = w.listed_dir1, dir2 = w.listed_dir2;
  BusyScope busy(common);
  g.GLB_cancel = false;
  w.bot_cancel.set_enabled(true);
  // The entries to copy, as the run found them: the list itself changes in blocks.
  std::vector<Entry> todo;
  for (int i = 0; i < list.count(); ++i)
    if ((whole_list || list.is_selected(i)) && list.at(i).side(from)) todo.push_back(list.at(i));
  Run run(ctx_, copier_, id, from);
  QString name;
  bool stopped = false;
  // What stopped the run, then what kept the copies written before it from their place.
  std::exception_ptr failure, later;
  auto catching = [](auto&& action) -> std::exception_ptr {
    try {
      action();
    } catch (const Refusal&) {
      return std::current_exception();
    } catch (const FileError&) {
      return std::current_exception();
    }
    return nullptr;
  };
  failure = catching([&] {
    for (const Entry& entry : todo) {
      name = entry.text;
      run.copy(entry);
      run.turn();
      if (g.GLB_cancel || g.GLB_closing || w.listed_dir1 != dir1 || w.listed_dir2 != dir2) {
        stopped = true;
        return;
      }
    }
  });
  // Whatever ended the run, the copies written so far take their place and the lists
  // show them.
  later = catching([&] { run.settle(); });
  for (const std::exception_ptr& error : {failure, later}) {
    if (!error) continue;
    busy.release();
    try {
      std::rethrow_exception(error);
    } catch (const Refusal& refusal) {
      ctx_.message(refusal.text(), Buttons::Ok, Icon::Exclamation);
    } catch (const FileError& error) {
      ctx_.message(Copier::file_error_message(error, name), Buttons::Ok, Icon::Critical);
    }
  }
  ctx_.window().clear_free_space_labels();
  busy.release();
  w.bot_cancel.set_enabled(false);
  if (!stopped && !failure && !later) emit w.focus_requested(w.bot_exit.name());
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
