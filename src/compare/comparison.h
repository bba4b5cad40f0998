#pragma once

#include <functional>

namespace tz {

class Context;
class Panes;

// The comparison of the pair in the panes into the five lists.
class Comparison {
 public:
  // `record_pair` records the pair in the panes in the history.
  Comparison(Context& ctx, Panes& panes, std::function<void()> record_pair)
      : ctx_(ctx), panes_(panes), record_pair_(std::move(record_pair)) {}

  enum class Outcome {
    compared,  // the lists hold the result
    refused,   // the two panes show one directory
    stopped,   // a file could not be read (the lists stay empty), or the window closed
  };
  Outcome compare_dirs();
  // "&compare dir's".
  void bot_compare_Click();
  // The default hint line: the drag hint while List1 to List4 hold anything.
  void set_default_comment();

  // For a comparison that nothing will act on (the report): the status of files found
  // on one side only, which only an action checks again, is not read.
  void set_read_only(bool read_only) { read_only_ = read_only; }

 private:
  Context& ctx_;
  Panes& panes_;
  std::function<void()> record_pair_;
  bool read_only_ = false;
};

}  // namespace tz
