#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include "platform_test_util.h"
#include "support/raw_files.h"
#include "support/tree_snapshot.h"

namespace tz::test {
namespace {

using Names = QList<QByteArray>;

using RemoveTree = PlatformTest;

TEST_F(RemoveTree, TakesEveryNameAsItIsAndLinksOnlyAsLinks) {
  drives.write_file("C:\\Top\\a.txt", "a");
  drives.write_file("C:\\Top\\Sub\\Deeper\\b.txt", "b");
  drives.make_dir("C:\\Top\\Empty");
  // Names by exact bytes, which a drive path could not say.
  write_raw(native("C:\\Top\\Sub") + "/caf\xE9");
  write_raw(native("C:\\Top\\Sub") + "/back\\slash");
  const QByteArray odd_dir = native("C:\\Top") + "/dir\\with\\backslashes\xE9";
  make_raw_dir(odd_dir);
  write_raw(odd_dir + "/inner");
  // Outside the tree: a folder and a read-only file the tree's links point to.
  drives.write_file("D:\\Outside\\kept.txt", "kept");
  drives.write_file("D:\\Outside\\Inner\\deep.txt", "deep");
  drives.write_file("D:\\ro.txt", "ro");
  drives.set_read_only("D:\\ro.txt", true);
  link(drives.host_path("D:\\Outside").toUtf8().constData(), "C:\\Top\\Sub\\to_dir");
  link(drives.host_path("D:\\ro.txt").toUtf8().constData(), "C:\\Top\\to_read_only");
  link("nowhere", "C:\\Top\\dangling");
  const TreeSnapshot outside(native("D:\\"));

  fs.remove_tree("c:\\TOP\\");  // letter case and a final backslash as the box may give them

  EXPECT_EQ(raw_names("C:\\"), Names{});
  EXPECT_TRUE(TreeSnapshot(native("D:\\")).changed_since(outside).isEmpty());
  EXPECT_EQ(content("D:\\Outside\\Inner\\deep.txt"), "deep");
}

// A hidden name stops it too: the directory menu's tests.
TEST_F(RemoveTree, AReadOnlyFileOrAPipeStopsItAndTheTopIsRefusedUnlessADirectory) {
  drives.write_file("C:\\Guarded\\ro.txt", "ro");
  drives.set_read_only("C:\\Guarded\\ro.txt", true);
  EXPECT_EQ(error_number([&] { fs.remove_tree("C:\\Guarded"); }), err::path_file_access);
  EXPECT_EQ(content("C:\\Guarded\\ro.txt"), "ro");

  // A pipe is no file of the user's: it stays, and so does its directory.
  drives.make_dir("C:\\Piped");
  ASSERT_EQ(::mkfifo((native("C:\\Piped") + "/fifo").constData(), 0644), 0);
  EXPECT_EQ(error_number([&] { fs.remove_tree("C:\\Piped"); }), err::path_file_access);
  EXPECT_EQ(raw_names("C:\\Piped"), Names{"fifo"});

  // The top itself: missing, a link, a root or a file.
  drives.write_file("D:\\Target\\kept.txt", "kept");
  link(drives.host_path("D:\\Target").toUtf8().constData(), "C:\\Link");
  drives.write_file("C:\\plain.txt", "p");
  const TreeSnapshot before(native("D:\\"));

  fs.remove_tree("C:\\none");
  fs.remove_tree("C:\\none\\deeper");
  fs.remove_tree("C:\\link");  // the link goes, not what it points to
  EXPECT_TRUE(TreeSnapshot(native("D:\\")).changed_since(before).isEmpty());
  EXPECT_EQ(error_number([&] { fs.remove_tree("D:\\"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_tree("D:"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_tree("C:\\plain.txt"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_tree("M:\\x"); }), err::disk_not_ready);
  EXPECT_TRUE(TreeSnapshot(native("D:\\")).changed_since(before).isEmpty());
  EXPECT_EQ(raw_names("C:\\"), (Names{"Guarded", "Piped", "plain.txt"}));
}

// A tree far deeper than a path the host takes at once: it goes, or the removal stops
// with the name of the file it stopped at; never a crash.
TEST_F(RemoveTree, AnyDepthGoesOrStopsNamingTheFileItStoppedAt) {
  constexpr int depth = 13'000;
  // Made one level at a time: the whole path is far longer than PATH_MAX.
  const auto make_deep = [&](const char* bottom_file, mode_t mode) {
    int dir = ::open(native("C:\\").constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level <= depth && dir >= 0; ++level) {
      const char* name = level == 0 ? "Deep" : "d";
      ASSERT_EQ(::mkdirat(dir, name, 0755), 0);
      const int sub = ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      ::close(dir);
      dir = sub;
    }
    ASSERT_GE(dir, 0);
    const int file = ::openat(dir, bottom_file, O_WRONLY | O_CREAT | O_CLOEXEC, mode);
    ASSERT_GE(file, 0);
    ::close(file);
    ::close(dir);
  };
  make_deep("plain.txt", 0644);
  fs.remove_tree("C:\\Deep");
  EXPECT_EQ(raw_names("C:\\"), Names{});

  make_deep("ro.txt", 0444);  // read-only: the removal stops there, before anything went
  try {
    fs.remove_tree("C:\\Deep");
    ADD_FAILURE() << "removed a read-only file";
  } catch (const RemovalStopped& stopped) {
    EXPECT_EQ(stopped.number(), err::path_file_access);
    EXPECT_EQ(stopped.where(), "C:\\Deep" + QString("\\d").repeated(depth) + "\\ro.txt");
    EXPECT_FALSE(stopped.removed_some());
  }
  // The test's own clean-up reaches that depth as well.
  remove_raw_tree(native("C:\\Deep"));
  EXPECT_EQ(raw_names("C:\\"), Names{});
}

// A medium mounted inside the tree (or on its top) is never emptied. Needs a mount
// namespace of the test's own; the mount goes with the test or, at the latest, with the
// process.
TEST_F(RemoveTree, AMountedFileSystemIsNeverEntered) {
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
    GTEST_SKIP() << "no mount namespace of our own here";
  drives.write_file("C:\\Top\\Before\\b.txt", "b");
  drives.make_dir("C:\\Top\\Mnt");
  const QByteArray mount_point = native("C:\\Top\\Mnt");
  if (::mount("tenzor-test", mount_point.constData(), "tmpfs", 0, nullptr) != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here";
  struct Unmount {
    QByteArray at;
    ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
  } unmount{mount_point};
  drives.write_file("C:\\Top\\Mnt\\on_the_medium.txt", "m");

  EXPECT_EQ(error_number([&] { fs.remove_tree("C:\\Top\\Mnt"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_tree("C:\\Top"); }), err::path_file_access);
  EXPECT_EQ(content("C:\\Top\\Mnt\\on_the_medium.txt"), "m");
}

}  // namespace
}  // namespace tz::test
