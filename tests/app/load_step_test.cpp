#include "app/load_step.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "core/startup.h"
#include "history/history.h"
#include "platform/file_error.h"
#include "support/test_program.h"
#include "tree/tree_comparison.h"

namespace tz::test {
namespace {

class LoadStep : public ::testing::Test {
 protected:
  LoadStep() : p({u'C', u'D'}, {u'E'}) {
    p.drives.make_dir("C:\\work");
    p.drives.write_file("C:\\work\\a.txt", "1");
    p.drives.write_file("C:\\work\\b.txt", "1");
    p.drives.make_dir("D:\\copy");
    p.drives.write_file("D:\\copy\\a.txt", "1");
    p.drives.write_file("C:\\file.txt", "x");
    p.facts.cwd = "C:\\work";
  }
  void load(const QString& line) {
    p.facts.line = line;
    load_form(p.tz);
  }
  QStringList list(int n) { return p.list(n); }
  QString panes() { return p.tz.window().pane1.path() + " | " + p.tz.window().pane2.path(); }

  TestProgram p;
};

// Each is said, and the program ends before its window shows.
TEST_F(LoadStep, ALineThatCannotBeOpenedIsExplainedAndEnds) {
  QSignalSpy shown(&p.tz.window(), &WindowModel::show_requested);
  // A folder that is there but closed to this user is no missing folder. (As root
  // nothing is closed: the refusal is injected; the platform's own tests read a real one.)
  p.fs.fault = [](const QString&, const QString& path) {
    if (path.startsWith("D:\\copy", Qt::CaseInsensitive)) throw FileError(err::permission_denied);
  };
  const struct {
    const char* line;
    QStringList said;
  } cases[] = {
      {"C:\\work D:\\copy",
       {"Invalid call line format.\r\nUsage: <drive:\\path 1> | <drive:\\path 2> "}},
      {"C:\\work | D:\\copy", {"Path cannot be reached: D:\\copy (70 Permission denied)"}},
      // A drive without a medium, then the path on it.
      {"C:\\work | E:\\copy", {"71 Disk not ready", "Path does not exist: E:\\copy"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    for (const QString& text : c.said) p.dialogs.expect(text);
    EXPECT_THROW(load(c.line), ProgramEnded);
  }
  EXPECT_EQ(p.exit.ends, 3);
  EXPECT_EQ(shown.count(), 0);
}

// On large directories reading the panes' files takes a while: the window shows first,
// and the comparison that follows reads each file once, for the lists and for the
// panes' file boxes.
TEST_F(LoadStep, TheWindowShowsFirstAndEachFileIsReadOnce) {
  p.drives.make_dir("C:\\work\\sub");
  p.drives.make_dir("C:\\work\\.cache");
  size_t files_when_shown = 99;
  QStringList rows_when_shown;
  QObject::connect(&p.tz.window(), &WindowModel::initial_layout_requested, [&] {
    files_when_shown = p.tz.window().pane1.file_entries().size();
    rows_when_shown = p.tz.window().pane1.rows();
  });
  int listings = 0;
  p.fs.fault = [&listings](const QString& op, const QString& path) {
    if (op == "list" && path == "C:\\work\\*.*") ++listings;
  };
  QSignalSpy shown(&p.tz.window(), &WindowModel::show_requested);
  QSignalSpy geometry(&p.tz.window(), &WindowModel::geometry_requested);
  // Its status is the event loop's; a window closed during the first comparison ends
  // without one (the closing tests).
  p.facts.line = "  C:\\work | d:\\COPY ";
  EXPECT_EQ(load_and_run(p.tz, {}, [] { return 7; }), 7);
  EXPECT_EQ(shown.count(), 1);
  ASSERT_EQ(geometry.count(), 1);
  // Centred on a 19200 x 14400 twips screen.
  EXPECT_EQ(geometry[0], (QVariantList{4792, 3585, 9615, 7230}));
  EXPECT_EQ(p.tz.window().pane2.path(), "D:\\copy");
  EXPECT_FALSE(p.tz.globals().GLB_loading);
  EXPECT_FALSE(p.tz.window().m_close.visible());
  EXPECT_EQ(p.tz.globals().GLB_command_line, "C:\\work | d:\\COPY");
  EXPECT_EQ(files_when_shown, 0u);
  EXPECT_EQ(rows_when_shown, (QStringList{"C:\\", "C:\\work"}));
  EXPECT_EQ(p.tz.window().pane1.rows(),
            (QStringList{"C:\\", "C:\\work", "C:\\work\\.cache", "C:\\work\\sub"}));
  EXPECT_EQ(listings, 1);
  EXPECT_EQ(list(1), QStringList{"b.txt"});
  EXPECT_EQ(list(5), QStringList{"a.txt"});
  const std::vector<Entry>& files = p.tz.window().pane1.file_entries();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].text, "a.txt");
  EXPECT_EQ(files[1].side1->name, "b.txt");
  EXPECT_EQ(p.tz.window().pane2.files(), QStringList{"a.txt"});

  // With no comparison to run, the file view shows the files.
  load("C:\\work | C:\\work");
  EXPECT_EQ(list(1), (QStringList{"a.txt", "b.txt"}));
  EXPECT_EQ(list(2), (QStringList{"a.txt", "b.txt"}));
  EXPECT_EQ(p.tz.window().lab_list1.caption(), "files in dir 1");
  // A path naming a file falls back to the current drive's root.
  p.dialogs.expect("Directory not found or disk drive not ready (C:\\file.txt | D:\\copy)");
  load("C:\\file.txt | D:\\copy");
  EXPECT_EQ(panes(), "C:\\ | C:\\");
  EXPECT_FALSE(p.tz.globals().GLB_loading);

  // A file that cannot be read stops the comparison, which says so; the readable pair
  // stays open, its lists empty.
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path == "D:\\copy\\a.txt") throw FileError(err::device_io);
  };
  p.dialogs.expect_starting("The comparison stopped at D:\\copy\\a.txt\r\n");
  load("C:\\work | D:\\copy");
  EXPECT_EQ(panes(), "C:\\work | D:\\copy");
  EXPECT_EQ(p.tz.globals().GLB_path2, "D:\\copy\\");
  for (int n = 1; n <= 5; ++n) EXPECT_TRUE(list(n).isEmpty()) << n;
  EXPECT_EQ(p.exit.ends, 0);
}

