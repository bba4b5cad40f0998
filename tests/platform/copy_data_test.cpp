#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QTemporaryDir>
#include <algorithm>
#include <ctime>

#include "platform/host_copy.h"
#include "platform_test_util.h"

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

}  // namespace
}  // namespace tz::test
