#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <ctime>

#include "platform/host_file_system.h"
#include "platform_test_util.h"
#include "support/temp_drives.h"

namespace tz {
namespace {

// Runs a test body in a fixed time zone, restoring the old one afterwards.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) : old_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
    qputenv("TZ", zone);
    ::tzset();
  }
  ~TimeZone() {
    if (had_) {
      qputenv("TZ", old_);
    } else {
      qunsetenv("TZ");
    }
    ::tzset();
  }

 private:
  QByteArray old_;
  bool had_;
};

class PlatformInfo : public ::testing::Test {
 protected:
  test::TempDrives drives{{u'C'}};
  HostFileSystem fs{drives.table()};
};

TEST_F(PlatformInfo, LengthBeyondFourGigabytes) {
  drives.write_file("C:\\big", "");
  const qint64 size = 5LL * 1024 * 1024 * 1024 + 3;
  ASSERT_EQ(::truncate(QFile::encodeName(drives.host_path("C:\\big")).constData(), size), 0);
  EXPECT_EQ(fs.length("C:\\BIG"), size);
}

TEST_F(PlatformInfo, ModifiedIsLocalWallClockInWholeSeconds) {
  const TimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
  const qint64 winter = 1700000000;  // 2023-11-14 22:13:20 UTC
  const qint64 summer = 1690000000;  // 2023-07-22 04:26:40 UTC
  drives.write_file("C:\\winter", "", winter);
  drives.write_file("C:\\summer", "");
  const struct timespec times[2] = {{summer, 999999999}, {summer, 999999999}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(drives.host_path("C:\\summer")).constData(),
                        times, 0),
            0);
  EXPECT_EQ(fs.modified("C:\\winter"), winter + 3600);
  EXPECT_EQ(fs.modified("C:\\summer"), summer + 7200);
}

TEST_F(PlatformInfo, Attributes) {
  drives.write_file("C:\\plain", "");
  drives.write_file("C:\\ro", "");
  drives.set_read_only("C:\\ro", true);
  drives.write_file("C:\\.dot", "");
  drives.make_dir("C:\\Dir");
  drives.write_file("C:\\owner_only", "");
  ASSERT_EQ(::chmod(QFile::encodeName(drives.host_path("C:\\owner_only")).constData(), 0600), 0);

  EXPECT_EQ(fs.attributes("C:\\plain"), attr::normal);
  EXPECT_EQ(fs.attributes("C:\\ro"), attr::read_only);
  EXPECT_EQ(fs.attributes("C:\\owner_only"), attr::normal);
  EXPECT_EQ(fs.attributes("C:\\.DOT"), attr::hidden);
  EXPECT_EQ(fs.attributes("C:\\dir"), attr::directory);
  EXPECT_EQ(fs.attributes("C:\\"), attr::directory);
}

}  // namespace
}  // namespace tz

namespace tz {
namespace {

TEST(PlatformOpenDirectory, ReadsNamesAsInfoOfTheFullPathWould) {
  test::TempDrives drives{{u'C'}};
  HostFileSystem fs{drives.table()};
  drives.write_file("C:\\dir\\Big.bin", QByteArray(70, 'x'), 1'600'000'000);
  drives.write_file("C:\\dir\\.hidden", "h");
  drives.set_read_only("C:\\dir\\.hidden", true);
  const auto dir = fs.open_directory("c:\\DIR\\");
  const FileInfo by_name = dir->info("Big.bin");
  const FileInfo by_path = fs.info("C:\\dir\\Big.bin");
  EXPECT_EQ(by_name.length, 70);
  EXPECT_EQ(by_name.modified, by_path.modified);
  EXPECT_EQ(dir->info(".hidden").attributes, attr::read_only | attr::hidden);
  EXPECT_EQ(test::error_number([&] { dir->info("gone.txt"); }), err::file_not_found);
  EXPECT_EQ(test::error_number([&] { dir->info("../dir/Big.bin"); }), err::bad_file_name);
  EXPECT_EQ(test::error_number([&] { fs.open_directory("C:\\dir\\Big.bin"); }), err::path_not_found);
}

}  // namespace
}  // namespace tz
