// Names a shell, a parser or a line-based reader would take for something else, through
// the report: each file is one record that gives back its exact bytes, each directory one
// line, and the report changes nothing on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <map>

#include "app/report.h"
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

class HostileReport : public ::testing::Test {
 protected:
  QByteArray root() const { return p.drives.folder(); }
  // A file or directory by its exact bytes, relative to the drives' folder.
  void make(const QByteArray& relative, bool dir, qint64 mtime = TestProgram::t0) {
    if (dir) return make_raw_dir(root() + '/' + relative);
    write_raw(root() + '/' + relative, "x", mtime);
  }
  int run(const QString& line, ReportOptions options) {
    p.facts.line = line;
    out.clear();
    return run_report(p.tz, options, {}, out);
  }

  TestProgram p;
  QByteArray out;
};

// Each name stands in one list, in turn: only in dir 1, newer in dir 1, aligned, newer
// in dir 2, only in dir 2.
TEST_F(HostileReport, EachFileIsOneRecordOfItsListThatGivesBackItsExactName) {
  make("C/one", true);
  make("D/two", true);
  const char* captions[] = {"only in dir 1", "newer in dir 1", "aligned", "newer in dir 2",
                            "only in dir 2"};
  std::multimap<QByteArray, QByteArray> expected;  // name, caption
  for (int i = 0; i < static_cast<int>(std::size(hostile_names)); ++i) {
    const QByteArray& name = hostile_names[i];
    const int list = i % 5;
    if (list < 4) make("C/one/" + name, false, TestProgram::t0 + (list == 1 ? 60 : 0));
    if (list > 0) make("D/two/" + name, false, TestProgram::t0 + (list == 3 ? 60 : 0));
    expected.emplace(name, captions[list]);
  }
  const TreeSnapshot before(root());
  for (const bool nul : {false, true}) {
    SCOPED_TRACE(nul ? "records ended by NUL" : "lines");
    EXPECT_EQ(run("C:\\one | D:\\two", {.all = true, .null_terminated = nul}), 1);
    QList<QByteArray> records = out.split(nul ? '\0' : '\n');
    EXPECT_EQ(records.takeLast(), "");
    std::multimap<QByteArray, QByteArray> found;
    for (const QByteArray& record : records) {
      const qsizetype tab = record.indexOf('\t');
      const QByteArray field = record.mid(tab + 1);
      if (!nul) {
        for (const char c : field) EXPECT_GE(static_cast<uchar>(c), 0x20) << record.constData();
      }
      found.emplace(nul ? field : unescaped(field), record.left(tab));
    }
    EXPECT_EQ(found, expected);
  }
  EXPECT_TRUE(TreeSnapshot(root()).changed_since(before).isEmpty());
}

// Each hostile directory stands in tree 1 alone (below solo) and in both trees (below
// both), holding a file of its name in tree 1 only. Paths are written as shown, so its
// name, after the path of its parent, reads back with the line's escapes undone.
TEST_F(HostileReport, EachDirectoryIsOneLineOfTheTreeReportAndEachFileOneRecord) {
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
