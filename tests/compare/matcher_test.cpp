#include "compare/matcher.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/file_system.h"

namespace tz::test {
namespace {

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
