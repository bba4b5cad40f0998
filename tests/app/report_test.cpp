#include "app/report.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/file_error.h"
#include "support/hostile_names.h"
#include "support/raw_files.h"
#include "support/test_program.h"
#include "support/tree_snapshot.h"

namespace tz::test {
namespace {

// Names no drive-form path reaches.
const QSet<QByteArray> unreachable = {"back\\slash.txt", "caf\xE9.txt"};

// The bytes `printf '%b'` makes of a name's field: the escapes the report writes undone.
// In a path, a backslash is kept unless one of those escapes begins with it.
QByteArray unescaped(const QByteArray& field, bool path = false) {
  QByteArray bytes;
  for (qsizetype i = 0; i < field.size(); ++i) {
    const char next = i + 1 < field.size() ? field[i + 1] : '\0';
    if (field[i] != '\\' || !QByteArray(path ? "tnrx" : "tnrx\\").contains(next)) {
      bytes += field[i];
    } else if (next == 'x') {
      bytes += static_cast<char>(field.mid(i + 2, 2).toInt(nullptr, 16));
      i += 3;
    } else {
      bytes += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
      ++i;
    }
  }
  return bytes;
}

class Report : public ::testing::Test {
 protected:
  Report() {
    p.drives.write_file("C:\\one\\only1.txt", "a", 1'700'000'000);
    p.drives.write_file("C:\\one\\Same.txt", "s", 1'700'000'000);
    p.drives.write_file("C:\\one\\new1.txt", "n", 1'700'000'100);
    p.drives.write_file("D:\\two\\same.txt", "s", 1'700'000'001);
    p.drives.write_file("D:\\two\\new1.txt", "n", 1'700'000'000);
    p.drives.write_file("D:\\two\\b2.txt", "b", 1'700'000'000);
    p.drives.write_file("D:\\two\\a2.txt", "a", 1'700'000'000);
  }
  int run(const QString& line, ReportOptions options = {}) {
    p.facts.line = line;
    out.clear();
    return run_report(p.tz, options, {}, out);
  }
  QByteArray root() const { return p.drives.folder(); }
  // A file or directory by its exact bytes, relative to the drives' folder: the drive
  // helpers take text.
  void make(const QByteArray& relative, bool dir) {
    if (dir) return make_raw_dir(root() + '/' + relative);
    write_raw(root() + '/' + relative);
  }

  TestProgram p;
  QByteArray out;
};

// A script acts on the names it reads: they must reach the files as they are on disk,
// not as the lists show them. Aligned files are written only when asked for; times alone
// differing is a difference.
TEST_F(Report, WritesEachFileByItsExactNameDir1sWhereBothExistInListOrder) {
  p.drives.write_file("C:\\one\\Only.TXT", "o", 1'700'000'000);
  p.drives.write_file("C:\\one\\Pair.TXT", "p", 1'700'000'000);
  p.drives.write_file("D:\\two\\pAIR.txt", "p", 1'700'000'100);
  const QByteArray all =
      "only in dir 1\tOnly.TXT\n"
      "only in dir 1\tonly1.txt\n"
      "newer in dir 1\tnew1.txt\n"
      "aligned\tSame.txt\n"
      "newer in dir 2\tPair.TXT\n"
      "only in dir 2\ta2.txt\n"
      "only in dir 2\tb2.txt\n";
  EXPECT_EQ(run("C:\\one | D:\\two", {.all = true}), report_status::differs);
  EXPECT_EQ(out, all);
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::differs);
  EXPECT_EQ(out, QByteArray(all).replace("aligned\tSame.txt\n", ""));

  for (const char* gone :
       {"C:\\one\\only1.txt", "C:\\one\\Only.TXT", "D:\\two\\b2.txt", "D:\\two\\a2.txt"})
    ASSERT_TRUE(QFile::remove(p.drives.host_path(gone)));
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::differs);
  EXPECT_EQ(out, "newer in dir 1\tnew1.txt\nnewer in dir 2\tPair.TXT\n");
  p.drives.set_mtime("D:\\two\\new1.txt", 1'700'000'100);
  p.drives.set_mtime("C:\\one\\Pair.TXT", 1'700'000'100);
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::aligned);
  EXPECT_EQ(out, "");
}

// One line, one whole name, and `printf '%b'` gives the exact bytes back; records ended
// by NUL hold them as they are. The command's own test reads them back and sees that
// nothing is written.
TEST_F(Report, NamesALineCannotHoldAreEscapedAndRecordsEndedByNulHoldThemAsTheyAre) {
  p.drives.make_dir("C:\\esc");
  p.drives.make_dir("D:\\none");
  QList<QByteArray> records;
  for (const QByteArray& name :
       {QByteArray("a\tb"), QByteArray("c\nd"), QByteArray("e\\f"), QByteArray("caf\xE9"),
        QByteArray("g\rh"), QByteArray("k\x01\x1F\x7Fl"), QByteArray("m\xC2\x85n"),
        QByteArray("\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80"), QByteArray("p\xE2\x82"),
        QByteArray("q\xC0\xAF")}) {
    make("C/esc/" + name, false);
    records.append("only in dir 1\t" + name);
  }
  const auto sorted = [this](char end) {
    QList<QByteArray> lines = out.split(end);
    EXPECT_EQ(lines.takeLast(), "");
    std::sort(lines.begin(), lines.end());
    return lines;
  };
  EXPECT_EQ(run("C:\\esc | D:\\none"), report_status::differs);
  EXPECT_EQ(
      sorted('\n'),
      (QList<QByteArray>{"only in dir 1\ta\\tb", "only in dir 1\tc\\nd", "only in dir 1\tcaf\\xE9",
                         "only in dir 1\te\\\\f", "only in dir 1\tg\\rh",
                         "only in dir 1\tk\\x01\\x1F\\x7Fl", "only in dir 1\tm\\xC2\\x85n",
                         "only in dir 1\tp\\xE2\\x82", "only in dir 1\tq\\xC0\\xAF",
                         "only in dir 1\t\xC3\xBC \xE2\x82\xAC \xF0\x9F\x98\x80"}));
  EXPECT_EQ(run("C:\\esc | D:\\none", {.null_terminated = true}), report_status::differs);
  std::sort(records.begin(), records.end());
  EXPECT_EQ(sorted('\0'), records);
}

TEST_F(Report, PairsThatCannotBeComparedOrStopEarlyAnswerTwo) {
  p.dialogs.expect("Invalid call line format.\r\nUsage: <drive:\\path 1> | <drive:\\path 2> ");
  EXPECT_EQ(run("C:\\one D:\\two"), report_status::refused);
  p.dialogs.expect("Directory not found or disk drive not ready (C:\\one\\only1.txt | D:\\two)");
  EXPECT_EQ(run("C:\\one\\only1.txt | D:\\two"), report_status::refused);
  p.dialogs.expect_starting("dir1 and dir2 are equal");
  EXPECT_EQ(run("C:\\one | c:\\ONE"), report_status::refused);
  EXPECT_EQ(out, "");
  // Nor is a comparison that stopped early.
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path.endsWith("new1.txt")) throw FileError(err::file_not_found);
  };
  p.dialogs.expect_starting(
      "The comparison stopped at C:\\one\\new1.txt\r\nError: 53 - File not found");
  p.dialogs.expect("The comparison stopped early: a file could not be read. No report was made.");
  EXPECT_EQ(run("C:\\one | D:\\two"), report_status::refused);
  EXPECT_EQ(out, "");
}

// Trees: the one-sided branches first, then each branch that differs, in the order the
// step-through meets them; nothing is created.
TEST_F(Report, TreesGiveTheirOneSidedBranchesThenEachBranchThatDiffers) {
  const QString trees = QString::fromUtf8("C:\\one \xC2\xA7 D:\\two");
  p.drives.make_dir("C:\\one\\x");
  p.drives.make_dir("D:\\two\\z");
  p.drives.write_file("C:\\one\\Sub\\f.txt", "f", 1'700'000'000);
  p.drives.write_file("D:\\two\\sub\\f.txt", "f", 1'700'000'000);
  p.drives.write_file("D:\\two\\sub\\g.txt", "g", 1'700'000'000);
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  EXPECT_EQ(run(trees, {.all = true}), report_status::differs);
  QByteArray lines = out;
  EXPECT_TRUE(
      lines.startsWith("Only in tree 1: C:\\one\\x\nOnly in tree 2: D:\\two\\z\n"
                       "== C:\\one <-> D:\\two\n"
                       "only in dir 1\tonly1.txt\n"))
      << out.toStdString();
  EXPECT_TRUE(
      lines.endsWith("== C:\\one\\Sub <-> D:\\two\\sub\n"
                     "aligned\tf.txt\n"
                     "only in dir 2\tg.txt\n"))
      << out.toStdString();
  EXPECT_FALSE(QFileInfo::exists(p.drives.host_path("D:\\two\\x")));

  // Aligned trees answer 0 with no line at all.
  p.drives.make_dir("D:\\two\\x");
  p.drives.make_dir("C:\\one\\z");
  for (const char* gone : {"C:\\one\\only1.txt", "C:\\one\\new1.txt", "D:\\two\\b2.txt",
                           "D:\\two\\a2.txt", "D:\\two\\new1.txt", "D:\\two\\sub\\g.txt"})
    ASSERT_TRUE(QFile::remove(p.drives.host_path(gone)));
  EXPECT_EQ(run(trees), report_status::aligned);
  EXPECT_EQ(out, "");

  // A branch that cannot be compared leaves the answer incomplete.
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path.endsWith("sub\\f.txt")) throw FileError(err::device_io);
  };
  p.dialogs.expect_starting("The comparison stopped at D:\\two\\sub\\f.txt");
  EXPECT_EQ(run(trees), report_status::refused);
  p.fs.fault = {};
  ASSERT_TRUE(QDir().rmdir(p.drives.host_path("D:\\two\\x")));  // said: the results are asked for

  // The walk's listings stand for the comparisons only in the directories they listed: a
  // branch or a tree put in another's place once the walk is over is compared, or said,
  // as it is now. Moved aside when the results are asked for, and made again with g.txt.
  QString replaced = "D:\\two\\sub";
  QObject::connect(&p.tz.window(), &WindowModel::results_requested, [&] {
    const QString host = p.drives.host_path(replaced);
    ASSERT_TRUE(QDir().rename(host, host + ".old"));
    p.drives.write_file(replaced + "\\g.txt", "g", 1'700'000'000);
  });
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  EXPECT_EQ(run(trees), report_status::differs);
  EXPECT_TRUE(
      out.endsWith("== C:\\one\\Sub <-> D:\\two\\sub\n"
                   "only in dir 1\tf.txt\n"
                   "only in dir 2\tg.txt\n"))
      << out.toStdString();
  ASSERT_TRUE(QDir(p.drives.host_path(replaced) + ".old").removeRecursively());
  // The trees' roots held since the walk are no longer where their paths lead.
  replaced = "D:\\two";
  p.dialogs.expect("Path D:\\two\\x does not exist. Do you want to create it?", Answer::No);
  // Said for each pair the walk found: the roots, Sub and z.
  for (int i = 0; i < 3; ++i) p.dialogs.expect("Directory not found or disk drive not ready.");
  EXPECT_EQ(run(trees), report_status::refused);
  EXPECT_EQ(out, "Only in tree 1: C:\\one\\x\n");
}

// Names a shell, a parser or a line-based reader would take for something else, through
// the tree report: each directory is one line, each file one record, and the report
// changes nothing on disk. (Files' names alone: above and the command's own test.)
// Each hostile directory stands in tree 1 alone (below solo) and in both trees (below
// both), holding a file of its name in tree 1 only. Paths are written as shown, so its
// name, after the path of its parent, reads back with the line's escapes undone.
TEST_F(Report, EachHostileDirectoryIsOneLineOfTheTreeReportAndEachFileOneRecord) {
  for (const char* dir : {"C/one", "D/two"}) remove_raw_tree(root() + '/' + dir);
  for (const char* dir : {"C/one", "D/two", "C/one/solo", "D/two/solo", "C/one/both", "D/two/both"})
    make(dir, true);
  // Written with NUL, a path is the text shown, without escapes.
  QSet<QByteArray> names, shown_names, reachable;
  for (const QByteArray& name : hostile_names) {
    make("C/one/solo/" + name, true);
    make("C/one/both/" + name, true);
    make("D/two/both/" + name, true);
    make("C/one/both/" + name + '/' + name, false);
    names.insert(name);
    shown_names.insert(display_name(name).toUtf8());
    if (!unreachable.contains(name)) reachable.insert(name);
  }
  const TreeSnapshot before(root());
  for (const bool nul : {false, true}) {
    SCOPED_TRACE(nul ? "records ended by NUL" : "lines");
    for (size_t i = 0; i < std::size(hostile_names); ++i)
      p.dialogs.expect_starting("Path D:\\two\\solo\\", Answer::No);
    for (int i = 0; i < unreachable.size(); ++i) p.dialogs.expect_starting("C:\\one\\both\\");
    // A branch its path cannot reach is not compared, which leaves the answer incomplete.
    EXPECT_EQ(run(QString::fromUtf8("C:\\one \xC2\xA7 D:\\two"), {.null_terminated = nul}), 2);
    QSet<QByteArray> solo, both;
    QList<QByteArray> lines = out.split(nul ? '\0' : '\n');
    EXPECT_EQ(lines.takeLast(), "");
    // One line for each directory alone, two (the pair and its one file) for each pair.
    EXPECT_EQ(lines.size(), names.size() + 2 * reachable.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const QByteArray& line = lines[i];
      if (line.startsWith("Only in tree 1: C:\\one\\solo\\")) {
        solo.insert(nul ? line.mid(28) : unescaped(line.mid(28), true));
      } else if (line.startsWith("== C:\\one\\both\\") && i + 1 < lines.size()) {
        const QByteArray record = lines[++i];
        ASSERT_TRUE(record.startsWith("only in dir 1\t")) << record.constData();
        const QByteArray name = nul ? record.mid(14) : unescaped(record.mid(14));
        EXPECT_EQ(line,
                  "== C:\\one\\both\\" + record.mid(14) + " <-> D:\\two\\both\\" + record.mid(14));
        both.insert(name);
      } else {
        ADD_FAILURE() << "unexpected line " << line.constData();
      }
    }
    EXPECT_EQ(solo, nul ? shown_names : names);
    EXPECT_EQ(both, reachable);
  }
  const std::vector<QString> boxes = p.dialogs.texts();
  for (const QString shown : {"C:\\one\\both\\back\\slash.txt", "C:\\one\\both\\caf\\xE9.txt"}) {
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(),
                         shown + " cannot be opened by its path: a name in it holds a backslash or "
                                 "bytes that are not UTF-8. Its files were not compared."),
              2);
  }
  EXPECT_TRUE(TreeSnapshot(root()).changed_since(before).isEmpty());
}

}  // namespace
}  // namespace tz::test