// The pair a user names is the pair opened; the newest pair of the history stands in for
// an empty line (when both of its directories are there) and gives a lone folder its
// dir 2.
TEST(LoadStepPair, TheNamedPairWinsAndTheHistoryFillsWhatIsNotNamed) {
  const QString tree = QString::fromUtf8("C:\\one \xC2\xA7 D:\\copy");
  const struct {
    const char* history;
    QString line;
    QStringList args;
    const char* pane1;
    const char* pane2;
  } cases[] = {
      {"C:\\a <-> D:\\two", "C:\\one | D:\\copy", {}, "C:\\one", "D:\\copy"},
      {"C:\\a <-> D:\\two", tree, {}, "C:\\one", "D:\\copy"},
      {"C:\\a <-> D:\\two", "", {}, "C:\\a", "D:\\two"},
      {"C:\\gone <-> D:\\two", "", {}, "C:\\", "C:\\"},
      {"", "", {}, "C:\\", "C:\\"},
      // Folders from the launcher, passed as their host paths.
      {"C:\\a <-> D:\\two", "", {"C:\\one", "C:\\a"}, "C:\\one", "C:\\a"},
      {"C:\\a <-> D:\\two", "", {"C:\\one"}, "C:\\one", "D:\\two"},
      {"C:\\a <-> D:\\gone", "", {"C:\\one"}, "C:\\one", "C:\\one"},
      {"", "", {"C:\\one"}, "C:\\one", "C:\\one"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.line + c.args.join(u' ') + " / " + c.history).toStdString());
    TestProgram p;
    for (const char* dir : {"C:\\one", "C:\\a", "D:\\two", "D:\\copy"}) p.drives.make_dir(dir);
    if (*c.history)
      p.drives.write_file("C:\\windows\\temp\\tenzor_his.tmp", QByteArray(c.history) + "\r\n");
    start_up(p.tz.context());
    p.facts.line = c.line;
    for (const QString& folder : c.args) p.facts.args.append(p.drives.host_path(folder));
    const DriveTable table = p.drives.table();
    load_form(p.tz, [&table](const QString& native) { return table.to_drive_form(native); });
    EXPECT_EQ(p.tz.window().pane1.path(), c.pane1);
    EXPECT_EQ(p.tz.window().pane2.path(), c.pane2);
    EXPECT_EQ(p.tz.globals().GLB_tree_mode, c.line == tree);
    EXPECT_FALSE(p.tz.globals().GLB_loading);
    // Two directories are compared at once, a tree's roots as a pair when it has no branch.
    EXPECT_EQ(p.tz.window().lab_list1.caption(),
              QString(c.pane1) == c.pane2 ? "files in dir 1" : "only in dir 1");
    // Opening a pair at start records nothing.
    EXPECT_EQ(p.tz.window().history.count(), *c.history ? 1 : 0);
    EXPECT_EQ(p.exit.ends, 0);
  }
}

// The hooks the program wires between its features: a tree comparison records its roots
// in the history once, and none of its branches.
TEST(Tenzor, ATreeComparisonRecordsItsRootsInTheHistoryOnceAndNoBranch) {
  TestProgram p;
  for (const char* dir : {"C:\\one\\s", "D:\\two\\s", "C:\\windows"}) p.drives.make_dir(dir);
  start_up(p.tz.context());
  p.drives.write_file("C:\\one\\s\\f.txt", "f");
  p.open_panes("C:\\one", "D:\\two");
  p.tz.tree().bot_compare_tree_Click();  // stops at s
  EXPECT_EQ(p.tz.window().history.texts(), QStringList{History::entry_text("C:\\one", "D:\\two")});
  p.dialogs.expect("End of tree comparison.");
  p.tz.tree().b_next_alignment_Click();
  EXPECT_EQ(p.tz.window().history.count(), 1);
}

}  // namespace
}  // namespace tz::test
