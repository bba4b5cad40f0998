#pragma once

#include "support/compare_program.h"
#include "tree/results.h"
#include "tree/tree_comparison.h"

namespace tz::test {

// The comparison's features and the tree's: the step-through and its results window.
struct TreeFeatures : CompareFeatures {
  explicit TreeFeatures(const Services& services)
      : CompareFeatures(services),
        tree_(context(), panes(), comparison(),
              TreeComparison::Hooks{[this] { call(record_pair); },
                                    [this] { call(close_history_view); }}),
        results_(context()) {
    compare_trees = [this] { tree_.bot_compare_tree_Click(); };
  }

  TreeComparison& tree() { return tree_; }
  Results& results() { return results_; }

 private:
  TreeComparison tree_;
  Results results_;
};
using TreeProgram = ProgramOn<TreeFeatures>;

}  // namespace tz::test
