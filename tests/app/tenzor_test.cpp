#include "app/tenzor.h"

#include <gtest/gtest.h>

#include "core/startup.h"
#include "history/history.h"
#include "support/test_program.h"
#include "tree/tree_comparison.h"

namespace tz::test {
namespace {

// The hooks the program wires between its features: a tree comparison records its roots
// in the history once, and none of its branches.
TEST(Tenzor, ATreeComparisonRecordsItsRootsInTheHistoryOnceAndNoBranch) {
  TestProgram p;
  for (const char* dir : {"C:\\one\\s", "D:\\two\\s", "C:\\windows"}) p.drives.make_dir(dir);
  start_up(p.tz.context());
  p.drives.write_file("C:\\one\\s\\f.txt", "f");
  p.open_panes("C:\\one", "D:\\two");
  p.tz.tree().bot_compare_tree_Click();  // stops at s
  EXPECT_EQ(p.tz.window().history.texts(), QStringList{History::entry_text("C:\\one", "D:\\two")});
  p.dialogs.expect("End of tree comparison.");
  p.tz.tree().b_next_alignment_Click();
  EXPECT_EQ(p.tz.window().history.count(), 1);
}

}  // namespace
}  // namespace tz::test
