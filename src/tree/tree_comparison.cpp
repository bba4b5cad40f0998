#include "tree/tree_comparison.h"

#include "compare/comparison.h"
#include "compare/panes.h"
#include "core/common.h"
#include "core/context.h"
#include "core/texts.h"
#include "platform/file_error.h"

namespace tz {

// The same listing test as file_exists: directories, hidden and system entries count.
bool TreeComparison::path_exists(const QString& path) {
  return ctx_.common().file_exists(path);
}

bool TreeComparison::differenza_trovata() {
  return ctx_.window().difference_count() > 0;
}

void TreeComparison::show_progress(const QString& path) {
  ctx_.window().lab_drag_drop.set_caption(text::checking_dir + path);
  ctx_.services().pump.process_events();
}

bool TreeComparison::walk() {
  WindowModel& w = ctx_.window();
  const QString& crlf = ctx_.globals().GLB_crlf;
  QString reading;
  try {
    branches_ = walk_trees(
        ctx_.fs(), w.pane1.path(), w.pane2.path(), ctx_.services().pump,
        [&w](const QString& text) { w.lab_drag_drop.set_caption(text); }, reading);
    return true;
  } catch (const FileError& error) {
    // Half a table would offer to create branches that exist and pass others by.
    branches_.clear();
    ctx_.common().show_busy(false);
    ctx_.message(text::tree_stopped + reading + crlf + text::error_colon +
                     QString::number(error.number()) + text::error_separator + error.description() +
                     crlf + text::tree_stopped_end,
                 Buttons::Ok, Icon::Critical);
    return false;
  }
}

// Missing on `side`: no directory there, and no entry of that name either (a file of
// the name is not missing, and a directory cannot be made beside it).
bool TreeComparison::is_missing(const Branch& branch, int side) {
  if (side == 1 ? branch.dir1 : branch.dir2) return false;
  const QString& path = side == 1 ? branch.path1 : branch.path2;
  if (branch.parent < 0) return !path_exists(path);
  const Branch& parent = branches_[static_cast<std::size_t>(branch.parent)];
  OpenDirectory* parent_dir = (side == 1 ? parent.dir1 : parent.dir2).get();
  if (!parent_dir) return true;
  try {
    return !holds_name(*parent_dir, side == 1 ? branch.name1 : branch.name2);
  } catch (const FileError&) {
    return !path_exists(path);
  }
}

void TreeComparison::add_mismatch(const QString& prefix, const QString& path) {
  Globals& g = ctx_.globals();
  g.GLB_mismatch_text += g.GLB_crlf + prefix + path;
}

// Made by its exact name inside the tree-2 directory of its parent, so that a name
// holding `\` or bytes that are not UTF-8 is made as itself.
void TreeComparison::create_branch(Branch& branch) {
  if (branch.parent < 0) throw FileError(err::path_not_found);
  const Branch& parent = branches_[static_cast<std::size_t>(branch.parent)];
  if (!parent.dir2) throw FileError(err::path_not_found);  // its parent was not made
  branch.dir2 = parent.dir2->make_subdirectory(branch.name2);
}

bool TreeComparison::offer_missing_branches() {
  Common& common = ctx_.common();
  // A parent always stands before its subdirectories: it is made before they are
  // offered.
  for (Branch& branch : branches_) {
    if (!is_missing(branch, 2) || branch.flagged1) continue;
    const Answer answer =
        ctx_.message(text::path_word + branch.path2 + text::create_question, Buttons::YesNoCancel);
    if (answer == Answer::Cancel) {
      ctx_.window().b_next_alignment.set_visible(false);
      branches_.clear();
      common.show_busy(false);
      return false;
    }
    if (answer == Answer::Yes) {
      try {
        create_branch(branch);
        continue;
      } catch (const FileError& error) {
        common.show_error_message(error);
      }
    }
    add_mismatch(text::only_in_tree1, branch.path1);
  }
  return true;
}

TreeComparison::TreeOutcome TreeComparison::compare_trees() {
  Globals& g = ctx_.globals();
  WindowModel& w = ctx_.window();
  Common& common = ctx_.common();
  g.GLB_mismatch_text.clear();
  // Two texts or two ways to one directory: each branch would be compared with itself.
  if (common.same_place(w.pane1.path(), w.pane2.path())) {
    ctx_.message(text::dirs_equal, Buttons::Ok, Icon::Critical);
    return TreeOutcome::stopped;
  }
  ++generation_;
  branches_.clear();
  common.show_busy(true);
  if (!walk()) return TreeOutcome::stopped;
  if (g.GLB_closing) return TreeOutcome::stopped;
  if (!offer_missing_branches()) return TreeOutcome::stopped;
  for (const Branch& branch : branches_) {
    if (is_missing(branch, 1) && !branch.flagged2) add_mismatch(text::only_in_tree2, branch.path2);
  }
  if (branches_.size() == 1) {
    common.show_busy(false);
    return comparison_.bot_compare_Click() == Comparison::Outcome::compared
               ? TreeOutcome::root_compared
               : TreeOutcome::stopped;
  }
  // Not at start-up: the history keeps what the user chose.
  if (!g.GLB_loading && hooks_.record_pair) hooks_.record_pair();
  if (!g.GLB_mismatch_text.isEmpty()) {
    common.show_busy(false);
    emit w.results_requested();
    ctx_.services().pump.process_events();
    if (g.GLB_mismatch_text.isEmpty() || g.GLB_closing) return TreeOutcome::stopped;
  }
  g.GLB_tree_mode = true;
  common.show_busy(true);
  do_tree();
  common.show_busy(false);
  return TreeOutcome::stepped;
}

void TreeComparison::bot_compare_tree_Click() {
  compare_trees();
}

void TreeComparison::m_tree_Click() {
  compare_trees();
}

void TreeComparison::b_next_alignment_Click() {
  ctx_.window().b_next_alignment.set_visible(false);
  do_tree();
}

void TreeComparison::do_tree() {
  Globals& g = ctx_.globals();
  WindowModel& w = ctx_.window();
  EventPump& pump = ctx_.services().pump;
  if (g.GLB_root_path1.isEmpty()) {
    g.GLB_root_path1 = w.pane1.path();
    g.GLB_root_path2 = w.pane2.path();
  }
  const int generation = generation_;
  const std::size_t bound = branches_.size();
  for (std::size_t i = 0; i < bound; ++i) {
    if (branches_[i].path1.isEmpty()) continue;
    show_progress(branches_[i].path1);
    if (generation != generation_ || g.GLB_closing) return;
    g.GLB_difference_found = false;
    // A copy: the events below may start a new walk, which replaces the table.
    const Branch branch = branches_[i];
    const BranchResult result = compare_branch(branch);
    pump.process_events();
    if (generation != generation_ || g.GLB_closing) return;
    branches_[i].path1.clear();
    if (result == BranchResult::differs || result == BranchResult::failed) {
      waiting_path1_ = branch.path1;
      waiting_path2_ = branch.path2;
      waiting_result_ = result;
      w.b_next_alignment.set_visible(true);
      comparison_.set_default_comment();
      return;
    }
  }
  waiting_path1_.clear();
  waiting_path2_.clear();
  try {
    panes_.set_directory(1, g.GLB_root_path1);
    panes_.set_directory(2, g.GLB_root_path2);
  } catch (const FileError&) {
    ctx_.message(text::pair_not_opened);
  }
  g.GLB_root_path1.clear();
  g.GLB_root_path2.clear();
  if (!unattended_) ctx_.message(text::end_of_tree);
  g.GLB_tree_mode = false;
}

// Both sides still stand under their names in their parents (the roots always do).
bool TreeComparison::still_there(const Branch& branch) {
  if (branch.parent < 0) return true;
  const Branch& parent = branches_[static_cast<std::size_t>(branch.parent)];
  try {
    return parent.dir1 && parent.dir2 && parent.dir1->exists(branch.name1) &&
           parent.dir2->exists(branch.name2);
  } catch (const FileError&) {
    return false;
  }
}

bool TreeComparison::reaches(const QString& path, OpenDirectory& dir) {
  try {
    return ctx_.fs().open_directory(path)->self().same_file(dir.self());
  } catch (const FileError&) {
    return false;
  }
}

TreeComparison::BranchResult TreeComparison::compare_branch(const Branch& branch) {
  Globals& g = ctx_.globals();
  Common& common = ctx_.common();
  common.show_busy(true);
  g.GLB_path1 = branch.path1;
  g.GLB_path2 = branch.path2;
  if (branch.flagged1 || branch.flagged2 || !branch.dir1 || !branch.dir2) {
    common.show_busy(false);
    return BranchResult::skipped;
  }
  // The panes show a branch by its path. A name its path cannot carry (a `\` in it,
  // bytes that are not UTF-8) leaves the branch unreached; one removed since the walk
  // is passed by.
  const bool by_path = path_exists(branch.path1) && path_exists(branch.path2);
  if (!by_path && !still_there(branch)) {
    common.show_busy(false);
    return BranchResult::skipped;
  }
  if (by_path) {
    try {
      panes_.set_drive(1, branch.path1[0]);
      panes_.set_drive(2, branch.path2[0]);
      panes_.set_directory(1, branch.path1);
      panes_.set_directory(2, branch.path2);
    } catch (const FileError&) {
      common.show_busy(false);
      ctx_.message(text::pair_not_opened);
      panes_.fall_back_to_root(panes_.current_drive());
      common.show_busy(false);
      return BranchResult::failed;
    }
  }
  if (hooks_.close_history_view) hooks_.close_history_view();
  panes_.read_pane_paths();
  // The files compared are those of the branch as the walk reached it, and the panes
  // must show that very directory.
  for (int side = 1; side <= 2; ++side) {
    const std::shared_ptr<OpenDirectory>& dir = side == 1 ? branch.dir1 : branch.dir2;
    if (by_path && reaches(side == 1 ? g.GLB_path1 : g.GLB_path2, *dir)) continue;
    common.show_busy(false);
    ctx_.message((side == 1 ? branch.path1 : branch.path2) + text::branch_not_shown);
    return BranchResult::failed;
  }
  BranchResult result = BranchResult::aligned;
  if (!same_text(g.GLB_path1, g.GLB_path2)) {
    const OpenPair open{branch.dir1, branch.dir2};
    if (comparison_.compare_dirs(&open) != Comparison::Outcome::compared)
      result = BranchResult::failed;
    else if (differenza_trovata())
      result = BranchResult::differs;
  }
  ctx_.window().clear_free_space_labels();
  common.show_busy(false);
  return result;
}

}  // namespace tz
