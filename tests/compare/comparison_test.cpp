// The comparison of two directories, and the matcher that pairs and sorts their names.
#include "compare/comparison.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <ctime>
#include <limits>

#include "compare/matcher.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "support/compare_program.h"

namespace tz::test {
namespace {

constexpr qint64 t0 = CompareProgram::t0;

class Compare : public ::testing::Test {
 protected:
  void SetUp() override {
    p.drives.make_dir("C:\\one");
    p.drives.make_dir("D:\\two");
  }

  CompareProgram p;
};

TEST_F(Compare, SortsEveryNameIntoItsListAndWarnsOfLengthsThatDecide) {
  p.file(1, "only1.txt", "a");
  p.file(2, "only2.txt", "b");
  p.file(1, "same.txt", "abc");
  p.file(2, "same.txt", "abc", t0 + 2);
  p.file(1, "Report.DOC", "abc");
  p.file(2, "report.doc", "abc");
  p.file(1, "later.txt", "a", t0 + 3);
  p.file(2, "later.txt", "abcdef");
  // Lengths 4 GiB apart look equal in 32 bits.
  p.file(1, "big1.txt", "");
  p.file(2, "big1.txt", "");
  ASSERT_EQ(::truncate(p.drives.native("C:\\one\\big1.txt"), (qint64(1) << 32) + 10), 0);
  ASSERT_EQ(::truncate(p.drives.native("D:\\two\\big1.txt"), 10), 0);
  p.drives.set_mtime("C:\\one\\big1.txt", t0);
  p.drives.set_mtime("D:\\two\\big1.txt", t0 - 2);
  p.file(1, "big2.txt", "ab");
  p.file(2, "big2.txt", "abcd");
  // Hidden files and subdirectories take no part.
  p.file(1, ".hidden", "x");
  p.drives.make_dir("D:\\two\\sub");
  // One length warning per pair that differs only in length, none for the others.
  p.dialogs.expect(
      "Warning! files BIG1.TXT have same date/time and different lengths!\n\n"
      "Bytes in dir 1:  4294967306\nBytes in dir 2:  10\n\n"
      "The larger one will be considered newer.");
  p.dialogs.expect(
      "Warning! files BIG2.TXT have same date/time and different lengths!\n\n"
      "Bytes in dir 1:  2\nBytes in dir 2:  4\n\nThe larger one will be considered newer.");

  p.compare();

  EXPECT_EQ(p.dialogs.box(0).icon, Icon::Exclamation);
  EXPECT_EQ(p.dialogs.box(0).title, "Tenzor");
  EXPECT_EQ(p.list(1), QStringList{"only1.txt"});
  EXPECT_EQ(p.list(2), QStringList{"only2.txt"});
  EXPECT_EQ(p.list(3), (QStringList{"big1.txt", "later.txt"}));
  EXPECT_EQ(p.list(4), QStringList{"big2.txt"});
  EXPECT_EQ(p.list(5), (QStringList{"report.doc", "same.txt"}));
  // Each side keeps its own exact name; a name both sides write alike is held once.
  const Entry& report = p.tz.window().List5.at(0);
  EXPECT_EQ(report.side1->name, "Report.DOC");
  EXPECT_EQ(report.side2->name, "report.doc");
  const Entry& same = p.tz.window().List5.at(1);
  EXPECT_TRUE(same.side1->name.isSharedWith(same.side2->name));
  EXPECT_TRUE(p.tz.globals().GLB_difference_found);
  EXPECT_EQ(p.tz.window().lab_list1.caption(), "only in dir 1");
  EXPECT_EQ(p.tz.window().lab_list3.caption(), "newer in dir 1");
  EXPECT_EQ(p.tz.window().lab_drag_drop.caption(),
            "Drag/drop file names over file boxes to align or move files between the directories");
  for (ListId id : aligned_by_button) EXPECT_TRUE(p.tz.window().align_button(id).visible());
  EXPECT_TRUE(p.tz.window().bot_cancel.enabled());
  EXPECT_FALSE(p.busy.busy);
}

// In the hour repeated when summer time ends, local wall-clock times run backwards:
// only times since the epoch tell which file is newer.
TEST_F(Compare, TimesAreComparedAsInstantsNotAsLocalWallClockTimes) {
  const ScopedEnv zone("TZ", "Europe/Berlin");
  const qint64 end_of_summer = 1'698'541'200;  // 2023-10-29 01:00 UTC, 03:00 CEST -> 02:00 CET
  p.file(1, "half.txt", "x", end_of_summer - 1800);  // 02:30 CEST
  p.file(2, "half.txt", "x", end_of_summer);         // 02:00 CET, 30 minutes later
  p.file(1, "hour.txt", "x", end_of_summer - 2700);  // 02:15 CEST
  p.file(2, "hour.txt", "x", end_of_summer + 900);   // 02:15 CET, an hour later

  p.compare();

  EXPECT_EQ(p.list(4), (QStringList{"half.txt", "hour.txt"}));
  EXPECT_TRUE(p.list(3).isEmpty());
  EXPECT_TRUE(p.list(5).isEmpty());
}

TEST_F(Compare, EveryFileOfLargeDirectoriesIsClassified) {
  // More names than the lists ever held in the past: none may be left out.
  for (int i = 0; i < 1500; ++i) {
    const QString name = QStringLiteral("f%1.dat").arg(i, 4, 10, QChar(u'0'));
    p.file(1, name, "x");
    if (i % 3 == 0) p.file(2, name, "x");
    if (i % 3 == 1) p.file(2, name, "x", t0 + 60);
  }
  for (int i = 0; i < 200; ++i) p.file(2, QStringLiteral("g%1.dat").arg(i), "y");

  p.compare();

  EXPECT_EQ(p.list(1).size(), 500);
  EXPECT_EQ(p.list(4).size(), 500);
  EXPECT_EQ(p.list(5).size(), 500);
  EXPECT_EQ(p.list(2).size(), 200);
  EXPECT_TRUE(p.list(3).isEmpty());
  const QStringList only1 = p.list(1);
  EXPECT_TRUE(std::is_sorted(only1.begin(), only1.end()));
}

TEST_F(Compare, ComparisonThatStopsSaysWhyAndListsNothing) {
  p.file(1, "a.txt", "x");
  p.file(2, "a.txt", "x");
  p.file(1, "b.txt", "x");
  p.file(2, "b.txt", "x");
  p.file(2, "c.txt", "x");
  p.open_panes("C:\\one", "D:\\two");
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path.endsWith("b.txt", Qt::CaseInsensitive))
      throw FileError(err::file_not_found);
  };

