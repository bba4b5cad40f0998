#include "history/history.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <csignal>

#include "compare/comparison.h"
#include "compare/panes.h"
#include "core/startup.h"
#include "platform/file_error.h"
#include "support/history_program.h"
#include "support/hostile_names.h"
#include "support/raw_files.h"

namespace tz::test {
namespace {

// The history in its file under the test's Windows directory (C:\windows).
class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() {
    for (const char* dir : {"C:\\one", "C:\\a", "D:\\two", "C:\\windows"}) p.drives.make_dir(dir);
    start_up(p.tz);
    p.tz.globals().GLB_loading = false;
  }
  History& history() { return p.tz.history(); }
  HistoryList& list() { return p.tz.window().history; }
  QString file_path() { return QFile::decodeName(p.tz.globals().GLB_history_file); }
  QByteArray file() { return file_content(file_path()); }
  void write_file(const QByteArray& bytes) {
    QFile f(file_path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  HistoryProgram p;
};

TEST_F(HistoryTest, RecordingPutsThePaddedPairOnTopOnceAndKeepsThirty) {
  p.compare("C:\\one", "D:\\two");
  p.compare("C:\\a", "D:\\two");
  const QString padded = "C:\\a" + QString(31, u' ') + " <-> D:\\two";
  EXPECT_EQ(list().texts(), (QStringList{padded, "C:\\one" + QString(29, u' ') + " <-> D:\\two"}));
  // The same pair in other letter case: one entry, on top, spelt as the latest.
  ASSERT_TRUE(QFile::rename(p.drives.host_path("C:\\one"), p.drives.host_path("C:\\ONE")));
  p.compare("C:\\ONE", "D:\\two");
  EXPECT_EQ(list().count(), 2);
  EXPECT_TRUE(list().text(0).startsWith("C:\\ONE "));

  // 40 lines load as they are; the next recording keeps the 29 newest and itself.
  QByteArray forty;
  for (int i = 0; i < 40; ++i) forty += "C:\\old" + QByteArray::number(i) + " <-> D:\\two\r\n";
  write_file(forty);
  history().load();
  EXPECT_EQ(list().count(), 40);
  p.compare("C:\\a", "D:\\two");
  EXPECT_EQ(list().count(), 30);
  EXPECT_EQ(list().text(0), padded);
  EXPECT_EQ(list().text(29), "C:\\old28 <-> D:\\two");
}

TEST_F(HistoryTest, AnyBytesLoadAndOpenHarmlessly) {
  write_file(QByteArray("C:\\x\0y <-> D:\\two\r\n", 19) + "caf\xE9 <-> D:\\two\n" + "no separator");
  history().load();
  ASSERT_EQ(list().count(), 3);
  EXPECT_EQ(list().text(2), "no separator");
  history().m_history_Click();
  list().set_selected(0);
  p.dialogs.expect_starting("Bad path: C:\\x");
  history().m_select_Click();
  EXPECT_TRUE(history().view_visible());
  history().history_DblClick(2);  // nothing to open
  EXPECT_TRUE(history().view_visible());

  // A history that cannot be read is an empty history, without a word.
  ASSERT_TRUE(QFile::remove(file_path()));
  p.drives.make_dir("C:\\windows\\temp\\tenzor_his.tmp");
  history().load();
  EXPECT_EQ(list().count(), 0);
}

TEST_F(HistoryTest, ViewDeletesAndClearsPairs) {
  p.dialogs.expect("No history data available.");
  history().m_history_Click();
  EXPECT_FALSE(history().view_visible());

  p.compare("C:\\a", "D:\\two");
  p.compare("C:\\one", "D:\\two");
  WindowModel& w = p.tz.window();
  history().m_history_Click();
  EXPECT_TRUE(w.history_box.visible() && w.m_close.visible() && w.m_clear_all.visible());
  EXPECT_FALSE(w.m_file.visible() || w.m_history.visible());
  EXPECT_EQ(list().selected(), 0);
  history().m_delete_Click();
  EXPECT_EQ(list().count(), 1);
  p.dialogs.expect("No record is selected.");
  history().m_delete_Click();
  // Deleting the last entry leaves the view.
  list().set_selected(0);
  history().m_delete_Click();
  EXPECT_FALSE(history().view_visible());
  EXPECT_TRUE(w.m_history.visible());
  EXPECT_EQ(file(), "");

  p.compare("C:\\one", "D:\\two");
  history().m_history_Click();
  history().m_clear_all_Click();
  EXPECT_EQ(list().count(), 0);
  EXPECT_EQ(file(), "");
  EXPECT_FALSE(history().view_visible());
}

// A save cut short half-way, as by a full disk, says so once and leaves the old file
// whole and no partial file beside it.
TEST_F(HistoryTest, ASaveCutShortKeepsTheOldFileWhole) {
  p.compare("C:\\one", "D:\\two");
  const QByteArray before = file();
  QStringList long_pairs;
  for (int i = 0; i < 29; ++i) long_pairs << "C:\\" + QString(200, u'x') + QString::number(i);
  list().assign(long_pairs);
  rlimit usual{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &usual), 0);
  rlimit small = usual;
  small.rlim_cur = 4096;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  p.dialogs.expect("The history could not be saved to " + file_path() +
                   "\r\nError: 61 - Disk full\r\nThe comparison goes on; the history is kept "
                   "until the program ends.");
  p.compare("C:\\a", "D:\\two");
  setrlimit(RLIMIT_FSIZE, &usual);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(file(), before);
}

// The history file by its native path, wherever the data folder lies: here outside
// every drive, with a `\` in a name, below folders that do not exist yet. Each line is
// decoded on its own. A file that cannot be read is never replaced; a save that fails
// is said once, with the file and the reason, and the comparisons go on.
TEST_F(HistoryTest, TheFileIsReachedByItsNativePathAndNeverLost) {
  const QByteArray temp = p.drives.folder() + "/home/.local/sh\\are/tenzor/temp";
  p.facts.windows = p.drives.folder() + "/home/.local/sh\\are/tenzor";
  start_up(p.tz);
  p.tz.globals().GLB_loading = false;
  ASSERT_EQ(file_path(), QFile::decodeName(temp + "/tenzor_his.tmp"));
  write_file("C:\\\xC3\xBCn <-> D:\\two\r\n" + QByteArray(70'000, 'z') +
             "\r\nC:\\caf\xE9 <-> D:\\two\r\n");
  history().load();
  EXPECT_EQ(list().texts(), (QStringList{"C:\\\u00FCn <-> D:\\two", "C:\\caf\u00E9 <-> D:\\two"}));
  p.compare("C:\\one", "D:\\two");
  const QByteArray saved = History::entry_text("C:\\one", "D:\\two").toUtf8() +
                           "\r\nC:\\\xC3\xBCn <-> D:\\two\r\nC:\\caf\xC3\xA9 <-> D:\\two\r\n";
  EXPECT_EQ(file(), saved);

  p.fs.fault = [](const QString& operation, const QString&) {
    if (operation == "read_own_lines") throw FileError(err::permission_denied);
  };
  history().load();
  p.fs.fault = nullptr;
  p.dialogs.expect("The history file could not be read: " + file_path() +
                   "\r\nError: 70 - Permission denied\r\nIt is left as it is: the pairs "
                   "compared now are not saved in it.");
  p.compare("C:\\one", "D:\\two");
  p.compare("C:\\one", "D:\\two");
  EXPECT_EQ(file(), saved);

  // The folder replaced by a file: no save can succeed.
  history().load();
  ASSERT_EQ(::rename(temp.constData(), (temp + ".old").constData()), 0);
  write_raw(temp, "in the way");
  p.dialogs.expect("The history could not be saved to " + file_path() +
                   "\r\nError: 76 - Path not found\r\nThe comparison goes on; the history is "
                   "kept until the program ends.");
  p.compare("C:\\one", "D:\\two");
  p.compare("C:\\one", "D:\\two");
  EXPECT_EQ(list().count(), 3);
}

// Pairs whose paths hold names a parser or a line-based file would take for something
// else: each comes back from the history file, read by a new program instance, as the
// very pair compared, or is kept out of the history with its reason; the file and its
// other entries stay whole either way.
// Names no drive-form path reaches: the panes cannot open them, so they are never compared.
const QSet<QByteArray> unreachable = {"back\\slash.txt", "caf\xE9.txt"};
// Names the history cannot give back, by the side whose path ends in them.
const QSet<QByteArray> kept_out_as_dir1 = {"x <-> y.txt", "line\nbreak.txt",
                                           " blank at both ends "};
const QSet<QByteArray> kept_out_as_dir2 = {"line\nbreak.txt", " blank at both ends "};

struct Pair {
  QString path1, path2;
  QByteArray host1, host2;  // below the drives' folder
  bool kept_out;
};

QString kept_out_message(const Pair& pair) {
  return "The pair \"" + pair.path1 + " <-> " + pair.path2 +
         "\" was not added to the history, which cannot give back a path that holds a line "
         "break or ends in a blank, nor a dir 1 path that holds \" <-> \". The pair is "
         "compared all the same.";
}

TEST(HostileHistory, EachPairComesBackAsItselfOrIsKeptOutWithItsReason) {
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    HistoryProgram p;
    for (const char* dir : {"C:\\keep", "D:\\keep", "C:\\one", "D:\\two", "C:\\windows"})
      p.drives.make_dir(dir);
    const QByteArray drives = p.drives.folder();
    for (const char* drive : {"/C/", "/D/"})
      ASSERT_EQ(::mkdir((drives + drive + name).constData(), 0755), 0);
    start_up(p.tz);
    p.tz.globals().GLB_loading = false;
    p.compare("C:\\keep", "D:\\keep");
    QStringList recorded{History::entry_text("C:\\keep", "D:\\keep")};
    QList<Pair> opened{{"C:\\keep", "D:\\keep", "C/keep", "D/keep", false}};

    // Dir 1's path ends in the name, then dir 2's.
    const QString shown = display_name(name);
    for (const Pair& pair :
         {Pair{"C:\\" + shown, "D:\\two", "C/" + name, "D/two", kept_out_as_dir1.contains(name)},
          Pair{"C:\\one", "D:\\" + shown, "C/one", "D/" + name, kept_out_as_dir2.contains(name)}}) {
      if (unreachable.contains(name)) {
        EXPECT_THROW(p.open_panes(pair.path1, pair.path2), FileError);
        continue;
      }
      if (pair.kept_out) {
        p.dialogs.expect(kept_out_message(pair));
      } else {
        recorded.prepend(History::entry_text(pair.path1, pair.path2));
        opened.prepend(pair);
      }
      p.compare(pair.path1, pair.path2);
    }
    EXPECT_EQ(p.tz.window().history.texts().join(u'|').toStdString(),
              recorded.join(u'|').toStdString());

    // A new instance reads the file back; each entry opens exactly its pair.
    FaultyFileSystem fs(p.drives.table());
    HistoryFeatures again(
        Services{fs, p.dialogs, p.pump, p.busy, p.clock, p.facts, p.processes, p.exit});
    start_up(again);
    again.history().load();
    again.globals().GLB_loading = false;
    EXPECT_EQ(again.window().history.texts().join(u'|').toStdString(),
              recorded.join(u'|').toStdString());
    for (int i = 0; i < std::min<qsizetype>(opened.size(), again.window().history.count()); ++i) {
      again.history().m_history_Click();
      again.window().history.set_selected(i);
      again.history().m_select_Click();
      for (int side : {1, 2}) {
        struct stat st;
        ASSERT_EQ(
            ::stat((drives + '/' + (side == 1 ? opened[i].host1 : opened[i].host2)).constData(),
                   &st),
            0);
        EXPECT_EQ(again.panes().directory_info(side).inode, st.st_ino) << "entry " << i;
      }
    }
  }
}

}  // namespace
}  // namespace tz::test
