#include "app/file_list.h"

#include <gtest/gtest.h>

namespace tz::test {
namespace {

TEST(FileListTest, KeepsEntriesSortedWithCaseIgnored) {
  FileList list;
  list.assign({"b.txt", "C.txt", "a.txt"});
  EXPECT_EQ(list.entries(), (QStringList{"a.txt", "b.txt", "C.txt"}));
  EXPECT_EQ(list.add("B.doc"), 1);
  EXPECT_EQ(list.add("z"), 4);
  EXPECT_EQ(list.entries(), (QStringList{"a.txt", "B.doc", "b.txt", "C.txt", "z"}));
  EXPECT_EQ(list.find("c.TXT"), 3);
  EXPECT_EQ(list.find("none"), -1);
}

TEST(FileListTest, SelectionAndCurrentEntryFollowRemovals) {
  FileList list;
  list.assign({"a", "b", "c", "d"});
  list.set_selected(2, true);
  list.set_current(3);
  list.remove_at(0);
  EXPECT_EQ(list.entries(), (QStringList{"b", "c", "d"}));
  EXPECT_TRUE(list.is_selected(1));  // "c" keeps its selection
  EXPECT_EQ(list.current(), 2);      // and "d" stays current
  list.add("a");
  EXPECT_EQ(list.current(), 3);
  list.remove_at(3);
  EXPECT_EQ(list.current(), -1);
  EXPECT_TRUE(list.any_selected());
  list.assign({"x"});
  EXPECT_FALSE(list.any_selected());
}

}  // namespace
}  // namespace tz::test
