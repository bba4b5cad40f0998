#include "align/copier.h"

#include <QProcess>
#include <tuple>

#include "align/bulk_align.h"
#include "align/file_guard.h"
#include "align_fixture.h"
#include "platform/file_error.h"
#include "support/raw_files.h"

namespace tz::test {
namespace {

class Copy : public AlignTest {
 protected:
  // The in-process copy fails with `number`.
  void fail_copies(int number) {
    p.fs.fault = [=](const QString& op, const QString&) {
      if (op == "copy_file") throw FileError(number);
    };
  }
  const Entry& newer1() { return p.tz.window().List3.at(0); }
  std::optional<FileRef> copy() { return p.tz.copier().copy_entry(newer1(), 1); }
  bool done() { return p.tz.globals().GLB_copy_done; }
};

TEST_F(Copy, FailedCopyFallsBackToExternalCopiesAndChecksTheResult) {
  p.tz.copier().set_copy_program("/opt/own/tenzor");
  fail_copies(err::permission_denied);
  // The started program copies during the pause that follows.
  p.pump.on_events = [this] {
    if (!p.processes.starts.empty())
      p.fs.HostFileSystem::copy_file("C:\\one\\new1.txt", "D:\\two\\new1.txt");
  };
  QStringList tried;
  p.processes.on_start = [&tried](const QString& program) {
    tried.append(program);
    if (program == "/opt/own/tenzor") throw FileError(err::file_not_found);
  };
  const double start = p.clock.now;
  const std::optional<FileRef> copied = copy();
  EXPECT_EQ(tried, (QStringList{"/opt/own/tenzor", "tenzor"}));
  ASSERT_EQ(p.processes.starts.size(), 1u);
  // The other program knows no drive letters: it gets the host's own paths.
  EXPECT_EQ(p.processes.starts[0].arguments,
            (QStringList{"--copy-file", "--", p.drives.host_path("C:\\one\\new1.txt"),
                         p.drives.host_path("D:\\two\\new1.txt")}));
  EXPECT_GE(p.clock.now - start, 1.0);
  EXPECT_TRUE(done());
  ASSERT_TRUE(copied);
  EXPECT_EQ(copied->seen.length, 10);
}

// The program's own copy fails; the real program started for it reaches each entry's file
// by its exact name, or nothing is copied: no name is read as a path again.
TEST_F(Copy, TheExternalCopyReachesExactlyTheEntrysFileOrNone) {
  p.drives.write_file("D:\\victim.txt", "beside dir 2");
  p.drives.write_file("D:\\two\\sub\\notes.txt", "newer in dir 2", t0 + 60);
  const QByteArray names[] = {"x\\..\\..\\victim.txt", "sub\\notes.txt", "new\nline", "caf\xE9"};
  for (const QByteArray& name : names) write_raw(host_dir(1) + '/' + name, "dir 1: " + name);
  p.compare();
  fail_copies(err::permission_denied);
  p.tz.copier().set_copy_program(TENZOR_PROGRAM);
  // Each program started runs to its end during the pause that follows.
  size_t ran = 0;
  p.pump.on_events = [&] {
    for (; ran < p.processes.starts.size(); ++ran)
      QProcess::execute(p.processes.starts[ran].program, p.processes.starts[ran].arguments);
  };
  // A name that is not UTF-8 cannot be handed on as text.
  p.dialogs.expect("Unable to copy file \"C:\\one\\caf\\xE9\"");
  const QSet<QByteArray> touched =
      touched_by([&] { p.tz.bulk_align().bot_list_Click(ListId::List1); });
  EXPECT_EQ(touched, (QSet<QByteArray>{"D/two/only1.txt", "D/two/x\\..\\..\\victim.txt",
                                       "D/two/sub\\notes.txt", "D/two/new\nline"}));
  for (const QByteArray& name : {names[0], names[1], names[2]}) {
    QFile copy(QFile::decodeName(host_dir(2) + '/' + name));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "dir 1: " + name);
  }
  EXPECT_EQ(p.list(1).size(), 1);
}

// On a file system that ignores case the second of two case twins cannot be made: said as
// such, with nothing done, not taken for a file that appeared since the comparison.
TEST_F(Copy, ACaseTwinOnAFileSystemThatIgnoresCaseIsSaidAsSuch) {
  p.file(1, "Only1.TXT", "twin");
  p.compare();
  p.fs.ignores_case = true;
  const FileList& list = p.tz.window().List1;
  auto entry = [&list](const QByteArray& name) {
    for (int i = 0; i < list.count(); ++i)
      if (list.at(i).side1->name == name) return list.at(i);
    throw std::logic_error("no such entry");
  };
  ASSERT_TRUE(p.tz.copier().copy_entry(entry("only1.txt"), 1));
  const QSet<QByteArray> touched = touched_by([&] {
    try {
      p.tz.copier().copy_entry(entry("Only1.TXT"), 1);
      ADD_FAILURE() << "the twin was copied";
    } catch (const Refusal& refusal) {
      EXPECT_EQ(refusal.text(),
                "D:\\two\\Only1.TXT cannot be made: the file system there ignores letter case, "
                "and a name that differs from it only in letter case is there already. Nothing "
                "was done.");
    }
  });
  EXPECT_EQ(touched, QSet<QByteArray>{});
  EXPECT_TRUE(p.processes.starts.empty());
}

TEST_F(Copy, UnexpectedErrorsInTheChainEndTheProgramAndKeepTheTarget) {
  // The programs' errors when they are started.
  for (const auto& [start_error, message] :
       {std::tuple{err::device_io, "Error 57 - Device I/O error\r\nFile: C:\\one\\new1.txt"},
        {err::file_not_found, "Error 53 - File not found\r\nFile: C:\\one\\new1.txt"}}) {
    p.exit.ends = 0;
    fail_copies(err::permission_denied);
    p.processes.on_start = [error = start_error](const QString&) { throw FileError(error); };
    p.dialogs.expect(message);
    EXPECT_THROW(copy(), ProgramEnded);
    EXPECT_EQ(p.exit.ends, 1);
    EXPECT_FALSE(done());
    EXPECT_EQ(content("D:\\two\\new1.txt"), "old");
  }
}

TEST_F(Copy, CheckNeedsAPlainFileWithinTwoSecondsAndOfTheSameLength) {
  const FileRef& source = *p.tz.window().List5.at(0).side1;
  OpenDirectory& dir2 = *p.tz.window().listed_dir2;
  auto verified = [&](const QByteArray& data, qint64 mtime) {
    p.file(2, "same.txt", data, mtime);
    return Copier::file_copy_verified(source, dir2, "same.txt").has_value();
  };
  EXPECT_TRUE(verified("xyzw", t0 + 2));
  EXPECT_FALSE(verified("xyzw", t0 - 3));
  EXPECT_FALSE(verified("xyz", t0));
  // A directory of the name, with the length and time an empty file would have, is
  // no copy of an empty file.
  p.file(1, "empty", "");
  p.drives.make_dir("D:\\two\\empty");
  p.drives.set_mtime("D:\\two\\empty", t0);
  const FileRef empty{p.tz.window().listed_dir1, "empty", {}};
  EXPECT_FALSE(Copier::file_copy_verified(empty, dir2, "empty"));
}

// 57 and 61 (with the file being written): the bulk alignment's and the drops' tests.
TEST(FileErrorMessage, TextsByNumber) {
  auto message = [](int n) { return Copier::file_error_message(FileError(n), "report.txt"); };
  EXPECT_EQ(message(68), "ERROR 68: Drive A not available.");
  EXPECT_EQ(message(76), "ERROR 76: That path doesn't exist in drive a:");
  EXPECT_EQ(message(70), "ERROR 70 Permission denied");
  EXPECT_EQ(message(75), "ERROR 75: Path/File access error (file may be protected)");
}

}  // namespace
}  // namespace tz::test
