#include "platform/drive_table.h"

#include "platform/host_system_facts.h"
#include "platform_test_util.h"

namespace tz::test {
namespace {

TEST(PlatformDriveTable, ParsesLettersCaseInsensitivelyAndTranslatesNativePaths) {
  const DriveTable table =
      DriveTable::parse(" d = /media//usb/ ;c=/;bad;1=/x;EE=/y;F=relative;G=;");
  EXPECT_EQ(table.letters(), (QList<QChar>{u'C', u'D'}));
  EXPECT_EQ(table.host_root(u'd'), QStringLiteral("/media/usb"));
  EXPECT_EQ(table.host_root(u'C'), QStringLiteral("/"));
  EXPECT_FALSE(table.host_root(u'F'));
  // Native paths go through the longest root that covers whole components.
  EXPECT_EQ(table.to_drive_form("/media/usb/docs"), QStringLiteral("D:\\docs"));
  EXPECT_EQ(table.to_drive_form("/media/usb"), QStringLiteral("D:\\"));
  EXPECT_EQ(table.to_drive_form("/home/ann"), QStringLiteral("C:\\home\\ann"));
  EXPECT_EQ(table.to_drive_form("/"), QStringLiteral("C:\\"));
  EXPECT_EQ(table.to_drive_form("/media/usbstick/a"), QStringLiteral("C:\\media\\usbstick\\a"));
  EXPECT_EQ(table.to_drive_form("/media//usb/./x/../docs/"), QStringLiteral("D:\\docs"));
  EXPECT_EQ(table.to_drive_form("/media/usb/.."), QStringLiteral("C:\\media"));
  EXPECT_FALSE(table.to_drive_form("media/usb"));
  EXPECT_FALSE(DriveTable::parse("E=/mnt/e").to_drive_form("/home"));
}

// The table from TENZOR_DRIVES is read by the copy command's own process.
TEST(PlatformDriveTable, WithoutAnEnvironmentTableTheRootIsC) {
  const ScopedEnv none("TENZOR_DRIVES", "");
  const DriveTable table = DriveTable::from_environment();
  EXPECT_EQ(table.letters(), QList<QChar>{u'C'});
  EXPECT_EQ(table.host_root(u'C'), QStringLiteral("/"));
}

TEST(PlatformDriveTable, CurrentDirectoryInDriveFormElseARoot) {
  TempDrives drives({u'C', u'E'});
  drives.make_dir("E:\\Work\\Sub");
  const DriveTable without_c = DriveTable::parse("E=" + drives.host(u'E'));
  const QString old = QDir::currentPath();
  QStringList seen;
  for (const QString& cwd : {drives.host_path("E:\\Work\\Sub"), QDir::rootPath()}) {
    EXPECT_TRUE(QDir::setCurrent(cwd));
    seen << drives.table().current_directory() << without_c.current_directory();
  }
  QDir::setCurrent(old);
  EXPECT_EQ(seen, (QStringList{"E:\\Work\\Sub", "E:\\Work\\Sub", "C:\\", "E:\\"}));
}

TEST(PlatformSystemFacts, DataFolderInDriveFormWhenADriveCoversIt) {
  TempDrives drives({u'C', u'D'});
  const ScopedEnv data_home("XDG_DATA_HOME", QFile::encodeName(drives.host(u'D') + "/share"));
  HostSystemFacts facts(drives.table(), {"/q", "C:\\My Dir"});
  EXPECT_EQ(facts.windows_directory(), QStringLiteral("D:\\share\\tenzor"));
  HostSystemFacts uncovered(DriveTable::parse("E=/nonexistent/e"), {});
  EXPECT_EQ(uncovered.windows_directory(), drives.host(u'D') + "/share/tenzor");
  EXPECT_EQ(facts.command_line(), QStringLiteral("/q C:\\My Dir"));
}

}  // namespace
}  // namespace tz::test
