#include <sys/stat.h>

#include <QFileInfo>
#include <QProcess>

#include "platform_test_util.h"

namespace tz::test {
namespace {

// The program in its copy mode, started as the copy routine starts it: an argument
// list, and no display.
int copy_program(const QString& from, const QString& to, int timeout_ms = 60000) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(name);
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(TENZOR_PROGRAM, {"--copy-file", from, to});
  const bool ended =
      process.waitForFinished(timeout_ms) && process.exitStatus() == QProcess::NormalExit;
  return ended ? process.exitCode() : -1;
}

class CopyCommand : public PlatformTest {};

TEST_F(CopyCommand, CopiesNamesAsThemselvesKeepingTheTimeButNeverOverAProtectedFile) {
  QStringList hostile{"a\"; rm -rf x; \".txt", "$(touch pwned).txt", "-rf"};
  for (const QString& name : hostile) {
    drives.write_file("C:\\" + name, name.toUtf8(), 1500000000);
    EXPECT_EQ(copy_program("C:\\" + name, "D:\\" + name), 0);
    EXPECT_EQ(content("D:\\" + name), name.toUtf8());
    EXPECT_EQ(QFileInfo(drives.host_path("D:\\" + name)).lastModified().toSecsSinceEpoch(),
              1500000000);
  }
  hostile.sort();
  EXPECT_EQ(names("C:\\"), hostile);
  EXPECT_EQ(names("D:\\"), hostile);

  drives.write_file("C:\\-rf", "new");
  drives.set_read_only("D:\\-rf", true);
  EXPECT_EQ(copy_program("C:\\-rf", "D:\\-rf"), 75);
  EXPECT_EQ(content("D:\\-rf"), "-rf");
}

TEST_F(CopyCommand, RefusesAPipeWithoutWaitingForAWriter) {
  ASSERT_EQ(::mkfifo(native("C:\\fifo").constData(), 0644), 0);
  EXPECT_EQ(copy_program("C:\\fifo", "D:\\fifo", 10000), 75);
  EXPECT_EQ(names("D:\\"), QStringList{});
}

}  // namespace
}  // namespace tz::test
