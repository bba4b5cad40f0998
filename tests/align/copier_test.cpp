#include "align/copier.h"

#include <tuple>

#include "align_fixture.h"
#include "platform/file_error.h"

namespace tz::test {
namespace {

class Copy : public AlignTest {
 protected:
  // The in-process copy fails with `number`, its quoted retry with `quoted` (0: as the
  // platform makes it fail).
  void fail_copies(int number, int quoted = 0) {
    p.fs.fault = [=](const QString& op, const QString& path) {
      if (op == "copy_file" && !path.startsWith(u'"')) throw FileError(number);
      if (op == "copy_file" && quoted != 0) throw FileError(quoted);
    };
  }
  void copy() { p.tz.copier().copy_file("C:\\one\\new1.txt", "D:\\two\\new1.txt"); }
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
  copy();
  EXPECT_EQ(tried, (QStringList{"/opt/own/tenzor", "tenzor"}));
  ASSERT_EQ(p.processes.starts.size(), 1u);
  EXPECT_EQ(p.processes.starts[0].arguments,
            (QStringList{"--copy-file", "C:\\one\\new1.txt", "D:\\two\\new1.txt"}));
  EXPECT_GE(p.clock.now - start, 1.0);
  EXPECT_TRUE(done());
  EXPECT_TRUE(p.dialogs.boxes.empty());
}

TEST_F(Copy, UnexpectedErrorsInTheChainEndTheProgramAndKeepTheTarget) {
  // The quoted retry's error (0: as the platform makes it fail) and the programs' (0: they
  // start).
  for (const auto& [quoted, start_error, message] :
       {std::tuple{err::disk_full, 0, "Error 61 - Disk full"},
        {0, err::device_io, "Error 57 - Device I/O error"},
        {0, err::file_not_found, "Error 53 - File not found"}}) {
    p.dialogs.boxes.clear();
    p.exit.ends = 0;
    fail_copies(err::disk_full, quoted);
    p.processes.on_start = [error = start_error](const QString&) {
      if (error != 0) throw FileError(error);
    };
    copy();
    EXPECT_EQ(p.dialogs.texts(),
              std::vector<QString>{QString(message) + "\r\nFile: C:\\one\\new1.txt"});
    EXPECT_EQ(p.exit.ends, 1);
    EXPECT_FALSE(done());
    EXPECT_EQ(content("D:\\two\\new1.txt"), "old");
  }
}

TEST_F(Copy, CheckNeedsTheTargetWithinTwoSecondsAndOfTheSameLength) {
  auto verified = [this](const QByteArray& data, qint64 mtime) {
    p.file(2, "same.txt", data, mtime);
    return p.tz.copier().file_copy_verified("C:\\one\\same.txt", "D:\\two\\same.txt");
  };
  EXPECT_TRUE(verified("xyzw", t0 + 2));
  EXPECT_FALSE(verified("xyzw", t0 - 3));
  EXPECT_FALSE(verified("xyz", t0));
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
