#include "models/file_list.h"

#include <gtest/gtest.h>

#include "support/entries.h"

namespace tz::test {
namespace {

Entry entry(const QString& text, const QByteArray& name1, const QByteArray& name2 = {}) {
  Entry e{text, FileRef{nullptr, name1, {}}, std::nullopt};
  if (!name2.isEmpty()) e.side2 = FileRef{nullptr, name2, {}};
  return e;
}

// Entries that show alike may stand for different files (case twins, names whose
// lower case collides): a lookup must reach the entry of exactly those files, and
// never fall back to a look-alike.
TEST(FileListTest, FindsAnEntryByItsFilesNeverByALookAlike) {
  FileList list;
  const Entry notes = entry("Notes.txt", "Notes.txt");
  const Entry twin = entry("notes.txt", "notes.txt");
  const Entry same_text = entry("notes.txt", "NOTES.txt");
  list.assign({entry("b.txt", "b.txt"), notes, same_text, twin, entry("a.txt", "a.txt")});

  EXPECT_EQ(list.at(list.find(twin)).side1->name, "notes.txt");
  EXPECT_EQ(list.at(list.find(same_text)).side1->name, "NOTES.txt");
  EXPECT_EQ(list.find(entry("NOTES.TXT", "Notes.txt")), -1);       // other text
  EXPECT_EQ(list.find(entry("notes.txt", "notes.txt", "x")), -1);  // other files
  list.remove(twin);
  EXPECT_GE(list.find(same_text), 0);
  EXPECT_EQ(list.find(twin), -1);
  list.add_once(same_text);  // known already
  list.add_once(twin);
  EXPECT_EQ(list.texts(), (QStringList{"a.txt", "b.txt", "Notes.txt", "notes.txt", "notes.txt"}));
}

// A long run changes a list in blocks: the result is the one of the same changes made one
// by one (order, look-alikes, entries known already, selection, current entry), whether
// the new entries go to a few places (inserted) or to many (merged).
TEST(FileListTest, ChangesInBlocksEndAsTheSameChangesOneByOne) {
  auto names = [](int from, int to, int step) {
    std::vector<Entry> made;
    for (int i = from; i < to; i += step) {
      const QByteArray name = "f" + QByteArray::number(i).rightJustified(3, '0');
      made.push_back(entry(QString::fromLatin1(name), name));
    }
    return made;
  };
  auto state = [](const FileList& list) {
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
      shown.append(list.text(i) + u'/' + QString::fromLatin1(list.at(i).side1->name) +
                   QString(list.is_selected(i) ? "*" : "") +
                   QString(list.current() == i ? "<" : ""));
    return shown;
  };
  std::vector<Entry> twins{entry("f010", "F010"), entry("f010", "f010x")};
  for (const std::vector<Entry>& added :
       {names(0, 40, 10), names(40, 80, 1), names(1, 100, 3), twins}) {
    FileList blocks, single;
    for (FileList* list : {&blocks, &single}) {
      list->assign(names(0, 100, 2));
      list->set_selected(5, true);
      list->set_current(30);
    }
    std::vector<Entry> twice = added;
    twice.push_back(added.front());
    blocks.add_all_once(twice);
    for (const Entry& e : twice) single.add_once(e);
    EXPECT_EQ(state(blocks), state(single));

    blocks.remove_all(added);
    for (const Entry& e : added) single.remove(e);
    EXPECT_EQ(state(blocks), state(single));
  }
}

TEST(FileListTest, KeepsTheLocaleOrderWhenFilledAndWhenAdded) {
  FileList list;
  list.assign(text_entries({"zeta", "Émile", "apple", "eve", "Banana"}));
  list.add(Entry{"éclair", std::nullopt, std::nullopt});
  list.add(Entry{"Zebra", std::nullopt, std::nullopt});
  EXPECT_EQ(list.texts(),
            (QStringList{"apple", "Banana", "éclair", "Émile", "eve", "Zebra", "zeta"}));
  EXPECT_EQ(list.find_text("Émile"), 3);
  EXPECT_EQ(list.find_text("émile"), -1);
}

}  // namespace
}  // namespace tz::test
