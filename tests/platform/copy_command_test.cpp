#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <string>
#include <vector>

#include "support/temp_drives.h"

extern char** environ;

namespace tz {
namespace {

// The program in its copy mode, started as the copy routine starts it: an argument
// list, and no display.
int copy_program(const QString& from, const QString& to) {
  const std::string source = from.toStdString(), target = to.toStdString();
  char* argv[] = {const_cast<char*>(TENZOR_PROGRAM), const_cast<char*>("--copy-file"),
                  const_cast<char*>(source.c_str()), const_cast<char*>(target.c_str()), nullptr};
  std::vector<char*> env;
  for (char** e = environ; *e != nullptr; ++e)
    if (std::string(*e).find("DISPLAY=") == std::string::npos &&
        std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0)
      env.push_back(*e);
  env.push_back(nullptr);
  pid_t pid = 0;
  int status = 0;
  if (::posix_spawn(&pid, TENZOR_PROGRAM, nullptr, nullptr, argv, env.data()) != 0 ||
      ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

TEST(CopyCommand, CopiesNamesAsThemselvesKeepingTheTimeButNeverOverAProtectedFile) {
  test::TempDrives drives{{u'C', u'D'}};
  auto content = [&](const QString& path) {
    QFile file(drives.host_path(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  };
  QStringList names{"a\"; rm -rf x; \".txt", "$(touch pwned).txt", "-rf"};
  for (const QString& name : names) {
    drives.write_file("C:\\" + name, name.toUtf8(), 1500000000);
    EXPECT_EQ(copy_program("C:\\" + name, "D:\\" + name), 0);
    EXPECT_EQ(content("D:\\" + name), name.toUtf8());
    EXPECT_EQ(QFileInfo(drives.host_path("D:\\" + name)).lastModified().toSecsSinceEpoch(),
              1500000000);
  }
  names.sort();
  EXPECT_EQ(QDir(drives.host(u'C')).entryList(QDir::Files), names);
  EXPECT_EQ(QDir(drives.host(u'D')).entryList(QDir::Files), names);

  drives.write_file("C:\\-rf", "new");
  drives.set_read_only("D:\\-rf", true);
  EXPECT_EQ(copy_program("C:\\-rf", "D:\\-rf"), 75);
  EXPECT_EQ(content("D:\\-rf"), "-rf");
}

}  // namespace
}  // namespace tz
