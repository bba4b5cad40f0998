#pragma once

#include <array>
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "compare/matcher.h"  // classify, for those that sort a file again
#include "models/entry.h"
#include "models/list_id.h"
#include "models/packed_names.h"

namespace tz {

class Context;
class EventTurns;
class Panes;

// Two directories held open, compared instead of what the panes' paths reach.
struct OpenPair {
  std::shared_ptr<OpenDirectory> dir1, dir2;
  // The plain files of each as just listed, where a listing is at hand that is no older
  // than the comparison's own would be: the directory is not listed again.
  std::shared_ptr<const std::vector<ListedEntry>> files1, files2;
};

// The files of a pair, read on two threads of the pool ahead of their comparison while
// the program does other work. Only for a comparison that follows at once: what it read is
// what the comparison shows. Destroying it waits until the reading is over.
class ReadAhead {
 public:
  explicit ReadAhead(OpenPair pair);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  const OpenPair& pair() const { return pair_; }

  struct Reading;

 private:
  friend class Comparison;
  OpenPair pair_;
  std::shared_ptr<Reading> reading_;
  std::future<void> done_[2];  // dir 1's, dir 2's
};

// A list as the report gives it: the exact name of each entry's file (dir 1's where there
// is one), in the list's order.
using NameList = PackedNames;

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
  // `open`, when given, holds the panes' directories as already reached by their
  // exact names (a tree's branch); their files are compared.
  // `ahead`, when given, holds the files of `open` as read ahead.
  // `turns`, when given, are the event turns of a long run that compares many pairs:
  // events then run only when one is due.
  Outcome compare_dirs(const OpenPair* open = nullptr, ReadAhead* ahead = nullptr,
                       EventTurns* turns = nullptr);
  // "&compare dir's".
  Outcome bot_compare_Click();
  // The default hint line: the drag hint while List1 to List4 hold anything.
  void set_default_comment();

  // For a comparison that nothing will act on (the report): the status of files found
  // on one side only, which only an action checks again, is not read.
  void set_read_only(bool read_only) { read_only_ = read_only; }
  // For a comparison whose lists are only written out (the report): the lists go to
  // `lists`, by list number, as names only; the window's lists stay empty, as an entry
  // each would cost far more than its name. Null: the window's lists again.
  void set_names_only(std::array<NameList, 5>* lists) { names_ = lists; }

 private:
  Context& ctx_;
  Panes& panes_;
  std::function<void()> record_pair_;
  bool read_only_ = false;
  std::array<NameList, 5>* names_ = nullptr;

  bool names_differ() const;
};

}  // namespace tz
