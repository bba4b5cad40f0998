#include "align/deletion.h"

#include "align_fixture.h"
#include "platform/file_error.h"

namespace tz::test {
namespace {

class Delete : public AlignTest {
 protected:
  void SetUp() override {
    AlignTest::SetUp();
    compare();
  }
  Deletion& del() { return p.tz.deletion(); }
  void answers(std::initializer_list<Answer> list) {
    for (Answer a : list) p.dialogs.expect(a);
  }
};

TEST_F(Delete, EachListDeletesItsOwnCopiesAndMovesTheEntryOn) {
  select(1, {"only1.txt"});
  select(3, {"new1.txt"});
  select(4, {"new2.txt"});
  select(5, {"same.txt"});
  answers({Answer::Cancel, Answer::Yes, Answer::Yes, Answer::Yes});
  del().bot_delete_Click();

  EXPECT_EQ(p.dialogs.texts(), (std::vector<QString>{
                                   "do you want to delete ONLY1.TXT from dir1?",
                                   "do you want to delete NEW1.TXT from dir1?",
                                   "do you want to delete NEW2.TXT from dir2?",
                                   "do you want to delete SAME.TXT from both directories?",
                               }));
  EXPECT_EQ(p.dialogs.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(p.dialogs.boxes[0].default_button, 1);
  EXPECT_TRUE(exists("C:\\one\\only1.txt"));  // cancelled; the other lists still asked
  EXPECT_FALSE(exists("C:\\one\\new1.txt") || exists("D:\\two\\new2.txt"));
  EXPECT_FALSE(exists("C:\\one\\same.txt") || exists("D:\\two\\same.txt"));
  EXPECT_EQ(content("D:\\two\\new1.txt"), "old");
  EXPECT_EQ(list(1), (QStringList{"new2.txt", "only1.txt"}));
  EXPECT_EQ(list(2), (QStringList{"new1.txt", "only2.txt"}));
  EXPECT_TRUE(list(5).isEmpty());
}

TEST_F(Delete, OfferToStopAskingComesAfterTheSecondYesAndOnlyOnce) {
  const QString offer = "do you want to skip further confirmation requests?";
  auto four_files = [this] {
    for (const char* name : {"a", "b", "c", "d"}) file1(name, "x");
    file1("only1.txt", "one");
    compare();
    p.tz.transfers().set_popup_list(1);
    p.dialogs.boxes.clear();
  };
  four_files();
  answers({Answer::Yes, Answer::Yes, Answer::Yes});
  del().m_delete_all_files_Click();
  EXPECT_EQ(p.dialogs.texts().size(), 3u);
  EXPECT_EQ(p.dialogs.texts()[2], offer);
  EXPECT_TRUE(list(1).isEmpty());

  four_files();
  answers({Answer::Yes, Answer::Yes, Answer::No, Answer::No, Answer::Yes, Answer::Yes});
  del().m_delete_all_files_Click();
  EXPECT_EQ(p.dialogs.texts().size(), 6u);
  EXPECT_EQ(p.dialogs.texts()[2], offer);
  EXPECT_EQ(list(1), QStringList{"c"});
}

TEST_F(Delete, WithoutConfirmationsOnlyTheDeleteTargetAsks) {
  del().m_skip_delete_confirmations_Click();
  select(1, {"only1.txt"});
  del().bot_delete_Click();
  EXPECT_FALSE(exists("C:\\one\\only1.txt"));
  EXPECT_TRUE(p.dialogs.boxes.empty());

  press(5, "same.txt");
  answers({Answer::No});
  del().Text2_DragDrop();
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
  press(5, "same.txt");
  answers({Answer::Yes});
  del().Text2_DragDrop();
  EXPECT_EQ(p.dialogs.texts().back(), "ERROR 75: Path/File access error (file may be protected)");
  EXPECT_FALSE(exists("C:\\one\\same.txt"));
  EXPECT_EQ(list(5), QStringList{"same.txt"});

  p.fs.fault = [](const QString& op, const QString&) {
    if (op == "remove_file") throw FileError(err::disk_full);
  };
  press(3, "new1.txt");
  answers({Answer::Yes});
  del().Text2_DragDrop();
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
  EXPECT_EQ(list(1), (QStringList{"new1.txt", "new2.txt", "same.txt"}));
  EXPECT_EQ(list(2), list(1));
}

}  // namespace
}  // namespace tz::test
