#include "align_fixture.h"

namespace tz::test {
namespace {

class Open : public AlignTest {
 protected:
  void SetUp() override {
    AlignTest::SetUp();
    p.processes.on_open = [this](const QString& path) { opened.push_back({path, p.clock.now}); };
  }
  QString host(const QString& drive_path) { return p.drives.host_path(drive_path); }

  std::vector<std::pair<QString, double>> opened;
};

TEST_F(Open, FilesOpenInTheirOrderTwoSecondsApartOrNotAtAllWhenGone) {
  drop(4, "new2.txt", open_target);  // both copies, dir 1's first
  drop(5, "same.txt", open_target);  // dir 1's copy only
  drop(2, "only2.txt", open_target);
  ASSERT_EQ(opened.size(), 4u);
  EXPECT_EQ(opened[0].first, host("C:\\one\\new2.txt"));
  EXPECT_EQ(opened[1].first, host("D:\\two\\new2.txt"));
  EXPECT_EQ(opened[2].first, host("C:\\one\\same.txt"));
  EXPECT_EQ(opened[3].first, host("D:\\two\\only2.txt"));
  // The pause follows every first file, whether a second comes or not.
  EXPECT_GE(opened[1].second - opened[0].second, 2.0);
  EXPECT_GE(opened[3].second - opened[2].second, 2.0);

  // A file gone since the comparison opens nothing.
  QFile::remove(host("D:\\two\\new1.txt"));
  p.dialogs.expect("Error: 53 - File not found");
  drop(3, "new1.txt", open_target);
  EXPECT_EQ(opened.size(), 4u);
}

}  // namespace
}  // namespace tz::test
