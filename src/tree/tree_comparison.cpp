#include "tree/tree_comparison.h"

#include "compare/comparison.h"
#include "compare/panes.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

// The same listing test as file_exists: directories, hidden and system entries count.
bool TreeComparison::path_exists(const QString& path) {
  return ctx_.common().file_exists(path);
}

bool TreeComparison::differenza_trovata() {
  return ctx_.window().difference_count() > 0;
}

void TreeComparison::show_progress(const QString& path, EventTurns& turns) {
  ctx_.window().lab_drag_drop.set_caption(text::checking_dir + path);
  if (turns.due()) turns.run();
}

bool TreeComparison::walk() {
  WindowModel& w = ctx_.window();
  QString reading;
  try {
    // A report compares every branch right after the walk, and nothing changes the files
    // meanwhile: what the walk lists is what the comparisons would list.
    table_ = walk_trees(
        ctx_.fs(), w.pane1.path(), w.pane2.path(), ctx_.services().pump,
        [&w](const QString& text) { w.lab_drag_drop.set_caption(text); }, reading, unattended_);
    return true;
  } catch (const FileError& error) {
    // Half a table would offer to create branches that exist and pass others by.
    table_ = BranchTable();
    ctx_.common().show_busy(false);
    ctx_.common().show_stopped(text::tree_stopped, reading, error, text::tree_stopped_end);
    return false;
  }
}

// Missing on `side`: no directory there, and no entry of that name either (a file of
// the name is not missing, and a directory cannot be made beside it).
bool TreeComparison::is_missing(std::size_t at, int side) {
  const Branch& branch = table_.branches[at];
  if (side == 1 ? branch.exists1 : branch.exists2) return false;
  const QString& path = side == 1 ? branch.path1 : branch.path2;
  if (branch.parent < 0) return !path_exists(path);
  try {
    const std::shared_ptr<OpenDirectory> parent =
        table_.dir(static_cast<std::size_t>(branch.parent), side);
    return !parent || !holds_name(*parent, side == 1 ? branch.name1 : branch.name2);
  } catch (const FileError&) {
    return !path_exists(path);
  }
}

void TreeComparison::add_mismatch(const QString& prefix, const QString& path) {
  Globals& g = ctx_.globals();
  g.GLB_mismatch_text += g.GLB_crlf + prefix + path;
}

void TreeComparison::add_not_compared(const QStringList& held_otherwise) {
  QStringList lines = held_otherwise;
  for (const Branch& branch : table_.branches)
    if (!branch.not_compared.isEmpty()) lines.append(branch.not_compared);
  not_compared_ = static_cast<int>(lines.size());
  for (const QString& line : lines) add_mismatch(text::not_compared, line);
}

// Made by its exact name inside the tree-2 directory of its parent, so that a name
// holding `\` or bytes that are not UTF-8 is made as itself; the root, one level below
// a directory that exists.
void TreeComparison::create_branch(std::size_t at) {
  Branch& branch = table_.branches[at];
  if (branch.parent < 0) {
    ctx_.fs().make_directory(branch.path2);
    table_.set_root(2, ctx_.fs().open_directory(branch.path2));
    branch.exists2 = true;
    return;
  }
  const std::shared_ptr<OpenDirectory> parent =
      table_.dir(static_cast<std::size_t>(branch.parent), 2);
  if (!parent) throw FileError(err::path_not_found);  // its parent was not made
  parent->make_subdirectory(branch.name2);
  branch.exists2 = true;
}

