#include <sys/stat.h>

#include "platform_test_util.h"

namespace tz::test {
namespace {

class PlatformWrites : public PlatformTest {};

TEST_F(PlatformWrites, CopyKeepsTimeAndModeAndReplacesTheTargetInItsOwnCase) {
  drives.write_file("C:\\src.txt", "payload", 1500000000);
  ASSERT_EQ(::chmod(native("C:\\src.txt").constData(), 0640), 0);
  drives.write_file("D:\\Out\\Old.TXT", "old");
  fs.copy_file("C:\\SRC.TXT", "D:\\out\\old.txt");
  struct stat st {};
  ASSERT_EQ(::stat(native("D:\\Out\\Old.TXT").constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1500000000);
  EXPECT_EQ(content("D:\\Out\\Old.TXT"), "payload");
  // The same through a name this process has just made.
  fs.copy_file("C:\\src.txt", "D:\\Out\\New");
  drives.write_file("C:\\src.txt", "newer");
  fs.copy_file("C:\\src.txt", "D:\\OUT\\NEW");
  EXPECT_EQ(content("D:\\Out\\New"), "newer");
  EXPECT_EQ(names("D:\\Out"), (QStringList{"New", "Old.TXT"}));
}

TEST_F(PlatformWrites, FailedCopyLeavesTheTargetAndNoTemporaryFile) {
  drives.write_file("C:\\src", "new");
  drives.write_file("D:\\ro", "old");
  drives.set_read_only("D:\\ro", true);
  drives.write_file("D:\\kept", "old");
  drives.make_dir("D:\\Dir");
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\src", "D:\\RO"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\src", "D:\\dir"); }), err::path_file_access);
  // Reading this process's memory at address 0 fails once the new copy is begun.
  EXPECT_EQ(error_number([&] { fs.copy_file("/proc/self/mem", "D:\\kept"); }), err::device_io);
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\none", "D:\\new"); }), err::file_not_found);
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\src", "D:\\none\\new"); }), err::path_not_found);
  EXPECT_EQ(content("D:\\ro"), "old");
  EXPECT_EQ(content("D:\\kept"), "old");
  EXPECT_EQ(names("D:\\"), (QStringList{"Dir", "kept", "ro"}));
}

TEST_F(PlatformWrites, DirectoriesAndRemovalsSparingProtectedFilesAndWhatALinkPointsTo) {
  drives.write_file("C:\\ro", "");
  drives.set_read_only("C:\\ro", true);
  drives.write_file("C:\\gone", "");
  drives.write_file("C:\\Real\\kept", "x");
  link("Real", "C:\\Link");
  fs.make_directory("C:\\real\\NewOne");
  EXPECT_EQ(names("C:\\Real"), (QStringList{"NewOne", "kept"}));
  EXPECT_EQ(error_number([&] { fs.make_directory("C:\\REAL"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.make_directory("C:\\none\\x"); }), err::path_not_found);
  EXPECT_EQ(error_number([&] { fs.remove_file("C:\\RO"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_file("C:\\real"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_file("C:\\none"); }), err::file_not_found);
  EXPECT_EQ(error_number([&] { fs.remove_directory("C:\\REAL"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_directory("C:\\none"); }), err::path_not_found);
  fs.remove_file("C:\\GONE");
  fs.remove_directory("C:\\real\\newone");
  fs.remove_directory("C:\\link");
  EXPECT_EQ(names("C:\\"), (QStringList{"Real", "ro"}));
  EXPECT_EQ(names("C:\\Real"), QStringList{"kept"});
}

TEST_F(PlatformWrites, RenameStaysOnItsDriveAndReplacesNothing) {
  drives.write_file("C:\\a.txt", "a");
  drives.write_file("C:\\B.txt", "b");
  EXPECT_EQ(error_number([&] { fs.rename("C:\\a.txt", "D:\\a.txt"); }), err::rename_across_drives);
  EXPECT_EQ(error_number([&] { fs.rename("C:\\a.txt", "C:\\b.TXT"); }), err::file_exists);
  fs.rename("C:\\a.txt", "C:\\A.TXT");  // a change of case only
  EXPECT_EQ(names("C:\\"), (QStringList{"A.TXT", "B.txt"}));
  EXPECT_EQ(content("C:\\B.txt"), "b");
}

TEST_F(PlatformWrites, LinesInUtf8WithCrLfAndForeignFilesReadToo) {
  const QStringList lines{"C:\\Ünïcode\\日本", "", "last"};
  fs.write_lines("C:\\History.txt", lines);
  EXPECT_EQ(content("C:\\History.txt"),
            QStringLiteral("C:\\Ünïcode\\日本\r\n\r\nlast\r\n").toUtf8());
  EXPECT_EQ(fs.read_lines("C:\\history.TXT"), lines);
  drives.write_file("C:\\unix", "one\ntwo\n\nfour");
  EXPECT_EQ(fs.read_lines("C:\\unix"), (QStringList{"one", "two", "", "four"}));
  drives.write_file("C:\\latin1", "caf\xe9\r\n");
  EXPECT_EQ(fs.read_lines("C:\\latin1"), QStringList{QStringLiteral("café")});
}

}  // namespace
}  // namespace tz::test
