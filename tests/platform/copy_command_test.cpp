#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QProcess>
#include <vector>

#include "platform/descriptor.h"
#include "platform_test_util.h"
#include "support/raw_files.h"
#include "support/tree_snapshot.h"

extern char** environ;

namespace tz::test {
namespace {

struct CopyRun {
  int status = -1;
  QByteArray error;  // what it wrote to stderr
};

// True when a program started from here can be kept from bypassing permission checks:
// as root that takes dropping capabilities from the bounding set before exec.
bool can_start_as_a_user() {
  if (::geteuid() != 0) return true;
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  return ::syscall(SYS_capget, &header, data) == 0 && (data[0].effective & (1u << CAP_SETPCAP));
}

// The program in its copy mode, started as the copy routine starts it: an argument
// list, and no display. `as_a_user` starts it without the power to bypass permissions.
CopyRun run_copy_program(const QString& from, const QString& to, bool as_a_user = false) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(name);
  QProcess process;
  process.setProcessEnvironment(environment);
  if (as_a_user) {
    process.setChildProcessModifier([] {
      ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
      ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
    });
  }
  process.start(TENZOR_PROGRAM, {"--copy-file", from, to});
  const bool ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
  return {ended ? process.exitCode() : -1, process.readAllStandardError()};
}

// The copy mode started with arguments of exact bytes, as the copy routine hands them on
// (text could not carry a name that is not UTF-8); its exit status.
int run_raw_copy(const QByteArrayList& arguments) {
  QByteArrayList all{TENZOR_PROGRAM, "--copy-file"};
  all += arguments;
  std::vector<char*> argv;
  for (QByteArray& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t quiet;
  ::posix_spawn_file_actions_init(&quiet);
  ::posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int started = ::posix_spawn(&pid, TENZOR_PROGRAM, &quiet, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&quiet);
  int status = 0;
  if (started != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class CopyCommand : public PlatformTest {};

// Native paths are taken byte for byte (more of them in the copy routine's tests): a name
// holding "\", ".." or bytes that are not UTF-8 reaches exactly that file, and a path that
// would need resolving is refused. Nothing but the named target changes.
TEST_F(CopyCommand, NativePathsReachExactlyTheNamedFileOrAreRefused) {
  const QByteArray one = native("C:\\") + "/one", two = native("D:\\") + "/two";
  make_raw_dir(one);
  make_raw_dir(two);
  for (const QByteArray name : {"..\\victim.txt", "sub\\notes.txt", "new\nline", "caf\xE9"})
    write_raw(one + '/' + name, "from one: " + name);
  write_raw(native("C:\\") + "/victim.txt", "beside one");
  write_raw(native("D:\\") + "/victim.txt", "beside two");
  make_raw_dir(two + "/sub");
  write_raw(two + "/sub/notes.txt", "newer in two");
  write_raw(two + "/taken", "taken");

  const struct {
    QByteArrayList arguments;
    int status;
    QByteArray written;  // the one file that changes, relative to the drives' folder
  } cases[] = {
      {{"--new", "--", one + "/sub\\notes.txt", two + "/sub\\notes.txt"},
       0,
       "D/two/sub\\notes.txt"},
      {{"--", one + "/caf\xE9", two + "/caf\xE9"}, 0, "D/two/caf\xE9"},
      // Without the marker a native path is just as exact: only drive form is read as such.
      {{one + "/..\\victim.txt", two + "/..\\victim.txt"}, 0, "D/two/..\\victim.txt"},
      {{"--", "C/one/caf\xE9", two + "/relative"}, 52, ""},
      {{"--", one + "/../one/new\nline", two + "/dots"}, 52, ""},
      {{"--", one + "/new\nline", two + "/./dot"}, 52, ""},
      {{"--", one + "//new\nline", two + "/empty"}, 52, ""},
      {{"--", one + "/new\nline", two + "/"}, 52, ""},
      {{"C:\\one\\victim.txt", two + "/..\\victim.txt"}, 52, ""},
      {{"--new", "--", one + "/new\nline", two + "/taken"}, 58, ""},
      {{"--new", one + "/new\nline", two + "/x"}, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    int status = -1;
    const QSet<QByteArray> touched =
        touched_by(drives.folder(), [&] { status = run_raw_copy(c.arguments); });
    EXPECT_EQ(status, c.status);
    if (c.written.isEmpty()) {
      EXPECT_EQ(touched, QSet<QByteArray>{});
      continue;
    }
    EXPECT_EQ(touched, QSet<QByteArray>{c.written});
    const Descriptor copy(::open((drives.folder() + '/' + c.written).constData(), O_RDONLY));
    char data[64] = {};
    const ssize_t length = ::read(copy.get(), data, sizeof data);
    EXPECT_EQ(QByteArray(data, static_cast<int>(std::max<ssize_t>(length, 0))),
              "from one: " + c.written.mid(6));
  }
}

// Drive-form paths copy too; an error names the file it concerns and leaves nothing.
TEST_F(CopyCommand, DriveFormCopiesAndAnErrorNamesTheFileItConcerns) {
  drives.write_file("C:\\src", "data");
  EXPECT_EQ(run_copy_program("C:\\SRC", "D:\\-rf").status, 0);
  EXPECT_EQ(content("D:\\-rf"), "data");
  drives.write_file("C:\\locked", "data");
  ASSERT_EQ(::chmod(native("C:\\locked").constData(), 0), 0);
  drives.make_dir("D:\\ro");
  ASSERT_EQ(::chmod(native("D:\\ro").constData(), 0555), 0);

  const struct {
    const char* from;
    const char* to;
    int status;
    const char* error;
  } cases[] = {
      {"C:\\none", "D:\\x", 53, "tenzor: 53 File not found: C:\\none\n"},
      {"Q:\\src", "D:\\x", 68, "tenzor: 68 Device unavailable: Q:\\src\n"},
      {"C:\\src", "D:\\none\\x", 76, "tenzor: 76 Path not found: D:\\none\\x\n"},
      {"C:\\src", "Q:\\x", 68, "tenzor: 68 Device unavailable: Q:\\x\n"},
      {"C:\\src", "M:\\x", 71, "tenzor: 71 Disk not ready: M:\\x\n"},
      {"C:\\src", "D:\\", 75, "tenzor: 75 Path/File access error: D:\\\n"},
      // Reading the program's own memory at address 0 fails once the copy has begun.
      {"/proc/self/mem", "D:\\x", 57, "tenzor: 57 Device I/O error: /proc/self/mem\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from + std::string(" -> ") + c.to);
    const CopyRun run = run_copy_program(c.from, c.to);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.error, c.error);
  }

  EXPECT_EQ(names("D:\\"), (QStringList{"-rf", "ro"}));

  if (!can_start_as_a_user()) GTEST_SKIP() << "cannot start the program without privileges";
  const CopyRun unreadable = run_copy_program("C:\\locked", "D:\\x", true);
  EXPECT_EQ(unreadable.status, 70);
  EXPECT_EQ(unreadable.error, "tenzor: 70 Permission denied: C:\\locked\n");
  const CopyRun read_only = run_copy_program("C:\\src", "D:\\ro\\x", true);
  EXPECT_EQ(read_only.status, 70);
  EXPECT_EQ(read_only.error, "tenzor: 70 Permission denied: D:\\ro\\x\n");
  EXPECT_EQ(names("D:\\"), (QStringList{"-rf", "ro"}));
  EXPECT_EQ(names("D:\\ro"), QStringList{});
}

}  // namespace
}  // namespace tz::test
