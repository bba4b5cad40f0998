#include <sys/stat.h>

#include <QScopeGuard>

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

class PlatformResolution : public PlatformTest {};

TEST_F(PlatformResolution, MatchesEveryComponentWithoutRegardToCaseOrNormalisation) {
  drives.write_file("C:\\Data\\Report.DOC", "x");
  EXPECT_EQ(fs.canonical_path("C:\\data\\"), QStringLiteral("C:\\Data"));
  EXPECT_EQ(fs.canonical_path("c:"), QStringLiteral("C:\\"));
  EXPECT_EQ(fs.canonical_path("C:\\data\\..\\Data\\.\\REPORT.doc"),
            QStringLiteral("C:\\Data\\Report.DOC"));
  // A composed name finds the decomposed one on disk, whose spelling is kept.
  const QString decomposed = QStringLiteral("C:\\Émile\\cafe\u0301.txt");
  drives.write_file(decomposed, "x");
  EXPECT_EQ(fs.canonical_path(QStringLiteral("C:\\émile")), QStringLiteral("C:\\Émile"));
  EXPECT_EQ(fs.canonical_path(QStringLiteral("C:\\ÉMILE\\CAFÉ.TXT")), decomposed);
}

TEST_F(PlatformResolution, ExactCaseWinsElseFirstInByteOrder) {
  drives.write_file("C:\\readme", "lower");
  drives.write_file("C:\\README", "upper");
  drives.write_file("C:\\Dir\\x", "");
  drives.write_file("C:\\DIR\\y", "");
  EXPECT_EQ(fs.canonical_path("C:\\readme"), QStringLiteral("C:\\readme"));
  EXPECT_EQ(fs.canonical_path("C:\\README"), QStringLiteral("C:\\README"));
  EXPECT_EQ(fs.canonical_path("C:\\ReadMe"), QStringLiteral("C:\\README"));
  EXPECT_EQ(fs.canonical_path("C:\\dir\\Y"), QStringLiteral("C:\\DIR\\y"));
  EXPECT_EQ(error_number([&] { fs.canonical_path("C:\\dir\\x"); }), err::file_not_found);
}

TEST_F(PlatformResolution, ErrorsForMissingNamesBadDrivesAndMalformedPaths) {
  drives.write_file("C:\\Data\\file", "");
  EXPECT_EQ(error_number([&] { fs.info("C:\\None\\file"); }), err::path_not_found);
  EXPECT_EQ(error_number([&] { fs.info("C:\\Data\\file\\x"); }), err::path_not_found);
  EXPECT_EQ(error_number([&] { fs.info("Q:\\x"); }), err::device_unavailable);
  EXPECT_EQ(error_number([&] { fs.info("M:\\x"); }), err::disk_not_ready);
  EXPECT_EQ(error_number([&] { fs.check_drive(u'm'); }), err::disk_not_ready);
  EXPECT_EQ(error_number([&] { fs.check_drive(u'Q'); }), err::device_unavailable);
  EXPECT_EQ(error_number([&] { fs.check_drive(u'd'); }), 0);
  for (const QString& bad :
       QStringList{"", "C", "Data", "C:Data", "C:\\Data\\\\file", "C:\\Data/file", "1:\\",
                   QStringLiteral("C:\\a") + QChar(0)})
    EXPECT_EQ(error_number([&] { fs.info(bad); }), err::bad_file_name) << bad.toStdString();
}

TEST_F(PlatformResolution, NativePathsAreTakenAsTheyAre) {
  drives.write_file("D:\\Native.txt", "12345");
  const QString native = drives.host_path("D:\\Native.txt");
  EXPECT_EQ(fs.length(native), 5);
  EXPECT_EQ(fs.canonical_path(native), native);
  EXPECT_EQ(fs.host_path("d:\\NATIVE.TXT"), native);
  EXPECT_EQ(error_number([&] { fs.info(drives.host_path("D:\\native.txt")); }),
            err::file_not_found);
}

TEST_F(PlatformResolution, SameFileThroughLinksAndDriveLetters) {
  drives.write_file("C:\\Dir\\a", "a");
  drives.write_file("C:\\Dir\\b", "a");
  link("Dir/a", "C:\\link");
  HostFileSystem two_letters(
      DriveTable::parse("C=" + drives.host(u'C') + ";E=" + drives.host(u'C') + "/Dir"));
  EXPECT_TRUE(fs.same_file("C:\\LINK", "c:\\dir\\A"));
  EXPECT_TRUE(two_letters.same_file("C:\\Dir", "E:\\"));
  EXPECT_TRUE(two_letters.same_file("C:\\Dir\\a", "E:\\A"));
  EXPECT_FALSE(fs.same_file("C:\\Dir\\a", "C:\\Dir\\b"));
  EXPECT_FALSE(fs.same_file("C:\\Dir\\a", "C:\\Dir\\none"));
  EXPECT_FALSE(fs.same_file("C:\\Dir\\a", "Q:\\Dir\\a"));
}

TEST_F(PlatformResolution, NoticesNamesMadeByOthersAfterReadingADirectory) {
  drives.write_file("C:\\Busy\\one", "");
  drives.set_mtime("C:\\Busy", 1000000000);
  EXPECT_EQ(error_number([&] { fs.info("C:\\Busy\\late"); }), err::file_not_found);
  drives.write_file("C:\\Busy\\LATE", "");
  EXPECT_EQ(fs.canonical_path("C:\\busy\\late"), QStringLiteral("C:\\Busy\\LATE"));
  ASSERT_TRUE(QFile::remove(drives.host_path("C:\\Busy\\LATE")));
  drives.set_mtime("C:\\Busy", 1000000000);
  EXPECT_EQ(error_number([&] { fs.info("C:\\Busy\\late"); }), err::file_not_found);
}

TEST_F(PlatformResolution, ADriveThatMayNotBeSearchedIsAPermissionErrorNotAMissingPath) {
  drives.write_file("C:\\Data\\file", "x");
  drives.write_file("D:\\Inner\\file", "x");
  HostFileSystem locked_above(DriveTable::parse("E=" + drives.host(u'D') + "/Inner"));
  // Given back even when the test fails, so that the drives can go.
  const auto restore = qScopeGuard([this] {
    ::chmod(native("C:\\").constData(), 0755);
    ::chmod(native("D:\\").constData(), 0755);
  });
  ASSERT_EQ(::chmod(native("C:\\").constData(), 0), 0);
  ASSERT_EQ(::chmod(native("D:\\").constData(), 0), 0);
  const WithoutOverride as_a_user;
  EXPECT_EQ(error_number([&] { fs.check_drive(u'C'); }), err::permission_denied);
  EXPECT_EQ(error_number([&] { fs.info("C:\\Data\\file"); }), err::permission_denied);
  EXPECT_EQ(error_number([&] { fs.info("C:\\data\\FILE"); }), err::permission_denied);
  EXPECT_EQ(error_number([&] { listed(fs, "C:\\Data\\", attr::directory); }),
            err::permission_denied);
  EXPECT_EQ(error_number([&] { listed(fs, "C:\\*", attr::directory); }), err::permission_denied);
  EXPECT_EQ(error_number([&] { fs.open_directory("C:\\Data"); }), err::permission_denied);
  // The drive's folder itself is there, but what holds it may not be searched.
  EXPECT_EQ(error_number([&] { locked_above.check_drive(u'E'); }), err::permission_denied);
  EXPECT_EQ(error_number([&] { locked_above.info("E:\\file"); }), err::permission_denied);
}

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
