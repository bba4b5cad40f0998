#include "app/file_list.h"

#include <gtest/gtest.h>

namespace tz::test {
namespace {

// Entries that differ only in case stand for different files: a lookup must reach the
// exact one, and fall back to case-insensitive only when there is none.
TEST(FileListTest, FindPrefersTheExactTextAmongEntriesThatDifferInCase) {
  FileList list;
  list.assign({"b.txt", "Notes.txt", "a.txt", "notes.txt", "z.txt"});
  EXPECT_EQ(list.entry(list.find("notes.txt")), "notes.txt");
  EXPECT_EQ(list.entry(list.find("Notes.txt")), "Notes.txt");
  EXPECT_EQ(list.entry(list.find("B.TXT")), "b.txt");
  EXPECT_EQ(list.find("c.txt"), -1);
  list.remove("notes.txt");
  list.add_once("NOTES.TXT");  // known already, letter case ignored
  EXPECT_EQ(list.entries(), (QStringList{"a.txt", "b.txt", "Notes.txt", "z.txt"}));
}

}  // namespace
}  // namespace tz::test
