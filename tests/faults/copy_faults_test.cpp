// A copy, or a save of the program's log, that fails at any stage keeps the old target
// byte for byte and leaves no temporary file behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <vector>

#include "faults/syscall_faults.h"
#include "platform/file_error.h"
#include "platform/host_file_system.h"
#include "support/temp_drives.h"
#include "support/test_program.h"
#include "tree/results.h"

namespace tz::test {
namespace {

using faults::Stage;

class CopyFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    QByteArray data;
    for (int i = 0; i < 3'000'000; ++i) data += static_cast<char>('a' + i % 23);
    drives.write_file("C:\\from\\big.bin", data);
    drives.write_file("C:\\to\\big.bin", "the old target");
  }
  void TearDown() override { faults::disarm(); }

  QByteArray content(const QString& drive_path) const { return drives.content(drive_path); }

  TempDrives drives{{u'C'}};
  HostFileSystem fs{drives.table()};
};

TEST_F(CopyFaults, ACopyThatFailsAtAnyStageKeepsTheOldTarget) {
  const QByteArray source = content("C:\\from\\big.bin");
  const std::pair<Stage, int> cases[] = {{Stage::open_source, err::device_io},
                                         {Stage::create_temp, err::disk_full},
                                         {Stage::data, err::disk_full},
                                         {Stage::flush, err::device_io},
                                         {Stage::rename, err::device_io}};
  // One copy, and the same copy in a batch of copies flushed together.
  auto alone = [&] { fs.copy_file("C:\\from\\big.bin", "C:\\to\\big.bin"); };
  auto batched = [&] {
    const auto batch = fs.copy_batch();
    batch->add(*fs.open_directory("C:\\from"), "big.bin", fs.open_directory("C:\\to"), "big.bin",
               OpenDirectory::Target::replace);
    const std::vector<CopyBatch::Outcome> outcomes = batch->commit();
    if (outcomes.at(0).error) throw *outcomes[0].error;
  };
  for (const auto& [stage, error] : cases) {
    for (const auto& copy : {std::function<void()>(alone), std::function<void()>(batched)}) {
      SCOPED_TRACE(static_cast<int>(stage));
      faults::arm(stage, "big.bin", 1'000'000);
      EXPECT_EQ(error_number(copy), error);
      EXPECT_TRUE(faults::fired());
      faults::disarm();
      EXPECT_EQ(content("C:\\to\\big.bin"), "the old target");
      // No temporary file is left behind.
      EXPECT_EQ(QDir(drives.host_path("C:\\to")).entryList(QDir::Files | QDir::Hidden),
                QStringList{"big.bin"});
      EXPECT_EQ(content("C:\\from\\big.bin"), source);
    }
  }
  // Without a fault the same copy is made.
  batched();
  EXPECT_EQ(content("C:\\to\\big.bin"), source);
  alone();
  EXPECT_EQ(content("C:\\to\\big.bin"), source);
}

// The log of a tree comparison is saved the same way: a failed save says why and where,
// shows nothing, and the last log stays.
TEST(LogFaults, ALogSaveThatFailsKeepsTheLastLog) {
  TestProgram p;
  p.drives.write_file("C:\\tenzor.log", "the last log");
  p.tz.globals().GLB_mismatch_text = "\r\nOnly in tree 1: C:\\a\\x";
  Results results{p.tz.context()};
  const std::pair<Stage, const char*> cases[] = {{Stage::create_temp, "Error 61 - Disk full"},
                                                 {Stage::data, "Error 61 - Disk full"},
                                                 {Stage::flush, "Error 57 - Device I/O error"},
                                                 {Stage::rename, "Error 57 - Device I/O error"}};
  for (const auto& [stage, message] : cases) {
    faults::arm(stage, nullptr, 5);
    p.dialogs.expect(message + QStringLiteral("\r\ntenzor.log could not be saved in the folder ") +
                     p.drives.host(u'C'));
    results.b_save_notepad_Click();
    EXPECT_TRUE(faults::fired());
    faults::disarm();
    EXPECT_EQ(p.drives.content("C:\\tenzor.log"), "the last log");
    EXPECT_EQ(QDir(p.drives.host_path("C:\\")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"tenzor.log"});
  }
  EXPECT_TRUE(p.processes.opened.empty());
}

}  // namespace
}  // namespace tz::test
