#include "platform/drive_table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cerrno>

#include "platform/file_error.h"
#include "platform/host_system_facts.h"
#include "support/temp_drives.h"

namespace tz {
namespace {

TEST(PlatformDriveTable, ParsesLettersCaseInsensitivelyAndIgnoresBadItems) {
  const DriveTable table =
      DriveTable::parse(" d = /media//usb/ ;c=/;bad;1=/x;EE=/y;F=relative;G=;");
  EXPECT_EQ(table.letters(), (QList<QChar>{u'C', u'D'}));
  EXPECT_EQ(table.host_root(u'd'), QStringLiteral("/media/usb"));
  EXPECT_EQ(table.host_root(u'C'), QStringLiteral("/"));
  EXPECT_FALSE(table.host_root(u'F'));
}

TEST(PlatformDriveTable, TranslatesNativePathsThroughTheLongestRoot) {
  const DriveTable table = DriveTable::parse("C=/;D=/media/usb");
  EXPECT_EQ(table.to_drive_form("/media/usb/docs"), QStringLiteral("D:\\docs"));
  EXPECT_EQ(table.to_drive_form("/media/usb"), QStringLiteral("D:\\"));
  EXPECT_EQ(table.to_drive_form("/home/ann"), QStringLiteral("C:\\home\\ann"));
  EXPECT_EQ(table.to_drive_form("/"), QStringLiteral("C:\\"));
  // Only whole components count.
  EXPECT_EQ(table.to_drive_form("/media/usbstick/a"), QStringLiteral("C:\\media\\usbstick\\a"));
  EXPECT_EQ(table.to_drive_form("/media//usb/./x/../docs/"), QStringLiteral("D:\\docs"));
  EXPECT_EQ(table.to_drive_form("/media/usb/.."), QStringLiteral("C:\\media"));
  EXPECT_FALSE(table.to_drive_form("media/usb"));
  EXPECT_EQ(table.drive_of_host_path("/media/usb/x"), u'D');
  EXPECT_EQ(table.drive_of_host_path("/media/usbx"), u'C');

  const DriveTable no_root = DriveTable::parse("E=/mnt/e");
  EXPECT_FALSE(no_root.to_drive_form("/home"));
  EXPECT_EQ(no_root.drive_of_host_path("/home"), u'C');
}

TEST(PlatformDriveTable, CurrentDirectoryInDriveForm) {
  test::TempDrives drives({u'C', u'E'});
  drives.make_dir("E:\\Work\\Sub");
  const QString old = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(drives.host_path("E:\\Work\\Sub")));
  const QString inside = drives.table().current_directory();
  ASSERT_TRUE(QDir::setCurrent(QDir::rootPath()));
  const QString outside = drives.table().current_directory();
  const QString outside_no_c = DriveTable::parse("E=" + drives.host(u'E')).current_directory();
  QDir::setCurrent(old);

  EXPECT_EQ(inside, QStringLiteral("E:\\Work\\Sub"));
  EXPECT_EQ(outside, QStringLiteral("C:\\"));
  EXPECT_EQ(outside_no_c, QStringLiteral("E:\\"));
}

TEST(PlatformDriveTable, EnvironmentTableLastsAsLongAsTheTempDrives) {
  {
    test::TempDrives drives({u'C', u'D'});
    const DriveTable table = DriveTable::from_environment();
    EXPECT_EQ(table.letters(), (QList<QChar>{u'C', u'D'}));
    EXPECT_EQ(table.host_root(u'D'), drives.host(u'D'));
  }
  const DriveTable table = DriveTable::from_environment();
  if (!qEnvironmentVariableIsSet("TENZOR_DRIVES")) {
    EXPECT_EQ(table.letters(), QList<QChar>{u'C'});
    EXPECT_EQ(table.host_root(u'C'), QStringLiteral("/"));
  }
}

TEST(PlatformSystemFacts, DataFolderInDriveFormWhenADriveCoversIt) {
  test::TempDrives drives({u'C', u'D'});
  const std::optional<QByteArray> old_data_home = qEnvironmentVariableIsSet("XDG_DATA_HOME")
                                                      ? std::optional(qgetenv("XDG_DATA_HOME"))
                                                      : std::nullopt;
  qputenv("XDG_DATA_HOME", QFile::encodeName(drives.host(u'D') + "/share"));
  HostSystemFacts facts(drives.table(), {"/q", "C:\\My Dir"});
  const QString covered = facts.windows_directory();
  HostSystemFacts uncovered(DriveTable::parse("E=/nonexistent/e"), {});
  const QString native = uncovered.windows_directory();
  if (old_data_home) {
    qputenv("XDG_DATA_HOME", *old_data_home);
  } else {
    qunsetenv("XDG_DATA_HOME");
  }

  EXPECT_EQ(covered, QStringLiteral("D:\\share\\tenzor"));
  EXPECT_EQ(native, drives.host(u'D') + "/share/tenzor");
  EXPECT_EQ(facts.command_line(), QStringLiteral("/q C:\\My Dir"));
}

TEST(PlatformFileError, NumbersDescriptionsAndErrnoMapping) {
  const FileError error(err::file_not_found);
  EXPECT_STREQ(error.what(), "53 File not found");
  EXPECT_EQ(error_description(err::rename_across_drives),
            QStringLiteral("Can't rename with different drive"));
  EXPECT_FALSE(error_description(1234).isEmpty());
  EXPECT_EQ(error_from_errno(ENOENT, true), err::file_not_found);
  EXPECT_EQ(error_from_errno(ENOENT, false), err::path_not_found);
  EXPECT_EQ(error_from_errno(ENOTDIR), err::path_not_found);
}

}  // namespace
}  // namespace tz