  p.dialogs.expect(
      "The comparison stopped at C:\\one\\b.txt\r\nError: 53 - File not found\r\n"
      "The lists stay empty: nothing can be aligned from a comparison that did not finish.");

  p.tz.comparison().bot_compare_Click();

  // Half a comparison would list b.txt of dir 2 as "only in dir 2", and aligning that
  // list would copy it over dir 1's.
  ASSERT_EQ(p.dialogs.boxes.size(), 1u);
  EXPECT_EQ(p.dialogs.box(0).icon, Icon::Critical);
  for (int n = 1; n <= 5; ++n) EXPECT_TRUE(p.list(n).isEmpty()) << n;
  EXPECT_FALSE(p.tz.globals().GLB_difference_found);
  EXPECT_FALSE(p.busy.busy);

  // A file on one side only goes to its list whatever its status (EIO on a worn stick,
  // a file removed meanwhile); the action that needs the status fails with its error.
  p.fs.fault = [](const QString& op, const QString& path) {
    if (op == "info" && path == "D:\\two\\c.txt") throw FileError(err::device_io);
  };
  p.tz.comparison().bot_compare_Click();
  EXPECT_EQ(p.list(2), QStringList{"c.txt"});
  EXPECT_EQ(p.list(5), (QStringList{"a.txt", "b.txt"}));

