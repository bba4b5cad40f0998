#pragma once

#include <QString>
#include <functional>

namespace tz {

class Context;
class Panes;
class Comparison;

// Opening a pair given as "path 1 <-> path 2" (the history, the start-up): both panes,
// the comparison, and then the tree comparison.
class PairOpener {
 public:
  // What opening a pair asks of the features above it.
  struct Hooks {
    std::function<void()> close_history_view;
    std::function<void()> compare_trees;
  };

  PairOpener(Context& ctx, Panes& panes, Comparison& comparison, Hooks hooks)
      : ctx_(ctx), panes_(panes), comparison_(comparison), hooks_(std::move(hooks)) {}

  // Opens the pair; a path that does not exist is reported when `report_errors`.
  void open_dir_pair(const QString& pair_text, bool report_errors);

 private:
  Context& ctx_;
  Panes& panes_;
  Comparison& comparison_;
  Hooks hooks_;
};

}  // namespace tz
