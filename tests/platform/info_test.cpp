#include <fcntl.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <limits>

#include "platform_test_util.h"

namespace tz::test {
namespace {

class PlatformInfo : public PlatformTest {};

// Lengths past 4 GiB: the comparison reads them through the same file information.
TEST_F(PlatformInfo, ModifiedIsUtcInWholeSecondsWhateverTheTimeZone) {
  const ScopedEnv zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  const qint64 winter = 1700000000;  // 2023-11-14 22:13:20 UTC
  const qint64 summer = 1690000000;  // 2023-07-22 04:26:40 UTC
  drives.write_file("C:\\winter", "", winter);
  drives.write_file("C:\\summer", "");
  const struct timespec times[2] = {{summer, 999999999}, {summer, 999999999}};
  ASSERT_EQ(::utimensat(AT_FDCWD, native("C:\\summer").constData(), times, 0), 0);
  EXPECT_EQ(fs.modified("C:\\winter"), winter);
  EXPECT_EQ(fs.modified("C:\\summer"), summer);
  EXPECT_EQ(fs.open_directory("C:\\")->info("summer").modified, summer);
}

// tmpfs keeps any 64-bit time (other file systems clamp it).
TEST_F(PlatformInfo, ExtremeTimesAreReadAsStored) {
  const ScopedEnv zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  QTemporaryDir shm(QStringLiteral("/dev/shm/tenzor-test-XXXXXX"));
  if (!shm.isValid()) GTEST_SKIP() << "no /dev/shm";
  const auto dir = fs.open_directory(shm.path());
  for (const qint64 time :
       {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()}) {
    const QByteArray path = QFile::encodeName(shm.path()) + "/t";
    ::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644));
    const struct timespec times[2] = {{time, 0}, {time, 0}};
    struct stat st {};
    if (::utimensat(AT_FDCWD, path.constData(), times, 0) != 0 || ::stat(path.constData(), &st) ||
        st.st_mtim.tv_sec != time) {
      GTEST_SKIP() << "not stored";
    }
    EXPECT_EQ(fs.modified(QFile::decodeName(path)), time);
    EXPECT_EQ(dir->info("t").modified, time);
  }
}

TEST_F(PlatformInfo, OpenDirectoryReadsNamesAsInfoOfTheFullPathWould) {
  drives.write_file("C:\\dir\\Big.bin", QByteArray(70, 'x'), 1'600'000'000);
  drives.write_file("C:\\dir\\.hidden", "h");
  drives.set_read_only("C:\\dir\\.hidden", true);
  drives.write_file("C:\\dir\\owner_only", "");
  ASSERT_EQ(::chmod(native("C:\\dir\\owner_only").constData(), 0600), 0);
  const auto dir = fs.open_directory("c:\\DIR\\");
  const FileInfo by_name = dir->info("Big.bin");
  const FileInfo by_path = fs.info("C:\\dir\\big.bin");
  EXPECT_EQ(by_name.length, 70);
  EXPECT_EQ(by_name.modified, 1'600'000'000);
  EXPECT_TRUE(by_name.regular);
  EXPECT_TRUE(by_name.same_file(by_path));
  EXPECT_FALSE(by_name.same_file(dir->info(".hidden")));
  EXPECT_TRUE(dir->self().same_file(fs.info("C:\\dir")));
  EXPECT_FALSE(dir->self().regular);
  EXPECT_EQ(dir->info(".hidden").attributes, attr::read_only | attr::hidden);
  EXPECT_EQ(fs.attributes("C:\\DIR\\.HIDDEN"), attr::read_only | attr::hidden);
  EXPECT_EQ(fs.attributes("C:\\dir\\big.bin"), attr::normal);
  EXPECT_EQ(fs.attributes("C:\\dir\\owner_only"), attr::normal);
  EXPECT_EQ(fs.attributes("C:\\Dir"), attr::directory);
  EXPECT_EQ(fs.attributes("C:\\"), attr::directory);
  EXPECT_EQ(error_number([&] { fs.open_directory("C:\\dir\\Big.bin"); }), err::path_not_found);
}

}  // namespace
}  // namespace tz::test