  // A directory that cannot be read is no empty directory (as root, mode 000 would not
  // stop a read: the refusal is injected), on either side.
  for (const char* dir : {"C:\\one\\", "D:\\two\\"}) {
    p.fs.fault = [drive = QString(dir).left(2)](const QString& op, const QString& path) {
      if (op == "list" && path.startsWith(drive)) throw FileError(err::permission_denied);
    };
    p.dialogs.expect_starting(QString("The comparison stopped at ") + dir +
                              "\r\nError: 70 - Permission denied\r\n");
    p.tz.comparison().bot_compare_Click();
    for (int n = 1; n <= 5; ++n) EXPECT_TRUE(p.list(n).isEmpty()) << dir << n;
  }
}

// One side's exact names and their keys, as a listing gives them.
struct Names {
  PackedNames names, keys;
  Names(std::initializer_list<QByteArray> raws) {
    for (const QByteArray& raw : raws) {
      names.append(raw);
      keys.append(match_key(display_name(raw), raw));
    }
  }
};

Seen at(FileTime modified, qint64 length) {
  Seen seen;
  seen.modified = modified;
  seen.length = length;
  return seen;
}

TEST(Classify, TimesMoreThanTwoSecondsApartDecideElseTheLargerFileIsNewer) {
  const FileTime t = 1'700'000'000, latest = std::numeric_limits<qint64>::max(),
                 earliest = std::numeric_limits<qint64>::min();
  struct Case {
    Seen file1, file2;
    FileTime one_second;
    ListId list;
    bool warned;
  } cases[] = {
      {at(t, 5), at(t, 5), 1, ListId::List5, false},
      {at(t, 5), at(t + 2, 5), 1, ListId::List5, false},  // two seconds apart: the same time
      {at(t + 2, 5), at(t, 5), 1, ListId::List5, false},
      {at(t + 3, 1), at(t, 9), 1, ListId::List3, false},  // beyond: the later one, whatever
      {at(t, 9), at(t + 3, 1), 1, ListId::List4, false},  // the lengths
      {at(t, 9), at(t + 2, 1), 1, ListId::List3, true},   // within: the larger one
      {at(t + 2, 1), at(t, 9), 1, ListId::List4, true},
      {at(t, (qint64(1) << 32) + 10), at(t, 10), 1, ListId::List3, true},
      {at(t, 5), at(t + 4, 5), 2, ListId::List5, false},
      {at(t, 5), at(t + 5, 5), 2, ListId::List4, false},
      {at(latest, 1), at(earliest, 1), 1, ListId::List3, false},  // no overflow
      {at(earliest, 1), at(latest, 1), 1, ListId::List4, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(classify(c.file1, c.file2, c.one_second), c.list) << c.file2.modified - t;
    EXPECT_EQ(lengths_decide(c.file1, c.file2, c.one_second), c.warned) << c.file2.modified - t;
  }
}

// Every file alike, the lists as "only in dir 1 / only in dir 2 / aligned", each entry
// as its text, and a pair's as "text=name in dir 1|name in dir 2".
QByteArray pairing(const Names& dir1, const Names& dir2) {
  const Matcher m(dir1.names, dir1.keys, dir2.names, dir2.keys);
  Lists lists;
  EXPECT_TRUE(m.sort(std::vector<Seen>(dir1.names.size(), at(0, 1)),
                     std::vector<Seen>(dir2.names.size(), at(0, 1)), {}, lists));
  const auto name = [&](int dir, int i) {
    return display_name((dir == 1 ? dir1 : dir2).names.name(static_cast<size_t>(i)));
  };
  QStringList shown;
  for (ListId id : {ListId::List1, ListId::List2, ListId::List5}) {
    QStringList entries;
    for (Pick p : lists.of(id)) {
      QString entry = p.i1 >= 0 ? m.text(1, p.i1, name(1, p.i1)) : m.text(2, p.i2, name(2, p.i2));
      if (p.i1 >= 0 && p.i2 >= 0) entry += '=' + name(1, p.i1) + '|' + name(2, p.i2);
      entries << entry;
    }
    shown << entries.join(", ");
  }
  return shown.join(" / ").toUtf8();
}

TEST(Matcher, PairsNamesByCaseFoldedFormButCaseTwinsOnlyByExactName) {
  const QByteArray e = "\xC3\xA9.txt", e_decomposed = "e\xCC\x81.txt", E = "\xC3\x89.txt";
  const struct {
    Names dir1, dir2;
    QByteArray lists;
  } cases[] = {
      {{"Report.DOC", E, "a", "b"},
       {"c", "b", e_decomposed, "report.doc"},
       "a / c / report.doc=Report.DOC|report.doc, " + e + "=" + E + "|" + e_decomposed + ", b=b|b"},
      // Twins keep their case and pair only with the same name.
      {{"Notes.txt", "notes.txt"}, {"notes.txt"}, "Notes.txt /  / notes.txt=notes.txt|notes.txt"},
      {{"plan.MD"}, {"Plan.md", "PLAN.md"}, "plan.MD / Plan.md, PLAN.md / "},
      // The same bytes first, whatever the order; then the same name in another form.
      {{e_decomposed, e},
       {e, e_decomposed},
       " /  / " + e_decomposed + "=" + e_decomposed + "|" + e_decomposed + ", " + e + "=" + e +
           "|" + e},
      {{E, e_decomposed}, {e}, E + " /  / " + e_decomposed + "=" + e_decomposed + "|" + e},
      // A name that is not UTF-8 keeps its escapes and matches only its own bytes, not a
      // name that reads like its escapes.
      {{"R\xE9.TXT", "\xE9"},
       {"r\xE9.txt", "\\xE9", "R\xE9.TXT"},
       "\\xE9 / r\\xE9.txt, \\xe9 / R\\xE9.TXT=R\\xE9.TXT|R\\xE9.TXT"},
  };
  for (const auto& c : cases) EXPECT_EQ(pairing(c.dir1, c.dir2), c.lists);
}

TEST(Matcher, SortsDir1InOrderThenDir2LeftOverCheckingAndWarningBeforeEachPair) {
  const FileTime t = 1'700'000'000;
  const Names dir1{"b", "A", "c"}, dir2{"d", "a", "B"};
  const Matcher m(dir1.names, dir1.keys, dir2.names, dir2.keys);
  const std::vector<Seen> seen1{at(t, 9), at(t, 5), at(t, 1)},
      seen2{at(t, 1), at(t + 60, 5), at(t + 1, 1)};
  QStringList told;
  Matcher::Sorting how;
  how.check = [&told](Pick p) { told << QString("check %1 %2").arg(p.i1).arg(p.i2); };
  how.lengths_differ = [&told](Pick p) { told << QString("warn %1 %2").arg(p.i1).arg(p.i2); };
  Lists lists;
  ASSERT_TRUE(m.sort(seen1, seen2, how, lists));
  EXPECT_EQ(told, (QStringList{"check 0 2", "warn 0 2", "check 1 1"}));
  EXPECT_EQ(lists.picks,
            (std::array<std::vector<Pick>, 5>{{{{2, -1}}, {{-1, 0}}, {{0, 2}}, {{1, 1}}, {}}}));
  // Only the files of pairs need their status, unless one-sided files are acted on.
  EXPECT_EQ(m.wanted(false), (std::array<std::vector<int>, 2>{{{0, 1}, {2, 1}}}));
  EXPECT_EQ(m.wanted(true), (std::array<std::vector<int>, 2>{{{0, 1, 2}, {2, 1, 0}}}));

  // A closed window stops the sorting where it is.
  int asked = 0;
  how.stopped = [&asked] { return ++asked > 2; };
  Lists stopped;
  EXPECT_FALSE(m.sort(seen1, seen2, how, stopped));
  EXPECT_EQ(stopped.of(ListId::List3).size() + stopped.of(ListId::List4).size(), 2u);
  EXPECT_TRUE(stopped.of(ListId::List1).empty());
}

}  // namespace
}  // namespace tz::test
