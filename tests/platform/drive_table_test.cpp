#include "platform/drive_table.h"

#include "platform/host_system_facts.h"
#include "platform_test_util.h"

namespace tz::test {
namespace {

TEST(PlatformDriveTable, ParsesLettersCaseInsensitivelyAndTranslatesNativePaths) {
  const DriveTable table = DriveTable::parse(" d = /media//usb/ ;; c=/;");
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
  // "a\b" is one name here, two in drive form: no drive path names it.
  EXPECT_FALSE(table.to_drive_form("/home/a\\b"));
  EXPECT_EQ(DriveTable::parse("C=/;D=/mnt/a\\b").to_drive_form("/mnt/a\\b/c"),
            QStringLiteral("D:\\c"));
  EXPECT_FALSE(DriveTable::parse("E=/mnt/e").to_drive_form("/home"));
}

// A wrong table must stop the program with its reason, never fall back to C=/.
TEST(PlatformDriveTable, AWrongTableIsRefusedWithTheItemAndTheFault) {
  const QString not_a_drive =
      " is not a drive: write it as LETTER=/absolute/folder, e.g. C=/home/ann";
  const struct {
    const char* text;
    QString error;
  } cases[] = {
      {"C:/x;D:/y", "TENZOR_DRIVES: \"C:/x\"" + not_a_drive},
      {"C=/; EE=/y ", "TENZOR_DRIVES: \"EE=/y\"" + not_a_drive},
      {"1=/x", "TENZOR_DRIVES: \"1=/x\"" + not_a_drive},
      // A dotless i would turn into I by case mapping.
      {"\xC4\xB1=/x", QString::fromUtf8("TENZOR_DRIVES: \"\xC4\xB1=/x\"") + not_a_drive},
      {"C=/;D=/a;d=/b", "TENZOR_DRIVES: the letter D is given twice"},
      {"C=/;D=media/usb",
       "TENZOR_DRIVES: \"D=media/usb\" needs an absolute folder (starting with /)"},
      {"G= ;C=/", "TENZOR_DRIVES: \"G=\" needs an absolute folder (starting with /)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const DriveTableReading reading = DriveTable::read(QString::fromUtf8(c.text));
    EXPECT_FALSE(reading.table);
    EXPECT_EQ(reading.error, c.error);
  }
  EXPECT_THROW(DriveTable::parse("C:/x"), std::invalid_argument);

  // The program's message for it is the command's test; the copy command's process gets
  // no drive rather than the whole host disk.
  const ScopedEnv wrong("TENZOR_DRIVES", "C:/x;D:/y");
  EXPECT_TRUE(DriveTable::from_environment().letters().isEmpty());
}

TEST(PlatformDriveTable, WithoutAnEnvironmentTableTheRootIsC) {
  const ScopedEnv restore("TENZOR_DRIVES", "");
  for (const char* text : std::initializer_list<const char*>{"", " ; ;", nullptr}) {
    SCOPED_TRACE(text ? text : "unset");
    text ? qputenv("TENZOR_DRIVES", text) : qunsetenv("TENZOR_DRIVES");
    const DriveTableReading reading = DriveTable::read_environment();
    ASSERT_TRUE(reading.table);
    EXPECT_EQ(reading.error, QString());
    EXPECT_EQ(reading.table->letters(), QList<QChar>{u'C'});
    EXPECT_EQ(reading.table->host_root(u'C'), QStringLiteral("/"));
    EXPECT_EQ(DriveTable::from_environment().letters(), QList<QChar>{u'C'});
  }
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

// The program's own folder is the host's, byte for byte, covered by a drive or not.
TEST(PlatformSystemFacts, DataFolderIsTheNativeFolderAsTheEnvironmentNamesIt) {
  TempDrives drives({u'C', u'D'});
  const QByteArray share = QFile::encodeName(drives.host(u'D')) + "/sh\\are\xE9/";
  const ScopedEnv data_home("XDG_DATA_HOME", share);
  HostSystemFacts facts(drives.table(), {"/q", "C:\\My Dir"});
  EXPECT_EQ(facts.windows_directory(), share + "tenzor");
  EXPECT_EQ(facts.command_line(), QStringLiteral("/q C:\\My Dir"));
}

}  // namespace
}  // namespace tz::test
