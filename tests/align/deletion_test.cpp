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

}  // namespace
}  // namespace tz::test
