#include "align/copier.h"

#include "align_fixture.h"
#include "platform/file_error.h"

namespace tz::test {
namespace {

class Copy : public AlignTest {
 protected:
  void SetUp() override {
    AlignTest::SetUp();
    p.tz.copier().set_copy_program("/opt/own/tenzor");
  }
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
  fail_copies(err::permission_denied);
  // The started program copies during the pause that follows.
  p.pump.on_events = [this] {
    if (!p.processes.starts.empty()) p.host_fs.copy_file("C:\\one\\new1.txt", "D:\\two\\new1.txt");
  };
  QStringList tried;
  p.processes.on_start = [&tried](const QString& program) {
    tried.append(program);
    if (program == "/opt/own/tenzor") throw FileError(err::file_not_found);
  };
  copy();
  EXPECT_EQ(tried, (QStringList{"/opt/own/tenzor", "tenzor"}));
  ASSERT_EQ(p.processes.starts.size(), 1u);
  EXPECT_EQ(p.processes.starts[0].arguments,
            (QStringList{"--copy-file", "C:\\one\\new1.txt", "D:\\two\\new1.txt"}));
  EXPECT_GE(p.clock.now, 1.0);
  EXPECT_TRUE(done());
  EXPECT_TRUE(p.dialogs.boxes.empty());
}

TEST_F(Copy, UnexpectedErrorsInTheChainEndTheProgramAndKeepTheTarget) {
  struct Case {
    int quoted;
    int start_error;  // 0: the programs start
    QString message;
  };
  for (const Case& c : {Case{err::disk_full, 0, "Error 61 - Disk full"},
                        Case{0, err::device_io, "Error 57 - Device I/O error"},
                        Case{0, err::file_not_found, "Error 53 - File not found"}}) {
    p.dialogs.boxes.clear();
    p.exit.ends = 0;
    fail_copies(err::disk_full, c.quoted);
    p.processes.on_start = [=](const QString&) {
      if (c.start_error != 0) throw FileError(c.start_error);
    };
    copy();
    EXPECT_EQ(p.dialogs.texts(), std::vector<QString>{c.message + "\r\nFile: C:\\one\\new1.txt"});
    EXPECT_EQ(p.exit.ends, 1);
    EXPECT_FALSE(done());
    EXPECT_EQ(content("D:\\two\\new1.txt"), "old");
  }
}

TEST_F(Copy, CheckNeedsTheTargetWithinTwoSecondsAndOfTheSameLength) {
  Copier& copier = p.tz.copier();
  file2("b.txt", "xyz", t0 + 2);
  file1("b.txt", "abc");
  EXPECT_TRUE(copier.file_copy_verified("C:\\one\\b.txt", "D:\\two\\b.txt"));
  file2("b.txt", "xyz", t0 - 3);
  EXPECT_FALSE(copier.file_copy_verified("C:\\one\\b.txt", "D:\\two\\b.txt"));
  file2("b.txt", "xyzw");
  EXPECT_FALSE(copier.file_copy_verified("C:\\one\\b.txt", "D:\\two\\b.txt"));
}

TEST(FileErrorMessage, TextsByNumber) {
  auto message = [](int n) { return Copier::file_error_message(FileError(n), "report.txt"); };
  EXPECT_EQ(message(57), "ERROR 57: Device I/O error");
  EXPECT_EQ(message(61), "ERROR 61: Disk full while copying REPORT.TXT");
  EXPECT_EQ(message(68), "ERROR 68: Drive A not available.");
  EXPECT_EQ(message(75), "ERROR 75: Path/File access error (file may be protected)");
  EXPECT_EQ(message(76), "ERROR 76: That path doesn't exist in drive a:");
  EXPECT_EQ(message(70), "ERROR 70 Permission denied");
}

}  // namespace
}  // namespace tz::test
