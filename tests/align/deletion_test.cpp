#include <unistd.h>

#include <utility>

#include "align/bulk_align.h"
#include "align_fixture.h"
#include "platform/file_error.h"

namespace tz::test {
namespace {

class Delete : public AlignTest {
 protected:
  Deletion& del() { return p.tz.deletion(); }
};

TEST_F(Delete, EachListDeletesItsOwnCopiesAndMovesTheEntryOn) {
  for (const auto& [n, name] : {std::pair{1, "only1.txt"},
                                {2, "only2.txt"},
                                {3, "new1.txt"},
                                {4, "new2.txt"},
                                {5, "same.txt"}})
    select(n, {name});
  p.dialogs.expect("do you want to delete ONLY1.TXT from dir1?", Answer::Cancel);
  p.dialogs.expect("do you want to delete ONLY2.TXT from dir2?", Answer::Yes);
  p.dialogs.expect("do you want to delete NEW1.TXT from dir1?", Answer::Yes);
  p.dialogs.expect("do you want to delete NEW2.TXT from dir2?", Answer::Yes);
  p.dialogs.expect("do you want to delete SAME.TXT from both directories?", Answer::Yes);
  del().bot_delete_Click();

  EXPECT_EQ(p.dialogs.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(p.dialogs.boxes[0].default_button, 1);
  EXPECT_TRUE(exists("C:\\one\\only1.txt"));  // cancelled; the other lists still asked
  for (const char* gone : {"D:\\two\\only2.txt", "C:\\one\\new1.txt", "D:\\two\\new2.txt",
                           "C:\\one\\same.txt", "D:\\two\\same.txt"})
    EXPECT_FALSE(exists(gone)) << gone;
  EXPECT_EQ(content("D:\\two\\new1.txt"), "old");
  EXPECT_EQ(p.list(1), (QStringList{"new2.txt", "only1.txt"}));
  EXPECT_EQ(p.list(2), QStringList{"new1.txt"});
  EXPECT_TRUE(p.list(5).isEmpty());
}

TEST_F(Delete, OfferToStopAskingComesAfterTheSecondYesAndOnlyOnce) {
  const QString offer = "do you want to skip further confirmation requests?";
  auto delete_five = [this] {
    for (const char* name : {"a", "b", "c", "d", "only1.txt"}) p.file(1, name, "x");
    p.compare();
    p.tz.transfers().set_popup_list(ListId::List1);
    del().m_delete_all_files_Click();
  };
  // Yes to the offer: no more questions.
  p.dialogs.expect("do you want to delete A from dir1?", Answer::Yes);
  p.dialogs.expect("do you want to delete B from dir1?", Answer::Yes);
  p.dialogs.expect(offer, Answer::Yes);
  delete_five();
  EXPECT_TRUE(p.list(1).isEmpty());
  // No: the questions go on, with no more offers.
  p.dialogs.expect("do you want to delete A from dir1?", Answer::Yes);
  p.dialogs.expect("do you want to delete B from dir1?", Answer::Yes);
  p.dialogs.expect(offer, Answer::No);
  p.dialogs.expect("do you want to delete C from dir1?", Answer::No);
  p.dialogs.expect("do you want to delete D from dir1?", Answer::Yes);
  p.dialogs.expect("do you want to delete ONLY1.TXT from dir1?", Answer::Yes);
  delete_five();
  EXPECT_EQ(p.list(1), QStringList{"c"});
}

TEST_F(Delete, CancelEndsTheRunOfItsListAndOnlyTheDeleteTargetAsksWhenTold) {
  for (const char* name : {"a", "b", "c"}) p.file(1, name, "x");
  p.compare();
  select(1, {"a", "b", "c"});
  p.dialogs.expect("do you want to delete A from dir1?", Answer::Yes);
  p.dialogs.expect("do you want to delete B from dir1?", Answer::Cancel);
  del().bot_delete_Click();
  EXPECT_FALSE(exists("C:\\one\\a"));
  EXPECT_TRUE(exists("C:\\one\\b") && exists("C:\\one\\c"));
  EXPECT_EQ(p.list(1), (QStringList{"b", "c", "only1.txt"}));

  // Without questions the cancel button ends it, at the first event turn, and the runs of
  // the lists after it.
  del().m_skip_delete_confirmations_Click();
  select(1, {"b", "c", "only1.txt"});
  select(2, {"only2.txt"});
  bool enabled = false;
  p.pump.on_events = [&] {
    enabled = p.tz.window().bot_cancel.enabled();
    p.tz.bulk_align().bot_cancel_Click();
  };
  del().bot_delete_Click();
  EXPECT_TRUE(enabled);
  EXPECT_FALSE(p.tz.window().bot_cancel.enabled());
  EXPECT_EQ(p.list(1), (QStringList{"c", "only1.txt"}));
  EXPECT_FALSE(exists("C:\\one\\b"));
  EXPECT_TRUE(exists("C:\\one\\c") && exists("D:\\two\\only2.txt"));

  // The delete target asks all the same.
  p.pump.on_events = nullptr;
  p.dialogs.expect("do you want to delete SAME.TXT\nfrom both directories?", Answer::No);
  drop(5, "same.txt", delete_target);
  EXPECT_TRUE(exists("C:\\one\\same.txt") && exists("D:\\two\\same.txt"));
}

TEST_F(Delete, ErrorsEndTheRunWithTheirMessage) {
  p.drives.set_read_only("C:\\one\\only1.txt", true);
  select(1, {"only1.txt"});
  select(2, {"only2.txt"});
  p.dialogs.expect("do you want to delete ONLY1.TXT from dir1?", Answer::Yes);
  p.dialogs.expect("Error: 75 - Path/File access error\r\nCurrent file: only1.txt");
  p.dialogs.expect("do you want to delete ONLY2.TXT from dir2?", Answer::Yes);
  del().bot_delete_Click();
  EXPECT_FALSE(exists("D:\\two\\only2.txt"));

  p.fs.fault = [](const QString& op, const QString&) {
    if (op == "remove_file") throw FileError(err::disk_full);
  };
  p.dialogs.expect("do you want to delete NEW1.TXT from dir 1?", Answer::Yes);
  p.dialogs.expect("ERROR 61: Disk full");
  drop(3, "new1.txt", delete_target);
}

// "No file deleted." after a press with nothing selected: the window's list tests.
TEST_F(Delete, OneDirectoryRefillsBothLists) {
  p.open_panes("C:\\one", "C:\\one");
  select(1, {"only1.txt"});
  p.dialogs.expect("do you want to delete ONLY1.TXT from dir1?", Answer::Yes);
  del().bot_delete_Click();
  EXPECT_EQ(p.list(1), (QStringList{"new1.txt", "new2.txt", "same.txt"}));
  EXPECT_EQ(p.list(2), p.list(1));
}

// A move or a deletion that a failing deletion stops half-way: no file is lost, none is
// left half-written, and the lists say what a new comparison of the directories finds.
struct HalfWay {
  int source;  // the list the entry is dragged from, or selected in for the delete button
  const char* name;
  int target;            // a list, the delete target, or 0 for the delete button
  const char* failing;   // the file whose deletion fails
  const char* question;  // answered Yes, if one is asked
  const char* error;
  const char* touched;  // the one file changed, if any
  const char* lists;    // lists 1 to 5 afterwards
};

void PrintTo(const HalfWay& c, std::ostream* out) {
  *out << c.name << " from list " << c.source << " to " << c.target;
}

const char* const error_57 = "ERROR 57: Device I/O error";

const HalfWay cases[] = {
    // Moves: the copy is made, its source stays.
    {2, "only2.txt", 1, "D:\\two\\only2.txt", nullptr, error_57, "C/one/only2.txt",
     "only1.txt |  | new1.txt | new2.txt | only2.txt same.txt"},
    {1, "only1.txt", 2, "C:\\one\\only1.txt", nullptr, error_57, "D/two/only1.txt",
     " | only2.txt | new1.txt | new2.txt | only1.txt same.txt"},
    // Both copies of an aligned file: dir 1's goes, dir 2's stays.
    {5, "same.txt", delete_target, "D:\\two\\same.txt",
     "do you want to delete SAME.TXT\nfrom both directories?", error_57, "C/one/same.txt",
     "only1.txt | only2.txt same.txt | new1.txt | new2.txt | "},
    {5, "same.txt", 0, "D:\\two\\same.txt", "do you want to delete SAME.TXT from both directories?",
     "Error: 57 - Device I/O error\r\nCurrent file: same.txt", "C/one/same.txt",
     "only1.txt | only2.txt same.txt | new1.txt | new2.txt | "},
    // One copy: nothing happens.
    {5, "same.txt", 1, "D:\\two\\same.txt", nullptr, error_57, "",
     "only1.txt | only2.txt | new1.txt | new2.txt | same.txt"},
};

class HalfDone : public AlignTest, public ::testing::WithParamInterface<HalfWay> {};

TEST_P(HalfDone, LosesNoFileAndTheListsAgreeWithANewComparison) {
  const HalfWay& c = GetParam();
  const QString failing = c.failing;
  p.fs.fault = [failing](const QString& op, const QString& path) {
    if (op == "remove_file" && path == failing) throw FileError(err::device_io);
  };
  if (c.question) p.dialogs.expect(c.question, Answer::Yes);
  p.dialogs.expect(c.error);
  const QSet<QByteArray> touched = touched_by([&] {
    if (c.target != 0) return drop(c.source, c.name, c.target);
    select(c.source, {c.name});
    p.tz.deletion().bot_delete_Click();
  });
  EXPECT_EQ(touched, *c.touched ? QSet<QByteArray>{c.touched} : QSet<QByteArray>{});
  if (c.target != 0) {
    EXPECT_EQ(p.dialogs.box().icon, Icon::Critical);
  }
  // A copy left beside its source is whole.
  const QString copy = (c.target == 1 ? "C:\\one\\" : "D:\\two\\") + QString(c.name);
  if (c.source + c.target == 3) {
    EXPECT_EQ(content(copy), content(c.failing));
  }
  const auto lists = [this] {
    QStringList all;
    for (int n = 1; n <= 5; ++n) all << p.list(n).join(u' ');
    return all.join(" | ");
  };
  EXPECT_EQ(lists(), c.lists);
  p.fs.fault = nullptr;
  p.compare();
  EXPECT_EQ(lists(), c.lists);
}

INSTANTIATE_TEST_SUITE_P(Actions, HalfDone, ::testing::ValuesIn(cases));

// A copy is deleted for the sake of the other only while that one is still as compared.
TEST_F(AlignTest, NothingIsDeletedForACopyThatIsGoneOrChanged) {
  ::unlink(p.drives.native("C:\\one\\same.txt").constData());
  p.dialogs.expect("ERROR 53 File not found");
  drop(5, "same.txt", 1);
  EXPECT_EQ(content("D:\\two\\same.txt"), "same");

  p.file(2, "new1.txt", "changed", t0 + 120);
  p.dialogs.expect("do you want to delete NEW1.TXT from dir 1?", Answer::Yes);
  p.dialogs.expect(
      "D:\\two\\new1.txt has changed since the comparison (it is another file now, or its time or "
      "length is not what was compared). Nothing was done: compare the directories again.");
  drop(3, "new1.txt", delete_target);
  EXPECT_EQ(content("C:\\one\\new1.txt"), "newer in 1");
}

}  // namespace
}  // namespace tz::test
