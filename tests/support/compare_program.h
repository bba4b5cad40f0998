#pragma once

#include <functional>

#include "compare/comparison.h"
#include "compare/pair_opener.h"
#include "compare/panes.h"
#include "support/program.h"

namespace tz::test {

// The panes, the comparison and the pair opener. Their hooks to the features above (the
// history, the tree) call what a test of a layer above puts in, and nothing otherwise.
struct CompareFeatures : CoreFeatures {
  explicit CompareFeatures(const Services& services)
      : CoreFeatures(services),
        panes_(context()),
        comparison_(context(), panes_, [this] { call(record_pair); }),
        pair_opener_(context(), panes_, comparison_,
                     PairOpener::Hooks{[this] { call(close_history_view); },
                                       [this] { call(compare_trees); }}) {}

  Panes& panes() { return panes_; }
  Comparison& comparison() { return comparison_; }
  PairOpener& pair_opener() { return pair_opener_; }

  std::function<void()> record_pair, close_history_view, compare_trees;

 protected:
  static void call(const std::function<void()>& hook) {
    if (hook) hook();
  }

 private:
  Panes panes_;
  Comparison comparison_;
  PairOpener pair_opener_;
};
using CompareProgram = ProgramOn<CompareFeatures>;

}  // namespace tz::test
