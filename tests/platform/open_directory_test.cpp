#include <sys/stat.h>

#include "platform_test_util.h"

namespace tz::test {
namespace {

using Target = OpenDirectory::Target;
using Names = QList<QByteArray>;

class OpenDirectories : public PlatformTest {
 protected:
  void SetUp() override {
    drives.make_dir("C:\\Src");
    drives.make_dir("D:\\Dst");
    src = fs.open_directory("C:\\src");
    dst = fs.open_directory("D:\\DST");
  }
  int copy_error(const QByteArray& from, OpenDirectory& to, const QByteArray& name, Target target) {
    return error_number([&] { src->copy_to(from, to, name, target); });
  }
  std::shared_ptr<OpenDirectory> src, dst;
};

TEST_F(OpenDirectories, NamesThatWouldLeaveTheDirectoryAreRefused) {
  drives.write_file("C:\\Src\\a", "a");
  for (const QByteArray& bad : {QByteArray(), QByteArray("."), QByteArray(".."),
                                QByteArray("../Src/a"), QByteArray("a\0b", 3)}) {
    SCOPED_TRACE(bad.toHex().toStdString());
    for (const std::function<void()>& use : std::vector<std::function<void()>>{
             [&] { src->info(bad); }, [&] { src->exists(bad); }, [&] { src->remove(bad); },
             [&] { src->host_path(bad); }, [&] { src->copy_to(bad, *dst, "a", Target::replace); },
             [&] { src->copy_to("a", *dst, bad, Target::replace); },
             [&] { src->open_subdirectory(bad); }})
      EXPECT_EQ(error_number(use), err::bad_file_name);
  }
  EXPECT_EQ(error_number([&] { src->info("none"); }), err::file_not_found);
  EXPECT_EQ(raw_names("C:\\Src"), Names{"a"});
  EXPECT_EQ(raw_names("D:\\Dst"), Names{});
}

TEST_F(OpenDirectories, CopyKeepsTimeAndModeAndReplacesOnlyWhatItMay) {
  drives.write_file("C:\\Src\\f", "new data", 1'500'000'000);
  ASSERT_EQ(::chmod(native("C:\\Src\\f").constData(), 0640), 0);
  drives.write_file("D:\\Dst\\old", "old");
  drives.write_file("D:\\Dst\\ro", "ro");
  drives.set_read_only("D:\\Dst\\ro", true);
  drives.make_dir("D:\\Dst\\dir");
  link("nowhere", "D:\\Dst\\dangling");

  EXPECT_EQ(copy_error("f", *dst, "old", Target::create_new), err::file_exists);
  EXPECT_EQ(copy_error("f", *dst, "dangling", Target::create_new), err::file_exists);
  EXPECT_EQ(copy_error("f", *dst, "ro", Target::replace), err::path_file_access);
  EXPECT_EQ(copy_error("f", *dst, "dir", Target::replace), err::path_file_access);
  EXPECT_EQ(copy_error("none", *dst, "x", Target::replace), err::file_not_found);
  EXPECT_EQ(copy_error("f", *src, "f", Target::create_new), err::file_exists);
  EXPECT_EQ(content("D:\\Dst\\old"), "old");
  EXPECT_EQ(content("D:\\Dst\\ro"), "ro");
  EXPECT_EQ(raw_names("D:\\Dst"), (Names{"dangling", "dir", "old", "ro"}));

  const FileInfo copied = src->copy_to("f", *dst, "old", Target::replace);
  struct stat st {};
  ASSERT_EQ(::stat(native("D:\\Dst\\old").constData(), &st), 0);
  EXPECT_EQ(content("D:\\Dst\\old"), "new data");
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1'500'000'000);
  EXPECT_EQ(copied.modified, 1'500'000'000);
  EXPECT_EQ(copied.length, 8);
  EXPECT_EQ(copied.inode, st.st_ino);
  // Names this process made are found again through the drive form.
  src->copy_to("f", *dst, "Made", Target::create_new);
  EXPECT_EQ(fs.length("D:\\dst\\MADE"), 8);
  EXPECT_EQ(raw_names("D:\\Dst"), (Names{"Made", "dangling", "dir", "old", "ro"}));
}

TEST_F(OpenDirectories, PipesAndDirectoriesAreNeverCopiedAndNeverBlock) {
  const QByteArray fifo = native("C:\\Src\\fifo");
  ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
  link("fifo", "C:\\Src\\to_fifo");
  drives.make_dir("C:\\Src\\sub");
  EXPECT_EQ(
      error_number_promptly(fifo, [&] { src->copy_to("fifo", *dst, "fifo", Target::create_new); }),
      err::path_file_access);
  EXPECT_EQ(
      error_number_promptly(fifo, [&] { src->copy_to("to_fifo", *dst, "x", Target::create_new); }),
      err::path_file_access);
  EXPECT_EQ(copy_error("sub", *dst, "sub", Target::create_new), err::path_file_access);
  EXPECT_EQ(raw_names("D:\\Dst"), Names{});
  EXPECT_EQ(names("D:\\"), QStringList{"Dst"});
}

TEST_F(OpenDirectories, RemovalTakesALinkItselfAndSparesProtectedFilesAndDirectories) {
  drives.write_file("C:\\Src\\kept", "kept");
  drives.write_file("C:\\Src\\ro", "");
  drives.set_read_only("C:\\Src\\ro", true);
  drives.make_dir("C:\\Src\\sub");
  link("kept", "C:\\Src\\to_kept");
  link("ro", "C:\\Src\\to_ro");
  link("sub", "C:\\Src\\to_sub");
  link("nowhere", "C:\\Src\\dangling");
  EXPECT_TRUE(src->exists("dangling"));
  EXPECT_EQ(error_number([&] { src->info("dangling"); }), err::file_not_found);

  EXPECT_EQ(error_number([&] { src->remove("ro"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { src->remove("to_ro"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { src->remove("sub"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { src->remove("to_sub"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { src->remove("none"); }), err::file_not_found);
  src->remove("to_kept");
  src->remove("dangling");
  EXPECT_FALSE(src->exists("dangling"));
  EXPECT_EQ(raw_names("C:\\Src"), (Names{"kept", "ro", "sub", "to_ro", "to_sub"}));
  EXPECT_EQ(content("C:\\Src\\kept"), "kept");
}

// name -> attributes, for listings whose order the host decides.
QMap<QByteArray, int> by_name(const std::vector<ListedEntry>& entries) {
  QMap<QByteArray, int> found;
  for (const ListedEntry& entry : entries) found.insert(entry.raw, entry.attributes);
  return found;
}

TEST_F(OpenDirectories, EntriesAreFilteredAsListingsAreAndReadAgainEachTime) {
  drives.write_file("C:\\Src\\file", "f");
  drives.write_file("C:\\Src\\.hidden", "h");
  drives.make_dir("C:\\Src\\sub");
  drives.make_dir("C:\\Src\\.cache");
  link("sub", "C:\\Src\\to_sub");
  link("nowhere", "C:\\Src\\dangling");
  ASSERT_EQ(::mkdir(native("C:\\Src").append("/caf\xE9").constData(), 0755), 0);

  using Found = QMap<QByteArray, int>;
  EXPECT_EQ(by_name(src->entries(attr::normal)), (Found{{"file", 0}}));
  EXPECT_EQ(by_name(src->entries(attr::directory)), (Found{{"file", 0},
                                                           {"sub", attr::directory},
                                                           {"to_sub", attr::directory},
                                                           {"caf\xE9", attr::directory}}));
  EXPECT_EQ(by_name(src->entries(attr::directory | attr::hidden)).keys(),
            (Names{".cache", ".hidden", "caf\xE9", "file", "sub", "to_sub"}));
}

TEST_F(OpenDirectories, SubdirectoriesOpenByExactNameAndNeverThroughALink) {
  drives.make_dir("C:\\Src\\Sub\\deeper");
  drives.make_dir("C:\\Src\\sub");
  ASSERT_EQ(::mkdir(native("C:\\Src").append("/a\\b").constData(), 0755), 0);
  drives.write_file("C:\\Src\\file", "f");
  link("Sub", "C:\\Src\\to_sub");

  const auto sub = src->open_subdirectory("Sub");
  EXPECT_EQ(sub->path(), "C:\\Src\\Sub\\");
  EXPECT_EQ(sub->open_subdirectory("deeper")->path(), "C:\\Src\\Sub\\deeper\\");
  EXPECT_EQ(by_name(sub->entries(attr::directory)).keys(), Names{"deeper"});
  EXPECT_TRUE(src->open_subdirectory("sub")->entries(attr::directory).empty());
  EXPECT_EQ(src->open_subdirectory("a\\b")->path(), "C:\\Src\\a\\b\\");

  EXPECT_NE(error_number([&] { src->open_subdirectory("to_sub"); }), 0);
  EXPECT_NE(error_number([&] { src->open_subdirectory("file"); }), 0);
  EXPECT_EQ(error_number([&] { src->open_subdirectory("none"); }), err::file_not_found);
}

}  // namespace
}  // namespace tz::test
