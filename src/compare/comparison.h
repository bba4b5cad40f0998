#pragma once

namespace tz {

class Tenzor;

// The comparison of the pair in the panes into the five lists.
class Comparison {
 public:
  explicit Comparison(Tenzor& tz) : tz_(tz) {}

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
  Tenzor& tz_;
  bool read_only_ = false;
};

}  // namespace tz
