#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "compare/comparison.h"
#include "tree/branch_table.h"

namespace tz {

class Context;
class EventTurns;
class Panes;

// The comparison of two whole directory trees: the walk, the report of branches found
// in one tree only, and the step-through of the common branches.
class TreeComparison {
 public:
  // What the tree comparison asks of the features above it.
  struct Hooks {
    std::function<void()> record_pair;
    std::function<void()> close_history_view;
  };

  TreeComparison(Context& ctx, Panes& panes, Comparison& comparison, Hooks hooks)
      : ctx_(ctx), panes_(panes), comparison_(comparison), hooks_(std::move(hooks)) {}

  // True when a listing of `path` that includes directories, hidden, system and volume
  // entries finds anything; false on any file system error.
  bool path_exists(const QString& path);
  // True while List1 to List4 hold any entry.
  bool differenza_trovata();

  enum class TreeOutcome {
    stopped,        // refused, cancelled, or a directory could not be read
    root_compared,  // no subdirectories: the roots were compared as a pair
    stepped,        // the step-through ran, and ended or waits at a branch
  };
  TreeOutcome compare_trees();
  void bot_compare_tree_Click();
  // The hidden menu entry "Compare &tree", run for a tree command line.
  void m_tree_Click();
  // "next subdir": on to the next pair of subdirectories of a step-through.
  void b_next_alignment_Click();
  void do_tree();

  // How the comparison of one branch ended.
  enum class BranchResult {
    skipped,  // flagged, or missing on a side
    aligned,
    differs,
    failed,  // it could not be shown or compared: said in a message, never aligned
  };
  // Compares the branch at `at` of the last walk; `turns`, when given, are the event
  // turns of the step-through that compares it.
  BranchResult compare_branch(std::size_t at, EventTurns* turns = nullptr);

  // False when the last walk met a directory it could not walk or compare (said in a
  // "Not compared: " line of the report).
  bool all_compared() const { return not_compared_ == 0; }

  // The branches of the last walk; one that has been stepped through has an empty path1.
  const std::vector<Branch>& branches() const { return table_.branches; }
  // The branch the step-through waits at, and how its comparison ended.
  const QString& waiting_path1() const { return waiting_path1_; }
  const QString& waiting_path2() const { return waiting_path2_; }
  BranchResult waiting_result() const { return waiting_result_; }

  // Without a window nobody reads the closing message of a step-through, and nothing
  // changes the files between two branches: the next branch's files are read while
  // one branch is compared.
  void set_unattended(bool unattended) { unattended_ = unattended; }

 private:
  bool walk();
  bool offer_missing_branches(QStringList& held_otherwise);
  void add_mismatch(const QString& prefix, const QString& path);
  // Lines for the branches that cannot be walked or compared, after the others.
  void add_not_compared(const QStringList& held_otherwise);
  // The directory of a side missing at the walk, when it has been made since.
  std::shared_ptr<OpenDirectory> made_since(std::size_t at, int side);
  // True when every name on the way to the branch at `at` on `side` can be carried by a
  // drive-form path (no `\` in it, valid UTF-8).
  bool reachable_by_path(std::size_t at, int side) const;
  void create_branch(std::size_t at);
  bool is_missing(std::size_t at, int side);
  // True when `dir`, held for the branch at `at` on `side`, is still what the branch's
  // path leads to: the root still where its path says, and each directory below it still
  // reached by its exact name from the one above. False on any error.
  bool still_in_place(std::size_t at, int side, OpenDirectory& dir);
  void show_progress(const QString& path, EventTurns& turns);
  void read_ahead_after(std::size_t at);

  Context& ctx_;
  Panes& panes_;
  Comparison& comparison_;
  Hooks hooks_;
  BranchTable table_;
  QString waiting_path1_, waiting_path2_;
  BranchResult waiting_result_ = BranchResult::skipped;
  bool unattended_ = false;
  int not_compared_ = 0;
  // Counts the walks, so that a step-through notices a new one started meanwhile.
  int generation_ = 0;
  // The files of the next branches to compare, by position, being read while another
  // is compared.
  std::deque<std::pair<std::size_t, std::unique_ptr<ReadAhead>>> ahead_;
};

}  // namespace tz
