#include <sys/stat.h>

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

  Entries with_dirs = files;
  with_dirs.insert({{".", dir}, {"..", dir}, {"sub", dir}, {"to_sub", dir}});
  EXPECT_EQ(listed(fs, "C:\\D\\*", dir), with_dirs);

  // Directories alone: no plain file, nor a link to one.
  const Entries dirs{{".", dir}, {"..", dir}, {"sub", dir}, {"to_sub", dir}};
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

}  // namespace
}  // namespace tz::test
