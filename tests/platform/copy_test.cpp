#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <vector>

#include "platform/descriptor.h"
#include "platform/host_copy.h"
#include "platform_test_util.h"
#include "support/raw_files.h"
#include "support/tree_snapshot.h"

extern char** environ;

namespace tz::test {
namespace {

using Entries = QMap<QString, int>;

constexpr off_t mib = 1024 * 1024;

class CopyData : public PlatformTest {
 protected:
  // 64 MiB holding two stretches of 1 MiB of data, at 0 and at 61 MiB: a hole of 60 MiB
  // between them and one of 2 MiB at the end.
  static bool make_sparse(const QByteArray& path) {
    const Descriptor fd(::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (!fd.valid() || ::ftruncate(fd.get(), 64 * mib) != 0) return false;
    QByteArray block(mib, '\0');
    for (const off_t at : {off_t{0}, 61 * mib}) {
      for (qsizetype i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>((at / mib + i) % 251);
      if (::pwrite(fd.get(), block.constData(), block.size(), at) != block.size()) return false;
    }
    return true;
  }
  static struct stat status(const QByteArray& path) {
    struct stat st {};
    ::stat(path.constData(), &st);
    return st;
  }
  static bool same_content(const QByteArray& a, const QByteArray& b) {
    QFile first(QFile::decodeName(a));
    QFile second(QFile::decodeName(b));
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly)) return false;
    while (!first.atEnd() || !second.atEnd()) {
      if (first.read(mib) != second.read(mib)) return false;
    }
    return true;
  }
  // Copies `source` to D:\copy and checks that it is equal and, where the file system
  // kept the source sparse, sparse as well.
  void expect_sparse_copy(const QString& source) {
    const QByteArray from = QFile::encodeName(source);
    fs.copy_file(source, "D:\\copy");
    const QByteArray to = native("D:\\copy");
    EXPECT_EQ(status(to).st_size, 64 * mib);
    EXPECT_TRUE(same_content(from, to));
    if (status(from).st_blocks * 512 > 8 * mib) {
      GTEST_SKIP() << "the source's file system does not keep holes";
    }
    EXPECT_LT(status(to).st_blocks * 512, 8 * mib);
  }
};

// From another file system the kernel cannot copy: reading and writing does.
TEST_F(CopyData, ASparseFileIsCopiedWithItsHolesAlsoFromAnotherFileSystem) {
  QTemporaryDir shm(QStringLiteral("/dev/shm/tenzor-test-XXXXXX"));
  QStringList sources{drives.host_path("C:\\sparse")};
  if (shm.isValid()) sources << shm.filePath("sparse");
  for (const QString& source : sources) {
    SCOPED_TRACE(source.toStdString());
    ASSERT_TRUE(make_sparse(QFile::encodeName(source)));
    expect_sparse_copy(source);
  }
}

class CopyLeftovers : public PlatformTest {};

// A leftover of this boot whose process ended goes at once; one that may be another
// machine's waits a day. A name that only looks like a leftover is the user's: listed,
// and never removed.
TEST_F(CopyLeftovers, ACopyRemovesOnlyLeftoversOfEndedProcessesOfThisBootOrADayOld) {
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ASSERT_GT(ended, 0);
  ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
  ASSERT_EQ(boot_tag().size(), 4);
  ASSERT_NE(boot_tag(), "new0");
  const QByteArray gone = ".tenzor-copy-" + QByteArray::number(ended) + '-';
  const QByteArray living = ".tenzor-copy-" + QByteArray::number(::getpid()) + '-';
  const time_t now = std::time(nullptr), two_days_ago = now - 2 * 24 * 60 * 60;
  const struct {
    QByteArray name;
    time_t modified;
    bool kept;
  } leftovers[] = {
      {gone + boot_tag() + "dead", now, false}, {living + boot_tag() + "live", now, true},
      {gone + "0ld0dead", two_days_ago, false}, {living + "0ld0live", two_days_ago, true},
      {gone + "new0dead", now, true},
  };
  // Group ids for kill(), and names a user may have chosen.
  const QByteArrayList users{
      ".tenzor-copy-0-a1b2c3d4",  ".tenzor-copy--1-a1b2c3d4",         ".tenzor-copy-7-a1b2c3d",
      ".tenzor-copy-7-a1b2c3d4e", ".tenzor-copy-7-A1B2C3D4",          ".tenzor-copy-7a1b2c3d4",
      ".tenzor-copy-notes",       ".tenzor-copy-1234567890-a1b2c3d4", ".tenzor-abcdefgh"};
  Entries expected_listing{{".", attr::directory}, {"..", attr::directory}};
  QList<QByteArray> kept{"copy"};
  for (const auto& leftover : leftovers) {
    drives.write_file("D:\\Out\\" + QString::fromLatin1(leftover.name), "partial",
                      leftover.modified);
    if (leftover.kept) kept << leftover.name;
  }
  for (const QByteArray& user : users) {
    drives.write_file("D:\\Out\\" + QString::fromLatin1(user), "mine", two_days_ago);
    expected_listing.insert(QString::fromLatin1(user), attr::hidden);
    kept << user;
  }
  EXPECT_EQ(listed(fs, "D:\\Out\\*", attr::hidden | attr::directory), expected_listing);
  EXPECT_EQ(listed(fs, "D:\\Out\\" + QString::fromLatin1(leftovers[1].name), attr::hidden),
            Entries{});

  drives.write_file("C:\\src", "data");
  fs.copy_file("C:\\src", "D:\\Out\\copy");
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(raw_names("D:\\Out"), kept);
}

// A run of copies flushed together, killed at any moment: each target is its old file
// or the whole new one (a new name missing or whole), and the next copy into the folder
// removes every temporary file the killed run left.
TEST_F(CopyLeftovers, ABatchKilledAtAnyMomentLeavesEachTargetOldOrWhole) {
  constexpr int files = 48;
  auto name = [](int i) { return "f" + QByteArray::number(i); };
  auto data = [](int i) {
    return QByteArray::number(i) + QByteArray(512 * 1024, char('a' + i % 26));
  };
  auto old = [](int i) { return "old " + QByteArray::number(i); };
  for (int i = 0; i < files; ++i) drives.write_file("C:\\from\\" + name(i), data(i));
  drives.make_dir("D:\\to");
  auto temps = [&] {
    const QList<QByteArray> all = raw_names("D:\\to");
    return std::count_if(all.begin(), all.end(),
                         [](const QByteArray& n) { return n.startsWith(".tenzor-copy-"); });
  };
  int killed_half_way = 0;
  for (const int delay_us : {500, 2000, 5000, 10000, 20000, 40000, 80000, 150000, 300000}) {
    // Even names are replaced, odd ones made new.
    for (int i = 0; i < files; ++i) {
      const QString target = "D:\\to\\" + name(i);
      if (i % 2 == 0)
        drives.write_file(target, old(i));
      else
        QFile::remove(drives.host_path(target));
    }
    const auto before = temps();
    const pid_t copying = ::fork();
    if (copying == 0) {
      try {
        HostFileSystem child(drives.table());
        const auto from = child.open_directory("C:\\from");
        const auto to = child.open_directory("D:\\to");
        const auto batch = child.copy_batch();
        for (int i = 0; i < files; ++i) {
          batch->add(
              *from, name(i), to, name(i),
              i % 2 == 0 ? OpenDirectory::Target::replace : OpenDirectory::Target::create_new);
          if (batch->count() == 8) batch->commit();
        }
        batch->commit();
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    ASSERT_GT(copying, 0);
    ::usleep(delay_us);
    ::kill(copying, SIGKILL);
    ASSERT_EQ(::waitpid(copying, nullptr, 0), copying);
    for (int i = 0; i < files; ++i) {
      const QByteArray now = content("D:\\to\\" + name(i));
      EXPECT_TRUE(now == data(i) || now == (i % 2 == 0 ? old(i) : QByteArray("<missing>")))
          << "after " << delay_us << " us: " << name(i).toStdString() << " holds "
          << now.left(20).toStdString();
    }
    if (temps() > before) ++killed_half_way;
  }
  // Without a kill half-way, nothing above was tried.
  EXPECT_GT(killed_half_way, 0);

  HostFileSystem later(drives.table());
  later.copy_file("C:\\from\\f0", "D:\\to\\f0");
  EXPECT_EQ(temps(), 0);
}

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
