#include <fcntl.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <cstdint>
#include <limits>

#include "platform_test_util.h"

namespace tz::test {
namespace {

using Entries = QMap<QString, int>;

constexpr int dir = attr::directory;
constexpr int hid = attr::hidden;

class PlatformListing : public PlatformTest {
 protected:
  void SetUp() override {
    drives.write_file("C:\\D\\a.txt", "");
    drives.write_file("C:\\D\\Ro.TXT", "");
    drives.set_read_only("C:\\D\\Ro.TXT", true);
    drives.write_file("C:\\D\\.hidden", "");
    drives.write_file("C:\\D\\notes", "");
    drives.make_dir("C:\\D\\sub");
    drives.make_dir("C:\\D\\.git");
    link("sub", "C:\\D\\to_sub");
    link("a.txt", "C:\\D\\to_a");
    link("nowhere", "C:\\D\\dangling");  // left out of every listing
  }
};

TEST_F(PlatformListing, MaskSelectsHiddenEntriesAndDirectories) {
  const Entries files{{"a.txt", 0}, {"Ro.TXT", 0}, {"notes", 0}, {"to_a", 0}};
  EXPECT_EQ(listed(fs, "C:\\D\\*", 0), files);
  EXPECT_EQ(listed(fs, "C:\\d\\*.*", attr::system), files);

  Entries with_hidden = files;
  with_hidden.insert(".hidden", hid);
  EXPECT_EQ(listed(fs, "C:\\D\\*", hid), with_hidden);

  const Entries dirs{{".", dir}, {"..", dir}, {"sub", dir}, {"to_sub", dir}};
  Entries with_dirs = files;
  with_dirs.insert(dirs);
  EXPECT_EQ(listed(fs, "C:\\D\\*", dir), with_dirs);
  // Directories alone: no plain file, nor a link to one.
  EXPECT_EQ(listed(fs, "C:\\D\\*", dir | attr::directories_only), dirs);
  EXPECT_EQ(listed(fs, "C:\\D\\*", dir | hid | attr::directories_only),
            (Entries{{".", dir}, {"..", dir}, {"sub", dir}, {"to_sub", dir}, {".git", dir | hid}}));

  Entries everything = with_dirs;
  everything.insert({{".hidden", hid}, {".git", dir | hid}});
  EXPECT_EQ(listed(fs, "C:\\D\\*", dir | hid), everything);
}

TEST_F(PlatformListing, PatternsMatchWithoutRegardToCase) {
  EXPECT_EQ(listed(fs, "C:\\D\\*.txt", 0), (Entries{{"a.txt", 0}, {"Ro.TXT", 0}}));
  EXPECT_EQ(listed(fs, "C:\\D\\?.TXT", 0), (Entries{{"a.txt", 0}}));
  EXPECT_EQ(listed(fs, "C:\\D\\*O*", dir),
            (Entries{{"Ro.TXT", 0}, {"notes", 0}, {"to_a", 0}, {"to_sub", dir}}));
  EXPECT_EQ(listed(fs, "C:\\D\\A.TXT", 0), (Entries{{"a.txt", 0}}));
  EXPECT_EQ(listed(fs, "C:\\D\\SUB", 0), Entries{});
  EXPECT_EQ(listed(fs, "C:\\D\\SUB", dir), (Entries{{"sub", dir}}));
  EXPECT_EQ(listed(fs, "C:\\D\\.HIDDEN", 0), Entries{});

  drives.write_file(QStringLiteral("C:\\U\\émile.txt"), "");
  EXPECT_EQ(listed(fs, QStringLiteral("C:\\U\\É*"), 0),
            (Entries{{QStringLiteral("émile.txt"), 0}}));
}

TEST_F(PlatformListing, DirectoryItselfMissingDirectoriesAndErrors) {
  EXPECT_EQ(listed(fs, "C:\\d\\SUB\\", dir), (Entries{{".", dir}}));
  EXPECT_EQ(listed(fs, "C:\\D\\to_sub\\", dir), (Entries{{".", dir}}));
  EXPECT_EQ(listed(fs, "C:\\", dir), (Entries{{".", dir}}));
  EXPECT_EQ(listed(fs, "C:\\D\\sub\\", 0), Entries{});
  EXPECT_EQ(listed(fs, "C:\\D\\a.txt\\", dir), Entries{});
  EXPECT_EQ(listed(fs, "C:\\D\\none\\", dir), Entries{});
  EXPECT_EQ(listed(fs, "C:\\*", dir), (Entries{{"D", dir}}));  // no dot entries at a drive root
  // A missing directory lists nothing, a drive without a medium or a bad path throws.
  EXPECT_EQ(listed(fs, "C:\\none\\*", dir), Entries{});
  EXPECT_EQ(listed(fs, "C:\\D\\a.txt\\*", dir), Entries{});
  EXPECT_EQ(error_number([&] { listed(fs, "M:\\*", 0); }), err::disk_not_ready);
  EXPECT_EQ(error_number([&] { listed(fs, "C:\\D\\\\*", 0); }), err::bad_file_name);
  EXPECT_EQ(error_number([&] { listed(fs, "*.*", 0); }), err::bad_file_name);
}

TEST_F(PlatformListing, ADirectoryThatMayNotBeReadFailsInsteadOfListingNothing) {
  drives.make_dir("C:\\D\\locked");
  drives.write_file("C:\\D\\searchable\\in.txt", "");
  ASSERT_EQ(::chmod(native("C:\\D\\locked").constData(), 0), 0);
  ASSERT_EQ(::chmod(native("C:\\D\\searchable").constData(), 0111), 0);
  const WithoutOverride as_a_user;
  EXPECT_EQ(error_number([&] { listed(fs, "C:\\D\\locked\\*", 0); }), err::permission_denied);
  EXPECT_EQ(error_number([&] { listed(fs, "C:\\D\\searchable\\*", 0); }), err::permission_denied);
  // One name is looked up without reading the directory.
  EXPECT_EQ(listed(fs, "C:\\D\\searchable\\in.txt", 0), (Entries{{"in.txt", 0}}));
}

class PlatformInfo : public PlatformTest {};

// Lengths past 4 GiB: the comparison reads them through the same file information.
TEST_F(PlatformInfo, ModifiedIsTheStoredUtcSecondWhateverTheTimeZone) {
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

  // The extremes as stored, on tmpfs, which keeps any 64-bit time (others clamp it).
  QTemporaryDir shm(QStringLiteral("/dev/shm/tenzor-test-XXXXXX"));
  if (!shm.isValid()) GTEST_SKIP() << "no /dev/shm";
  const auto dir = fs.open_directory(shm.path());
  for (const qint64 time :
       {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()}) {
    const QByteArray path = QFile::encodeName(shm.path()) + "/t";
    ::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644));
    const struct timespec stored[2] = {{time, 0}, {time, 0}};
    struct stat st {};
    if (::utimensat(AT_FDCWD, path.constData(), stored, 0) != 0 || ::stat(path.constData(), &st) ||
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

TEST(FileTimes, SecondsApartIsTheTrueDistanceEvenAtTheExtremes) {
  constexpr qint64 max = std::numeric_limits<qint64>::max();
  constexpr qint64 min = std::numeric_limits<qint64>::min();
  EXPECT_EQ(seconds_apart(7, 7), 0u);
  EXPECT_EQ(seconds_apart(-3, 5), 8u);
  EXPECT_EQ(seconds_apart(5, -3), 8u);
  EXPECT_EQ(seconds_apart(max, min), UINT64_C(18446744073709551615));
  EXPECT_EQ(seconds_apart(min, 0), UINT64_C(9223372036854775808));
  EXPECT_EQ(seconds_apart(max, -1), UINT64_C(9223372036854775808));
}

TEST(DisplayName, ShowsValidUtf8AsItIsAndEveryUnreadableByteEscaped) {
  EXPECT_EQ(display_name(QByteArray("caf\xC3\xA9 \\x.txt")), QStringLiteral("café \\x.txt"));
  EXPECT_EQ(display_name(QByteArray("\xF0\x9F\x98\x80")), QString::fromUcs4(U"\U0001F600", 1));
  EXPECT_EQ(display_name(QByteArray("caf\xE9.txt")), QStringLiteral("caf\\xE9.txt"));
  // Readable sequences around a bad byte are still read.
  EXPECT_EQ(display_name(QByteArray("\xC3\xA9\xff\xC3\xA9")), QStringLiteral("é\\xFFé"));
  EXPECT_EQ(display_name(QByteArray("\xE2\x28\xA1")), QStringLiteral("\\xE2(\\xA1"));
  // A sequence cut short, an overlong form, a surrogate and a code point past U+10FFFF.
  EXPECT_EQ(display_name(QByteArray("a\xE2\x82")), QStringLiteral("a\\xE2\\x82"));
  EXPECT_EQ(display_name(QByteArray("\xC0\xAF")), QStringLiteral("\\xC0\\xAF"));
  EXPECT_EQ(display_name(QByteArray("\xED\xA0\x80")), QStringLiteral("\\xED\\xA0\\x80"));
  EXPECT_EQ(display_name(QByteArray("\xF4\x90\x80\x80")), QStringLiteral("\\xF4\\x90\\x80\\x80"));
}

}  // namespace
}  // namespace tz::test
