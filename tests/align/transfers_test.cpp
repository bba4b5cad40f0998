#include <sys/stat.h>

#include <QLocale>

#include "align/bulk_align.h"
#include "align_fixture.h"
#include "compare/panes.h"
#include "platform/file_error.h"

namespace tz::test {
namespace {

class Transfer : public AlignTest {};

// Every file a drop leaves is where a new comparison finds it, with the time it had.
TEST_F(Transfer, DropsMoveDeleteOrCopyAsTheirListsSay) {
  const auto inode = [&] {
    struct stat st {};
    ::stat(p.drives.native("C:\\one\\same.txt").constData(), &st);
    return st.st_ino;
  };
  const ino_t before = inode();
  // Lists take no drop from themselves, nor do "newer in" lists from any.
  for (int target : {5, 3, 4}) drop(5, "same.txt", target);
  EXPECT_EQ(inode(), before);
  drop(3, "new1.txt", 5);   // dir 1's newer copy over dir 2's
  drop(4, "new2.txt", 1);   // dir 2's newer copy deleted
  drop(2, "only2.txt", 1);  // moved into dir 1
  drop(1, "only1.txt", 2);  // moved into dir 2
  drop(5, "same.txt", 2);   // dir 1's copy deleted
  EXPECT_EQ(content("D:\\two\\new1.txt"), "newer in 1");
  EXPECT_EQ(content("C:\\one\\new2.txt") + content("C:\\one\\only2.txt"), "oldtwo");
  EXPECT_EQ(content("D:\\two\\only1.txt") + content("D:\\two\\same.txt"), "onesame");
  for (const char* gone :
       {"D:\\two\\only2.txt", "D:\\two\\new2.txt", "C:\\one\\only1.txt", "C:\\one\\same.txt"})
    EXPECT_FALSE(exists(gone)) << gone;
  const std::vector<QStringList> lists{
      {"new2.txt", "only2.txt"}, {"only1.txt", "same.txt"}, {}, {}, {"new1.txt"}};
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(p.list(n), lists[n - 1]) << n;
  EXPECT_FALSE(p.busy.busy);
  p.compare();
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(p.list(n), lists[n - 1]) << n;
}

// The file view has no comparison behind it: its entries are names, read as the drop
// finds them, and a name the other directory holds too was never "not there".
TEST_F(Transfer, FileViewDropsReadTheFileThenAndRefuseANameTakenOnTheOtherSide) {
  p.tz.panes().show_directory_files();
  p.dialogs.expect(
      "D:\\two\\same.txt already exists, and the directories have not been compared yet. "
      "Nothing was done: compare them to see which file is newer.");
  EXPECT_TRUE(touched_by([&] { drop(1, "same.txt", 2); }).isEmpty());
  drop(1, "only1.txt", 2);
  EXPECT_EQ(content("D:\\two\\only1.txt"), "one");
  EXPECT_FALSE(exists("C:\\one\\only1.txt"));
}

// A source that changes between its copy and its deletion stays, and the lists show both
// files where a new comparison puts them: the copy may hold less than the file now does.
TEST_F(Transfer, AMoveWhoseSourceChangedDuringTheCopyKeepsIt) {
  bool grown = false;
  p.fs.fault = [&](const QString& op, const QString& path) {
    if (grown || op != "info" || path != "C:\\one\\only1.txt") return;
    if (!exists("D:\\two\\only1.txt")) return;  // not copied yet
    grown = true;
    p.file(1, "only1.txt", "one, and more written since", t0 + 60);
  };
  p.dialogs.expect(
      "C:\\one\\only1.txt changed while it was being moved: the copy was made, and the file "
      "itself was kept. The lists show both files as they are now.");
  drop(1, "only1.txt", 2);
  EXPECT_EQ(content("C:\\one\\only1.txt"), "one, and more written since");
  EXPECT_EQ(content("D:\\two\\only1.txt"), "one");
  EXPECT_EQ(p.list(3), (QStringList{"new1.txt", "only1.txt"}));
  p.compare();
  EXPECT_EQ(p.list(3), (QStringList{"new1.txt", "only1.txt"}));
}

// A drop whose copy fails moves and deletes nothing. A full disk or a protected target is
// no failure another program could get past: no external copy is started for it, and a
// full disk is told as it is, with the file being written.
TEST_F(Transfer, ADropWhoseCopyFailsKeepsEveryFile) {
  const struct {
    int error;
    int source;
    const char* name;
    int target;
    const char* message;
    size_t started;  // external copies
  } cases[] = {
      {err::permission_denied, 1, "only1.txt", 2, "Unable to copy file \"C:\\one\\only1.txt\"", 1},
      {err::path_file_access, 2, "only2.txt", 1, "Unable to copy file \"D:\\two\\only2.txt\"", 0},
      {err::disk_full, 3, "new1.txt", 5, "ERROR 61: Disk full while copying D:\\TWO\\NEW1.TXT", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    p.fs.fault = [&c](const QString& op, const QString&) {
      if (op == "copy_file") throw FileError(c.error);
    };
    p.dialogs.expect(c.message);
    const size_t started = p.processes.starts.size();
    EXPECT_TRUE(touched_by([&] { drop(c.source, c.name, c.target); }).isEmpty());
    EXPECT_EQ(p.processes.starts.size() - started, c.started);
    EXPECT_TRUE(p.list(c.source).contains(c.name));
  }
  // A bulk alignment ends at a full disk the same way.
  p.dialogs.expect("ERROR 61: Disk full while copying D:\\TWO\\ONLY1.TXT");
  p.tz.bulk_align().bot_list_Click(ListId::List1);
  EXPECT_EQ(p.processes.starts.size(), 1u);
  EXPECT_EQ(p.list(1), QStringList{"only1.txt"});
}

TEST_F(Transfer, PointerOverAnEntryShowsItsFiles) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  // Local time in the German short form, worked out apart from the program.
  const QString when = QDateTime::fromSecsSinceEpoch(t0, Qt::LocalTime).toString("dd.MM.yy HH:mm");
  const QString& hint = p.tz.window().lab_drag_drop.caption();
  p.tz.transfers().list_mouse_move(ListId::List5, 0);
  EXPECT_EQ(hint, when + ", bytes 4 C:\\one\\same.txt\r\n" + when + ", bytes 4 D:\\two\\same.txt");
  p.tz.transfers().list_mouse_move(ListId::List2, 0);
  EXPECT_EQ(hint, when + ", bytes 3 D:\\two\\only2.txt");
  p.tz.transfers().list_mouse_move(ListId::List1, -1);  // below the last entry
  EXPECT_EQ(hint,
            "Drag/drop file names over file boxes to align or move files between the directories");
  // A file gone since the comparison: the hint stops where it could not read.
  QFile::remove(p.drives.host_path("D:\\two\\same.txt"));
  p.tz.transfers().list_mouse_move(ListId::List5, 0);
  EXPECT_EQ(hint, when + ", bytes 4 C:\\one\\same.txt");
  QLocale::setDefault(QLocale::system());
}

TEST_F(Transfer, OpenedFilesComeInTheirOrderTwoSecondsApartOrNotAtAllWhenGone) {
  std::vector<std::pair<QString, double>> opened;
  p.processes.on_open = [&](const QString& path) { opened.push_back({path, p.clock.now}); };
  const auto host = [this](const QString& drive_path) { return p.drives.host_path(drive_path); };
  drop(4, "new2.txt", open_target);  // both copies, dir 1's first
  drop(5, "same.txt", open_target);  // dir 1's copy only
  drop(2, "only2.txt", open_target);
  ASSERT_EQ(opened.size(), 4u);
  EXPECT_EQ(opened[0].first, host("C:\\one\\new2.txt"));
  EXPECT_EQ(opened[1].first, host("D:\\two\\new2.txt"));
  EXPECT_EQ(opened[2].first, host("C:\\one\\same.txt"));
  EXPECT_EQ(opened[3].first, host("D:\\two\\only2.txt"));
  // The pause follows every first file, whether a second comes or not.
  EXPECT_GE(opened[1].second - opened[0].second, 2.0);
  EXPECT_GE(opened[3].second - opened[2].second, 2.0);

  // A file gone since the comparison opens nothing.
  QFile::remove(host("D:\\two\\new1.txt"));
  p.dialogs.expect("Error: 53 - File not found");
  drop(3, "new1.txt", open_target);
  EXPECT_EQ(opened.size(), 4u);
}

}  // namespace
}  // namespace tz::test
