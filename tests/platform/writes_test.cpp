#include "platform_test_util.h"

namespace tz::test {
namespace {

class PlatformWrites : public PlatformTest {};

// What a copy keeps and refuses is the open directories' copy; here the paths.
TEST_F(PlatformWrites, CopyReplacesTheTargetInItsOwnCase) {
  drives.write_file("C:\\src.txt", "payload");
  drives.write_file("D:\\Out\\Old.TXT", "old");
  fs.copy_file("C:\\SRC.TXT", "D:\\out\\old.txt");
  EXPECT_EQ(content("D:\\Out\\Old.TXT"), "payload");
  // The same through a name this process has just made.
  fs.copy_file("C:\\src.txt", "D:\\Out\\New");
  drives.write_file("C:\\src.txt", "newer");
  fs.copy_file("C:\\src.txt", "D:\\OUT\\NEW");
  EXPECT_EQ(content("D:\\Out\\New"), "newer");
  EXPECT_EQ(names("D:\\Out"), (QStringList{"New", "Old.TXT"}));
}

TEST_F(PlatformWrites, DirectoriesAndRemovalsSparingWhatALinkPointsTo) {
  drives.write_file("C:\\gone", "");
  drives.write_file("C:\\Real\\kept", "x");
  link("Real", "C:\\Link");
  fs.make_directory("C:\\real\\NewOne");
  EXPECT_EQ(names("C:\\Real"), (QStringList{"NewOne", "kept"}));
  EXPECT_EQ(error_number([&] { fs.make_directory("C:\\REAL"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.make_directory("C:\\none\\x"); }), err::path_not_found);
  EXPECT_EQ(error_number([&] { fs.remove_file("C:\\none"); }), err::file_not_found);
  EXPECT_EQ(error_number([&] { fs.remove_directory("C:\\REAL"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_directory("C:\\none"); }), err::path_not_found);
  fs.remove_file("C:\\GONE");
  fs.remove_directory("C:\\real\\newone");
  fs.remove_directory("C:\\link");
  EXPECT_EQ(names("C:\\"), QStringList{"Real"});
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
