#include <limits.h>
#include <sys/stat.h>

#include <QProcess>

#include "platform_test_util.h"

namespace tz::test {
namespace {

constexpr int levels = 40;

// Level `i` of the deep tree: 120 characters, so that 40 of them pass PATH_MAX.
QString level_name(int i) {
  return QStringLiteral("Level%1").arg(i, 2, 10, QChar(u'0')) + QString(113, u'x');
}

// A chain of directories deeper than the host takes in one path, below C:\Deep.
class LongPaths : public PlatformTest {
 protected:
  // mkdir and rm go down one level at a time: they reach what no single host path does.
  void SetUp() override {
    QStringList names;
    for (int i = 0; i < levels; ++i) names << level_name(i);
    drives.make_dir("C:\\Deep");
    QProcess mkdir;
    mkdir.setWorkingDirectory(drives.host_path("C:\\Deep"));
    mkdir.start("mkdir", {"-p", "--", names.join(u'/')});
    ASSERT_TRUE(mkdir.waitForFinished() && mkdir.exitCode() == 0);
    deep = "C:\\Deep\\" + names.join(u'\\');
    ASSERT_GT(native(deep).size(), PATH_MAX);
    write_deep("file.txt", "deep");
  }
  void TearDown() override { QProcess::execute("rm", {"-rf", "--", drives.host_path("C:\\Deep")}); }

  // The deepest directory, reached one level at a time.
  Descriptor open_deep(int flags = O_PATH) {
    Descriptor dir(::open(native("C:\\Deep").constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (int i = 0; i < levels && dir.valid(); ++i) {
      const int last = i + 1 == levels ? flags : O_PATH;
      dir = Descriptor(
          ::openat(dir.get(), level_name(i).toUtf8().constData(), last | O_DIRECTORY | O_CLOEXEC));
    }
    return dir;
  }
  void write_deep(const char* name, const QByteArray& data) {
    const Descriptor dir = open_deep();
    const Descriptor file(::openat(dir.get(), name, O_WRONLY | O_CREAT | O_TRUNC, 0644));
    ASSERT_TRUE(file.valid());
    ASSERT_EQ(::write(file.get(), data.constData(), data.size()), data.size());
  }
  QByteArray deep_content(const char* name) {
    const Descriptor dir = open_deep();
    const Descriptor file(::openat(dir.get(), name, O_RDONLY));
    if (!file.valid()) return "<missing>";
    QByteArray data(4096, '\0');
    const ssize_t count = ::read(file.get(), data.data(), data.size());
    return data.left(count < 0 ? 0 : count);
  }
  QList<QByteArray> deep_names() { return names_at(open_deep(O_RDONLY).release()); }

  QString deep;
};

TEST_F(LongPaths, AFolderBeyondPathMaxIsListedReadAndWrittenThroughDriveForm) {
  // The deepest level in another case: its parent's names are read under a long key.
  const QString folded =
      deep.left(deep.lastIndexOf(u'\\')) + u'\\' + level_name(levels - 1).toLower();
  EXPECT_EQ(fs.canonical_path(folded + "\\FILE.TXT"), deep + "\\file.txt");
  EXPECT_EQ(fs.length(folded + "\\File.txt"), 4);
  EXPECT_EQ(fs.attributes(folded), attr::directory);
  EXPECT_EQ(listed(fs, folded + "\\*", attr::directory),
            (QMap<QString, int>{{".", attr::directory}, {"..", attr::directory}, {"file.txt", 0}}));
  EXPECT_EQ(listed(fs, folded + "\\", attr::directory),
            (QMap<QString, int>{{".", attr::directory}}));
  EXPECT_EQ(listed(fs, folded + "\\FILE.txt", 0), (QMap<QString, int>{{"file.txt", 0}}));

  drives.write_file("D:\\in.txt", "payload", 1'500'000'000);
  fs.copy_file("D:\\in.txt", folded + "\\Copy.txt");
  EXPECT_EQ(deep_content("Copy.txt"), "payload");
  EXPECT_EQ(fs.modified(folded + "\\copy.txt"), 1'500'000'000);
  fs.copy_file(folded + "\\file.txt", "D:\\out.txt");
  EXPECT_EQ(content("D:\\out.txt"), "deep");

  const auto dir = fs.open_directory(folded);
  EXPECT_EQ(dir->path(), deep + "\\");
  EXPECT_EQ(dir->info("Copy.txt").length, 7);
  dir->copy_to("file.txt", *dir, "twin.txt", OpenDirectory::Target::create_new);
  dir->remove("twin.txt");

  fs.make_directory(folded + "\\Sub");
  fs.rename(folded + "\\copy.txt", folded + "\\Moved.txt");
  fs.write_lines(folded + "\\sub\\lines.txt", {"one", "two"});
  EXPECT_EQ(fs.read_lines(folded + "\\SUB\\Lines.txt"), (QStringList{"one", "two"}));
  EXPECT_EQ(deep_names(), (QList<QByteArray>{"Moved.txt", "Sub", "file.txt"}));

  fs.remove_file(folded + "\\sub\\lines.txt");
  fs.remove_directory(folded + "\\sub");
  fs.remove_file(folded + "\\moved.txt");
  fs.remove_file(folded + "\\file.txt");
  EXPECT_EQ(deep_names(), QList<QByteArray>{});
  // The tree goes level by level from the bottom, each through its full drive path.
  for (QString level = deep; level != "C:\\Deep"; level.truncate(level.lastIndexOf(u'\\'))) {
    fs.remove_directory(level);
  }
  EXPECT_EQ(names("C:\\Deep"), QStringList{});
}

}  // namespace
}  // namespace tz::test
