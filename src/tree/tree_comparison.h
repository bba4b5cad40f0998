#pragma once

#include <QString>

namespace tz {

class Context;

// The comparison of two whole directory trees.
class TreeComparison {
 public:
  explicit TreeComparison(Context& ctx) : ctx_(ctx) {}

  // True when a listing of `path` that includes directories, hidden, system and volume
  // entries finds anything; false on any file system error.
  bool path_exists(const QString& path);
  // True while List1 to List4 hold any entry.
  bool differenza_trovata();

  void compare_trees();
  void bot_compare_tree_Click();
  // The hidden menu entry "Compare &tree", run for a tree command line.
  void m_tree_Click();
  // "next subdir": on to the next pair of subdirectories of a step-through.
  void b_next_alignment_Click();

 private:
  Context& ctx_;
};

}  // namespace tz
