// Pairs whose paths hold names a parser or a line-based file would take for something
// else: each comes back from the history file, read by a new program instance, as the
// very pair compared, or is kept out of the history with its reason; the file and its
// other entries stay whole either way.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include "compare/comparison.h"
#include "compare/panes.h"
#include "core/startup.h"
#include "history/history.h"
#include "platform/file_error.h"
#include "support/history_program.h"
#include "support/hostile_names.h"

namespace tz::test {
namespace {

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
