#include "align/bulk_align.h"

#include <QSignalSpy>

#include "align_fixture.h"

namespace tz::test {
namespace {

class Bulk : public AlignTest {
 protected:
  BulkAlign& bulk() { return p.tz.bulk_align(); }
};

TEST_F(Bulk, CopiesTheSelectedEntriesOrAllAndStopsOnCancel) {
  for (int i = 1; i <= 4; ++i) file1(QStringLiteral("f%1.txt").arg(i), QByteArray(i, 'x'));
  compare();
  p.tz.window().List1.set_selected(1, true);
  p.tz.window().List1.set_selected(3, true);
  QSignalSpy focus(&p.tz.window(), &WindowModel::focus_requested);
  bulk().bot_list_Click(1);
  EXPECT_EQ(list(1), (QStringList{"f1.txt", "f3.txt", "only1.txt"}));
  EXPECT_EQ(content("D:\\two\\f4.txt"), "xxxx");
  EXPECT_FALSE(exists("D:\\two\\f1.txt") || exists("D:\\two\\f3.txt"));
  EXPECT_EQ(focus.size(), 1);

  // Cancel pressed while the first file is copied.
  p.pump.on_events = [this] { bulk().bot_cancel_Click(); };
  bulk().bot_list_Click(1);
  EXPECT_EQ(list(1), (QStringList{"f3.txt", "only1.txt"}));
  EXPECT_FALSE(p.tz.window().bot_cancel.enabled());
  EXPECT_EQ(focus.size(), 1);

  p.pump.on_events = nullptr;
  bulk().bot_list_Click(1);
  EXPECT_TRUE(list(1).isEmpty());
  EXPECT_EQ(list(5).size(), 6);
  EXPECT_EQ(focus.size(), 2);
}

TEST_F(Bulk, UncopiedEntryStaysAndTheOthersGoOn) {
  file1("g1.txt", "new", t0 + 60);
  file2("g1.txt", "old");
  p.drives.set_read_only("D:\\two\\new1.txt", true);
  compare();  // List3: g1 and new1
  bulk().bot_list_Click(3);
  EXPECT_EQ(p.dialogs.texts(), std::vector<QString>{"Unable to copy file \"C:\\one\\new1.txt\""});
  EXPECT_EQ(list(3), QStringList{"new1.txt"});
  EXPECT_EQ(content("D:\\two\\new1.txt"), "old");
  EXPECT_EQ(content("D:\\two\\g1.txt"), "new");
}

}  // namespace
}  // namespace tz::test
