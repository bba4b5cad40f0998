#include "align/copier.h"

#include <tuple>

#include "align_fixture.h"
#include "platform/file_error.h"

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
            (QStringList{"--copy-file", p.drives.host_path("C:\\one\\new1.txt"),
                         p.drives.host_path("D:\\two\\new1.txt")}));
  EXPECT_GE(p.clock.now - start, 1.0);
  EXPECT_TRUE(done());
  ASSERT_TRUE(copied);
  EXPECT_EQ(copied->seen.length, 10);
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

TEST(FileErrorMessage, TextsByNumber) {
  auto message = [](int n) { return Copier::file_error_message(FileError(n), "report.txt"); };
  EXPECT_EQ(message(57), "ERROR 57: Device I/O error");
  EXPECT_EQ(message(61), "ERROR 61: Disk full while copying REPORT.TXT");
  EXPECT_EQ(message(68), "ERROR 68: Drive A not available.");
  EXPECT_EQ(message(76), "ERROR 76: That path doesn't exist in drive a:");
  EXPECT_EQ(message(70), "ERROR 70 Permission denied");
}

}  // namespace
}  // namespace tz::test
