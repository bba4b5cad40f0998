#include <algorithm>
#include <utility>

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
  answers({Answer::Cancel, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes});
  del().bot_delete_Click();

  EXPECT_EQ(p.dialogs.texts(), (std::vector<QString>{
                                   "do you want to delete ONLY1.TXT from dir1?",
                                   "do you want to delete ONLY2.TXT from dir2?",
                                   "do you want to delete NEW1.TXT from dir1?",
                                   "do you want to delete NEW2.TXT from dir2?",
                                   "do you want to delete SAME.TXT from both directories?",
                               }));
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
  auto delete_five = [this](std::initializer_list<Answer> given) {
    for (const char* name : {"a", "b", "c", "d", "only1.txt"}) p.file(1, name, "x");
    p.compare();
    p.tz.transfers().set_popup_list(ListId::List1);
    p.dialogs.boxes.clear();
    answers(given);
    del().m_delete_all_files_Click();
    return p.dialogs.texts();
  };
  // Yes to the offer: no more questions.
  std::vector<QString> asked = delete_five({Answer::Yes, Answer::Yes, Answer::Yes});
  EXPECT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[2], offer);
  EXPECT_TRUE(p.list(1).isEmpty());
  // No: the questions go on, with no more offers.
  asked = delete_five({Answer::Yes, Answer::Yes, Answer::No, Answer::No, Answer::Yes, Answer::Yes});
  EXPECT_EQ(asked.size(), 6u);
  EXPECT_EQ(asked[2], offer);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), offer), 1);
  EXPECT_EQ(p.list(1), QStringList{"c"});
}

TEST_F(Delete, CancelEndsTheRunOfItsList) {
  for (const char* name : {"a", "b", "c"}) p.file(1, name, "x");
  p.compare();
  select(1, {"a", "b", "c"});
  answers({Answer::Yes, Answer::Cancel});
  del().bot_delete_Click();
  EXPECT_EQ(p.dialogs.texts(), (std::vector<QString>{"do you want to delete A from dir1?",
                                                     "do you want to delete B from dir1?"}));
  EXPECT_FALSE(exists("C:\\one\\a"));
  EXPECT_TRUE(exists("C:\\one\\b") && exists("C:\\one\\c"));
  EXPECT_EQ(p.list(1), (QStringList{"b", "c", "only1.txt"}));
}

TEST_F(Delete, WithoutConfirmationsOnlyTheDeleteTargetAsks) {
  del().m_skip_delete_confirmations_Click();
  select(1, {"only1.txt"});
  del().bot_delete_Click();
  EXPECT_FALSE(exists("C:\\one\\only1.txt"));
  EXPECT_TRUE(p.dialogs.boxes.empty());

  answers({Answer::No});
  drop(5, "same.txt", delete_target);
  EXPECT_EQ(p.dialogs.texts(),
            std::vector<QString>{"do you want to delete SAME.TXT\nfrom both directories?"});
  EXPECT_TRUE(exists("C:\\one\\same.txt") && exists("D:\\two\\same.txt"));
}

TEST_F(Delete, ErrorsEndTheRunWithTheirMessage) {
  p.drives.set_read_only("C:\\one\\only1.txt", true);
  select(1, {"only1.txt"});
  select(2, {"only2.txt"});
  answers({Answer::Yes, Answer::Yes});
  del().bot_delete_Click();
  EXPECT_EQ(p.dialogs.texts()[1], "Error: 75 - Path/File access error\r\nCurrent file: only1.txt");
  EXPECT_FALSE(exists("D:\\two\\only2.txt"));

  // On the delete target the second copy of an aligned file refuses: the first is gone.
  p.drives.set_read_only("D:\\two\\same.txt", true);
  answers({Answer::Yes});
  drop(5, "same.txt", delete_target);
  EXPECT_EQ(p.dialogs.texts().back(), "ERROR 75: Path/File access error (file may be protected)");
  EXPECT_FALSE(exists("C:\\one\\same.txt"));
  EXPECT_EQ(p.list(5), QStringList{"same.txt"});

  p.fs.fault = [](const QString& op, const QString&) {
    if (op == "remove_file") throw FileError(err::disk_full);
  };
  answers({Answer::Yes});
  drop(3, "new1.txt", delete_target);
  EXPECT_EQ(p.dialogs.texts().end()[-2], "do you want to delete NEW1.TXT from dir 1?");
  EXPECT_EQ(p.dialogs.texts().back(), "ERROR 61: Disk full");
}

TEST_F(Delete, NothingDeletedIsReportedAndOneDirectoryRefillsBothLists) {
  del().bot_delete_Click();
  EXPECT_EQ(p.dialogs.texts(), std::vector<QString>{"No file deleted."});

  p.open_panes("C:\\one", "C:\\one");
  select(1, {"only1.txt"});
  answers({Answer::Yes});
  del().bot_delete_Click();
  EXPECT_EQ(p.list(1), (QStringList{"new1.txt", "new2.txt", "same.txt"}));
  EXPECT_EQ(p.list(2), p.list(1));
}

}  // namespace
}  // namespace tz::test
