#include "align/deletion.h"

#include <exception>

#include "align/copier.h"
#include "align/dragged_entry.h"
#include "align/file_guard.h"
#include "compare/panes.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

// Counter values of one run of delete_selected_files.
constexpr int no_more_questions = 9999;
constexpr int no_more_offers = -9999;
constexpr int default_no = 1;

// Which copies an entry of each list stands for, and where the entry goes after.
struct Rule {
  bool dir1;
  bool dir2;
  const QString& word;
  std::optional<ListId> moves_to;  // none: the entry leaves the lists

  bool deletes(int dir) const { return dir == 1 ? dir1 : dir2; }
};

// Every list says what it deletes: no list deletes by default.
Rule rule_for(ListId id) {
  switch (id) {
    case ListId::List1:
      return {true, false, text::word_dir1, std::nullopt};
    case ListId::List2:
      return {false, true, text::word_dir2, std::nullopt};
    case ListId::List3:
      return {true, false, text::word_dir1, ListId::List2};
    case ListId::List4:
      return {false, true, text::word_dir2, ListId::List1};
    case ListId::List5:
      return {true, true, text::word_both, std::nullopt};
  }
  no_such_list();
}

}  // namespace

void Deletion::Moves::apply(WindowModel& w, ListId id) {
  // The names go for good before the lists say so.
  std::exception_ptr failure;
  for (const std::shared_ptr<OpenDirectory>& dir : touched) {
    try {
      dir->flush();
    } catch (const FileError&) {
      if (!failure) failure = std::current_exception();
    }
  }
  touched.clear();
  if (!gone.empty()) w.clear_free_space_labels();
  w.list(id).remove_all(gone);
  gone.clear();
  for (auto& [to, entries] : left) w.list(to).add_all_once(std::move(entries));
  left.clear();
  if (failure) std::rethrow_exception(failure);
}

void Deletion::delete_entry(ListId id, const Entry& listed, Moves& moves, bool& deleted) {
  const Entry entry = with_status(listed);
  const Rule rule = rule_for(id);
  // Both checks before the first file goes: an "aligned" entry loses both or none.
  for (int dir = 1; dir <= 2; ++dir)
    if (rule.deletes(dir)) check_before_delete(entry, dir);
  Entry left = entry;
  bool one_gone = false;
  try {
    for (int dir = 1; dir <= 2; ++dir) {
      if (!rule.deletes(dir)) continue;
      const FileRef& file = *entry.side(dir);
      file.dir->remove(file.name, OpenDirectory::Flush::later);
      moves.touched.insert(file.dir);
      left.side(dir).reset();
      deleted = one_gone = true;
    }
  } catch (...) {
    if (one_gone) {
      // Dir 1's copy of an aligned file went, dir 2's stays: it is now only in dir 2.
      moves.gone.push_back(entry);
      moves.left[ListId::List2].push_back(std::move(left));
    }
    throw;
  }
  moves.gone.push_back(entry);
  if (rule.moves_to) moves.left[*rule.moves_to].push_back(std::move(left));
}

bool Deletion::delete_selected_files(ListId id) {
  Globals& g = ctx_.globals();
  WindowModel& w = ctx_.window();
  Common& common = ctx_.common();
  FileList& list = w.list(id);
  const Rule rule = rule_for(id);
  const RunScope run(w);
  int counter = 0;
  bool deleted = false;
  QString name;
  // The entries as the run found them: the lists change in blocks, at each event turn.
  std::vector<Entry> selected;
  for (int i = 0; i < list.count(); ++i)
    if (list.is_selected(i) && !list.text(i).isEmpty()) selected.push_back(list.at(i));
  Moves moves;
  EventTurns turns(ctx_.services().clock, ctx_.services().pump);
  g.GLB_cancel = false;
  w.bot_cancel.set_enabled(true);
  // The hourglass from the first answer or event turn on.
  BusyScope busy(common, BusyScope::later);
  try {
    try {
      for (const Entry& entry : selected) {
        if (g.GLB_closing || g.GLB_cancel) break;
        name = entry.text;
        Answer answer = Answer::Yes;
        if (!w.m_skip_delete_confirmations.checked() && counter < no_more_questions) {
          busy.release();
          answer = ctx_.message(text::delete_question + name.toUpper() + text::delete_from +
                                    rule.word + text::question_end,
                                Buttons::YesNoCancel, Icon::Question, default_no);
          if (answer == Answer::Cancel) break;
          // Once declined, the offer to stop asking is not made again in this run.
          if (answer == Answer::Yes && counter >= 0 && ++counter > 1) {
            const Answer skip =
                ctx_.message(text::skip_confirmations, Buttons::YesNo, Icon::Question, default_no);
            counter = skip == Answer::Yes ? no_more_questions : no_more_offers;
          }
          busy.show();
        }
        if (answer != Answer::Yes) continue;
        delete_entry(id, entry, moves, deleted);
        if (turns.due()) {
          moves.apply(w, id);
          turns.run();
          busy.show();
        }
      }
    } catch (...) {
      // What went before the failure shows in the lists before it is told.
      moves.apply(w, id);
      throw;
    }
    moves.apply(w, id);
  } catch (const Refusal& refusal) {
    busy.release();
    ctx_.message(refusal.text(), Buttons::Ok, Icon::Exclamation);
  } catch (const FileError& error) {
    busy.release();
    ctx_.message(text::error_colon + QString::number(error.number()) + text::error_separator +
                 error.description() + ctx_.globals().GLB_crlf + text::current_file + name);
  }
  w.bot_cancel.set_enabled(false);
  return deleted;
}

