#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "platform/host_file_system.h"
#include "platform_test_util.h"
#include "support/temp_drives.h"

namespace tz {
namespace {

using test::error_number;
using test::listed;

class PlatformWrites : public ::testing::Test {
 protected:
  QByteArray content(const QString& drive_path) {
    QFile file(drives.host_path(drive_path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  struct stat status(const QString& drive_path) {
    struct stat st {};
    ::stat(QFile::encodeName(drives.host_path(drive_path)).constData(), &st);
    return st;
  }
  // Everything in a drive folder, so that a leftover temporary file shows.
  QStringList names(const QString& drive_path) {
    return QDir(drives.host_path(drive_path))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                   QDir::Name);
  }

  test::TempDrives drives{{u'C', u'D'}};
  HostFileSystem fs{drives.table()};
};

TEST_F(PlatformWrites, CopyKeepsModificationTimeAndMode) {
  drives.write_file("C:\\src.txt", "payload", 1500000000);
  ASSERT_EQ(::chmod(QFile::encodeName(drives.host_path("C:\\src.txt")).constData(), 0640), 0);
  drives.make_dir("D:\\Out");
  fs.copy_file("C:\\SRC.TXT", "D:\\out\\New.txt");
  EXPECT_EQ(content("D:\\Out\\New.txt"), "payload");
  EXPECT_EQ(status("D:\\Out\\New.txt").st_mode & 07777, 0640u);
  EXPECT_EQ(status("D:\\Out\\New.txt").st_mtim.tv_sec, 1500000000);
  EXPECT_EQ(names("D:\\Out"), QStringList{"New.txt"});
}

TEST_F(PlatformWrites, CopyReplacesTheTargetInItsOwnCase) {
  drives.write_file("C:\\src", "new");
  drives.write_file("D:\\Target.TXT", "old");
  fs.copy_file("C:\\src", "D:\\target.txt");
  EXPECT_EQ(content("D:\\Target.TXT"), "new");
  EXPECT_EQ(names("D:\\"), QStringList{"Target.TXT"});
  // The same through names this process has just made.
  fs.copy_file("C:\\src", "D:\\Made");
  drives.write_file("C:\\src", "newer");
  fs.copy_file("C:\\src", "D:\\MADE");
  EXPECT_EQ(names("D:\\"), (QStringList{"Made", "Target.TXT"}));
  EXPECT_EQ(content("D:\\Made"), "newer");
}

TEST_F(PlatformWrites, FailedCopyLeavesTargetAndNoTemporaryFile) {
  drives.write_file("C:\\src", "new");
  drives.write_file("D:\\ro", "old");
  drives.set_read_only("D:\\ro", true);
  drives.make_dir("D:\\Dir");
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\src", "D:\\RO"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\src", "D:\\dir"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\none", "D:\\new"); }), err::file_not_found);
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\src", "D:\\none\\new"); }), err::path_not_found);
  EXPECT_EQ(error_number([&] { fs.copy_file("C:\\src", "D:\\none\\deeper\\new"); }),
            err::path_not_found);
  EXPECT_EQ(content("D:\\ro"), "old");
  EXPECT_EQ(names("D:\\"), (QStringList{"Dir", "ro"}));
}

TEST_F(PlatformWrites, CopyFailingWhileReadingKeepsTheOldTarget) {
  // Reading this process's memory at address 0 fails with an I/O error.
  if (!QFile::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc";
  drives.write_file("D:\\target", "old");
  EXPECT_EQ(error_number([&] { fs.copy_file("/proc/self/mem", "D:\\target"); }), err::device_io);
  EXPECT_EQ(content("D:\\target"), "old");
  EXPECT_EQ(names("D:\\"), QStringList{"target"});
}

TEST_F(PlatformWrites, RemoveFile) {
  drives.write_file("C:\\ro", "");
  drives.set_read_only("C:\\ro", true);
  drives.write_file("C:\\gone", "");
  drives.make_dir("C:\\Dir");
  EXPECT_EQ(error_number([&] { fs.remove_file("C:\\RO"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_file("C:\\dir"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_file("C:\\none"); }), err::file_not_found);
  fs.remove_file("C:\\GONE");
  EXPECT_EQ(names("C:\\"), (QStringList{"Dir", "ro"}));
}

TEST_F(PlatformWrites, Rename) {
  drives.write_file("C:\\a.txt", "a");
  drives.write_file("C:\\B.txt", "b");
  drives.make_dir("C:\\Sub");
  EXPECT_EQ(error_number([&] { fs.rename("C:\\a.txt", "D:\\a.txt"); }), err::rename_across_drives);
  EXPECT_EQ(error_number([&] { fs.rename("C:\\a.txt", "C:\\b.TXT"); }), err::file_exists);
  EXPECT_EQ(error_number([&] { fs.rename("C:\\none", "C:\\x"); }), err::file_not_found);
  EXPECT_EQ(error_number([&] { fs.rename("C:\\a.txt", "C:\\none\\x"); }), err::path_not_found);
  fs.rename("C:\\a.txt", "C:\\A.TXT");  // a change of case only
  EXPECT_EQ(names("C:\\"), (QStringList{"A.TXT", "B.txt", "Sub"}));
  fs.rename("C:\\a.txt", "C:\\sub\\Moved");
  EXPECT_EQ(content("C:\\Sub\\Moved"), "a");
  EXPECT_EQ(content("C:\\B.txt"), "b");
}

TEST_F(PlatformWrites, MakeAndRemoveDirectories) {
  drives.make_dir("C:\\Existing");
  fs.make_directory("C:\\existing\\NewOne");
  EXPECT_EQ(names("C:\\Existing"), QStringList{"NewOne"});
  EXPECT_EQ(error_number([&] { fs.make_directory("C:\\EXISTING"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.make_directory("C:\\none\\x"); }), err::path_not_found);

  EXPECT_EQ(error_number([&] { fs.remove_directory("C:\\Existing"); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.remove_directory("C:\\none"); }), err::path_not_found);
  fs.remove_directory("C:\\EXISTING\\newone");
  EXPECT_EQ(names("C:\\Existing"), QStringList{});
}

TEST_F(PlatformWrites, RemovingALinkToADirectoryKeepsWhatItPointsTo) {
  drives.write_file("C:\\Real\\kept", "x");
  ASSERT_EQ(::symlink("Real", QFile::encodeName(drives.host_path("C:\\Link")).constData()), 0);
  fs.remove_directory("C:\\link");
  EXPECT_EQ(names("C:\\"), QStringList{"Real"});
  EXPECT_EQ(content("C:\\Real\\kept"), "x");
}

TEST_F(PlatformWrites, LinesRoundTripAndForeignFiles) {
  const QStringList lines{"C:\\Ünïcode\\日本", "", "last"};
  fs.write_lines("C:\\History.txt", lines);
  EXPECT_EQ(content("C:\\History.txt"),
            QStringLiteral("C:\\Ünïcode\\日本\r\n\r\nlast\r\n").toUtf8());
  EXPECT_EQ(fs.read_lines("C:\\history.TXT"), lines);
  fs.write_lines("C:\\history.txt", {"again"});
  EXPECT_EQ(names("C:\\"), QStringList{"History.txt"});

  drives.write_file("C:\\unix", "one\ntwo\n\nfour");
  EXPECT_EQ(fs.read_lines("C:\\unix"), (QStringList{"one", "two", "", "four"}));
  drives.write_file("C:\\latin1", "caf\xe9\r\n");
  EXPECT_EQ(fs.read_lines("C:\\latin1"), QStringList{QStringLiteral("café")});
  drives.set_read_only("C:\\latin1", true);
  EXPECT_EQ(error_number([&] { fs.write_lines("C:\\latin1", {}); }), err::path_file_access);
  EXPECT_EQ(error_number([&] { fs.read_lines("C:\\none"); }), err::file_not_found);
}

}  // namespace
}  // namespace tz