bool TreeComparison::offer_missing_branches(QStringList& held_otherwise) {
  Common& common = ctx_.common();
  // A parent always stands before its subdirectories: it is made before they are
  // offered, and what lies in a parent that was not made is only said.
  for (std::size_t at = 0; at < table_.branches.size(); ++at) {
    const Branch& branch = table_.branches[at];
    if (branch.exists2 || branch.flagged1 || !branch.not_compared.isEmpty()) continue;
    if (branch.parent >= 0 && !table_.branches[static_cast<std::size_t>(branch.parent)].exists2) {
      add_mismatch(text::only_in_tree1, branch.path1);
      continue;
    }
    // Where a file or a link holds the name nothing can be made: the branch is only said.
    if (!is_missing(at, 2)) {
      held_otherwise.append(not_compared_because(branch.path1, text::name_taken));
      continue;
    }
    const Answer answer =
        ctx_.message(text::path_word + branch.path2 + text::create_question, Buttons::YesNoCancel);
    if (answer == Answer::Cancel) {
      ctx_.window().b_next_alignment.set_visible(false);
      table_ = BranchTable();
      return false;
    }
    if (answer == Answer::Yes) {
      try {
        create_branch(at);
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
  const RunScope run(w);
  g.GLB_mismatch_text.clear();
  // Two texts or two ways to one directory: each branch would be compared with itself.
  if (common.same_place(w.pane1.path(), w.pane2.path())) {
    ctx_.message(text::dirs_equal, Buttons::Ok, Icon::Critical);
    return TreeOutcome::stopped;
  }
  ++generation_;
  ahead_.clear();
  table_ = BranchTable();
  not_compared_ = 0;
  BusyScope busy(common);
  if (!walk()) return TreeOutcome::stopped;
  if (g.GLB_closing) return TreeOutcome::stopped;
  QStringList held_otherwise;
  if (!offer_missing_branches(held_otherwise)) return TreeOutcome::stopped;
  for (std::size_t at = 0; at < table_.branches.size(); ++at) {
    const Branch& branch = table_.branches[at];
    if (branch.exists1 || branch.flagged2 || !branch.not_compared.isEmpty()) continue;
    if (is_missing(at, 1))
      add_mismatch(text::only_in_tree2, branch.path2);
    else
      held_otherwise.append(not_compared_because(branch.path2, text::name_taken));
  }
  add_not_compared(held_otherwise);
  if (table_.branches.size() == 1) {
    busy.release();
    return comparison_.bot_compare_Click() == Comparison::Outcome::compared
               ? TreeOutcome::root_compared
               : TreeOutcome::stopped;
  }
  // Not at start-up: the history keeps what the user chose.
  if (!g.GLB_loading && hooks_.record_pair) hooks_.record_pair();
  if (!g.GLB_mismatch_text.isEmpty()) {
    busy.release();
    emit w.results_requested();
    ctx_.services().pump.process_events();
    if (g.GLB_mismatch_text.isEmpty() || g.GLB_closing) return TreeOutcome::stopped;
  }
  g.GLB_tree_mode = true;
  busy.show();
  do_tree();
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
  // Branches are many and mostly small: events run when a turn is due, not for each.
  EventTurns turns(ctx_.services().clock, ctx_.services().pump);
  const RunScope run(w);
  if (g.GLB_root_path1.isEmpty()) {
    g.GLB_root_path1 = w.pane1.path();
    g.GLB_root_path2 = w.pane2.path();
  }
  const int generation = generation_;
  const std::size_t bound = table_.branches.size();
  // What is read ahead is for the comparison that follows at once, never for one after
  // a wait.
  struct DropReadAhead {
    std::deque<std::pair<std::size_t, std::unique_ptr<ReadAhead>>>& ahead;
    ~DropReadAhead() { ahead.clear(); }
  } drop{ahead_};
  for (std::size_t i = 0; i < bound; ++i) {
    if (table_.branches[i].path1.isEmpty()) continue;
    show_progress(table_.branches[i].path1, turns);
    if (generation != generation_ || g.GLB_closing) return;
    g.GLB_difference_found = false;
    // A copy: the events below may start a new walk, which replaces the table.
    const Branch branch = table_.branches[i];
    const BranchResult result = compare_branch(i, &turns);
    // A stop shows its pair at once.
    if (result == BranchResult::differs || result == BranchResult::failed || turns.due())
      turns.run();
    if (generation != generation_ || g.GLB_closing) return;
    table_.branches[i].path1.clear();
    table_.drop_files(i);
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

TreeComparison::BranchResult TreeComparison::compare_branch(std::size_t at, EventTurns* turns) {
  Globals& g = ctx_.globals();
  Common& common = ctx_.common();
  // Copied: the events while the panes change may start a new walk.
  const Branch branch = table_.branches[at];
  BusyScope busy(common);
  g.GLB_path1 = branch.path1;
  g.GLB_path2 = branch.path2;
  if (branch.flagged1 || branch.flagged2 || !branch.not_compared.isEmpty())
    return BranchResult::skipped;
  // What was read ahead for this branch, if anything; what was read for one before it
  // is of no use now.
  while (!ahead_.empty() && ahead_.front().first < at) ahead_.pop_front();
  std::unique_ptr<ReadAhead> ahead;
  if (!ahead_.empty() && ahead_.front().first == at) {
    ahead = std::move(ahead_.front().second);
    ahead_.pop_front();
  }
  std::shared_ptr<OpenDirectory> dir1, dir2;
  try {
    dir1 = ahead ? ahead->pair().dir1 : table_.dir(at, 1);
    dir2 = ahead ? ahead->pair().dir2 : table_.dir(at, 2);
  } catch (const FileError& error) {
    busy.release();
    // Gone since the walk: passed by. Anything else stops here, said.
    if (error.number() == err::file_not_found || error.number() == err::path_not_found)
      return BranchResult::skipped;
    common.show_stopped(text::comparison_stopped, branch.path1, error,
                        text::comparison_stopped_end);
    return BranchResult::failed;
  }
  // A side missing at the walk is looked for again: it may have been made since.
  if (!dir1) dir1 = made_since(at, 1);
  if (!dir2) dir2 = made_since(at, 2);
  if (!dir1 || !dir2) return BranchResult::skipped;
  // The panes show a branch by its path, and must show that very directory: a name
  // its path cannot carry (a `\` in it, bytes that are not UTF-8) leaves the branch
  // unreached.
  bool opened = true, shown = true;
  try {
    panes_.set_drive(1, branch.path1[0]);
    panes_.set_drive(2, branch.path2[0]);
    // Without a window the panes keep only the paths: a branch still where the walk found
    // it takes them without their being resolved again.
    const bool in_place = panes_.headless() && reachable_by_path(at, 1) &&
                          reachable_by_path(at, 2) && still_in_place(at, 1, *dir1) &&
                          still_in_place(at, 2, *dir2);
    const bool shown1 = panes_.show_directory(1, branch.path1, *dir1, in_place);
    const bool shown2 = panes_.show_directory(2, branch.path2, *dir2, in_place);
    shown = shown1 && shown2;
  } catch (const FileError&) {
    opened = false;
  }
  if (hooks_.close_history_view) hooks_.close_history_view();
  panes_.read_pane_paths();
  if (!opened || !shown) {
    busy.release();
    // Only a name that a path cannot carry is blamed for it; otherwise the directory has
    // gone or changed since the walk, or its drive is not ready.
    const int side = reachable_by_path(at, 1) ? 2 : 1;
    if (reachable_by_path(at, side))
      ctx_.message(text::pair_not_opened);
    else
      ctx_.message((side == 1 ? branch.path1 : branch.path2) + text::branch_not_shown);
    return BranchResult::failed;
  }
  BranchResult result = BranchResult::aligned;
  if (!same_text(g.GLB_path1, g.GLB_path2)) {
    const OpenPair open{dir1, dir2, table_.files(at, 1, *dir1), table_.files(at, 2, *dir2)};
    if (unattended_) read_ahead_after(at);
    if (comparison_.compare_dirs(&open, ahead.get(), turns) != Comparison::Outcome::compared)
      result = BranchResult::failed;
    else if (differenza_trovata())
      result = BranchResult::differs;
  }
  ctx_.window().clear_free_space_labels();
  return result;
}

std::shared_ptr<OpenDirectory> TreeComparison::made_since(std::size_t at, int side) {
  Branch& branch = table_.branches[at];
  if (branch.parent < 0) return nullptr;
  try {
    const std::shared_ptr<OpenDirectory> parent =
        table_.dir(static_cast<std::size_t>(branch.parent), side);
    if (!parent) return nullptr;
    std::shared_ptr<OpenDirectory> dir =
        parent->open_subdirectory(side == 1 ? branch.name1 : branch.name2);
    (side == 1 ? branch.exists1 : branch.exists2) = true;
    return dir;
  } catch (const FileError&) {
    return nullptr;
  }
}

bool TreeComparison::still_in_place(std::size_t at, int side, OpenDirectory& dir) {
  try {
    const auto way = table_.way_to(at, side);
    if (way.empty() || !way.front().second) return false;
    // The root by its path, as the pane was given it; below it each directory held by
    // the exact name it is reached by now.
    const Branch& root = table_.branches.front();
    const std::shared_ptr<OpenDirectory>& top = way.front().second;
    if (!ctx_.fs().info(side == 1 ? root.path1 : root.path2).same_file(top->self())) return false;
    if (at == 0) return top->self().same_file(dir.self());
    for (std::size_t i = 1; i <= way.size(); ++i) {
      const std::size_t below = i < way.size() ? way[i].first : at;
      const Branch& branch = table_.branches[below];
      const FileInfo reached = way[i - 1].second->info(side == 1 ? branch.name1 : branch.name2);
      if (!reached.same_file(i < way.size() ? way[i].second->self() : dir.self())) return false;
    }
    return true;
  } catch (const FileError&) {
    return false;
  }
}

bool TreeComparison::reachable_by_path(std::size_t at, int side) const {
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(at); i > 0;
       i = table_.branches[static_cast<std::size_t>(i)].parent) {
    const Branch& branch = table_.branches[static_cast<std::size_t>(i)];
    const QByteArray& name = side == 1 ? branch.name1 : branch.name2;
    if (name.contains('\\') || QString::fromUtf8(name).toUtf8() != name) return false;
  }
  return true;
}

void TreeComparison::read_ahead_after(std::size_t at) {
  // A few branches ahead, so that the threads reading them never wait for this one.
  constexpr std::size_t depth = 4;
  std::size_t next = ahead_.empty() ? at + 1 : ahead_.back().first + 1;
  for (; ahead_.size() < depth && next < table_.branches.size(); ++next) {
    const Branch& branch = table_.branches[next];
    if (branch.path1.isEmpty()) continue;  // stepped through
    // Only the branches compare_branch compares.
    if (!branch.exists1 || !branch.exists2 || branch.flagged1 || branch.flagged2 ||
        !branch.not_compared.isEmpty())
      continue;
    if (same_text(branch.path1, branch.path2)) continue;
    try {
      std::shared_ptr<OpenDirectory> dir1 = table_.dir(next, 1);
      std::shared_ptr<OpenDirectory> dir2 = table_.dir(next, 2);
      OpenPair pair{dir1, dir2, table_.files(next, 1, *dir1), table_.files(next, 2, *dir2)};
      ahead_.emplace_back(next, std::make_unique<ReadAhead>(std::move(pair)));
    } catch (const FileError&) {
      return;  // said when its turn comes
    }
  }
}

}  // namespace tz