void Deletion::bot_delete_Click() {
  bool any_deleted = false;
  // Each list has its own run, with its own questions; Cancel ends them all.
  for (ListId id : all_lists) {
    any_deleted = delete_selected_files(id) || any_deleted;
    if (ctx_.globals().GLB_cancel || ctx_.globals().GLB_closing) break;
  }
  finish(any_deleted);
}

void Deletion::m_select_all_Click() {
  const std::optional<ListId> id = ctx_.window().popup_list;
  if (id) ctx_.window().list(*id).select_all();
}

void Deletion::m_delete_selected_files_Click() {
  const std::optional<ListId> id = ctx_.window().popup_list;
  if (id) finish(delete_selected_files(*id));
}

void Deletion::m_delete_all_files_Click() {
  m_select_all_Click();
  m_delete_selected_files_Click();
}

void Deletion::m_skip_delete_confirmations_Click() {
  Control& entry = ctx_.window().m_skip_delete_confirmations;
  entry.set_checked(!entry.checked());
}

void Deletion::finish(bool any_deleted) {
  if (!any_deleted) {
    ctx_.message(text::no_file_deleted);
    return;
  }
  refill_when_same_directory();
}

void Deletion::refill_when_same_directory() {
  const Globals& g = ctx_.globals();
  // Then both lists show one directory's files; each must lose what the other lost.
  if (!ctx_.common().same_place(g.GLB_path1, g.GLB_path2)) return;
  Panes& panes = panes_;
  WindowModel& w = ctx_.window();
  try {
    panes.refresh_file_box(2);
    panes.fill_list_from(2, w.List2);
    panes.refresh_file_box(1);
    panes.fill_list_from(1, w.List1);
  } catch (const FileError&) {
    // A directory gone meanwhile: the lists stay as the deletion left them.
  }
}

void Deletion::Text2_DragDrop() {
  const auto [source, dragged] = take_dragged_entry(ctx_);
  if (!source || !dragged) return;
  const QString& name = dragged->text;

  QString question = text::delete_question + name.toUpper();
  if (*source == ListId::List5)
    question += u'\n' + text::drop_from_both;
  else
    question += rule_for(*source).dir1 ? text::drop_from_dir1 : text::drop_from_dir2;
  // Asked even with confirmations off: a drop is too easily made by mistake.
  if (ctx_.message(question, Buttons::YesNo) != Answer::Yes) return;

  bool deleted = false;
  Moves moves;
  try {
    try {
      delete_entry(*source, *dragged, moves, deleted);
    } catch (...) {
      moves.apply(ctx_.window(), *source);
      throw;
    }
    moves.apply(ctx_.window(), *source);
  } catch (const Refusal& refusal) {
    ctx_.message(refusal.text(), Buttons::Ok, Icon::Exclamation);
    return;
  } catch (const FileError& error) {
    ctx_.message(
        error.number() == err::disk_full ? text::error_61 : Copier::file_error_message(error, name),
        Buttons::Ok, Icon::Critical);
    return;
  }
  refill_when_same_directory();
}

}  // namespace tz
