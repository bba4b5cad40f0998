// Every action reaches exactly the files its entry stands for, and nothing else: links,
// one directory seen twice, files changed since the comparison, names a shell, a parser
// or a path would take for something else, and twins and every kind of link side by side.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <array>
#include <set>
#include <string>

#include "align/bulk_align.h"
#include "align_fixture.h"
#include "support/hostile_names.h"
#include "support/raw_files.h"
#include "support/tree_snapshot.h"

namespace tz::test {
namespace {

using Touched = QSet<QByteArray>;

class ExactFiles : public AlignTest {
 protected:
  const QString changed =
      " has changed since the comparison (it is another file now, or its time or length is not "
      "what was compared). Nothing was done: compare the directories again.";
  static QString one_file(const QString& a, const QString& b) {
    return a + " and " + b +
           " are one and the same file on disk. Nothing was done, so that its only copy is not "
           "lost.";
  }
};

TEST_F(ExactFiles, OneDirectorySeenTwiceKeepsItsFiles) {
  // Dir 2 reaches dir 1 through a link on another drive letter.
  ASSERT_EQ(::symlink(host_dir(1).constData(), (host_dir(2) + "-link").constData()), 0);
  p.open_panes("C:\\one", "D:\\two-link");
  p.dialogs.expect(
      "dir1 and dir2 are equal and in the same drive; please select a different drive or "
      "path for one of the two directories");
  p.tz.comparison().bot_compare_Click();
  EXPECT_EQ(p.dialogs.box(0).icon, Icon::Critical);
  EXPECT_EQ(p.tz.window().lab_list1.caption(), "files in dir 1");
  // The file view shows the directory's files in both lists; no drop may copy a file
  // onto itself or then delete its only copy.
  p.dialogs.expect(one_file("C:\\one\\only1.txt", "D:\\two-link\\only1.txt"));
  p.dialogs.expect(one_file("D:\\two-link\\only1.txt", "C:\\one\\only1.txt"));
  p.dialogs.expect(one_file("C:\\one\\same.txt", "D:\\two-link\\same.txt"));
  const Touched touched = touched_by([&] {
    drop(1, "only1.txt", 5);
    drop(2, "only1.txt", 1);
    drop(1, "same.txt", 2);
  });
  EXPECT_TRUE(touched.isEmpty()) << touched.values().join(' ').constData();
  EXPECT_EQ(p.dialogs.box().icon, Icon::Exclamation);
}

TEST_F(ExactFiles, AFileLinkedIntoTheOtherDirectoryIsNotDeletedAsACopy) {
  p.file(1, "x.txt", "the only real copy");
  ASSERT_EQ(::symlink((host_dir(1) + "/x.txt").constData(), (host_dir(2) + "/x.txt").constData()),
            0);
  p.compare();
  ASSERT_TRUE(p.list(5).contains("x.txt"));
  const QString x1_x2 = one_file("C:\\one\\x.txt", "D:\\two\\x.txt");
  const Touched touched = touched_by([&] {
    select(5, {"x.txt"});
    p.dialogs.expect("do you want to delete X.TXT from both directories?", Answer::Yes);
    p.dialogs.expect(x1_x2);
    p.dialogs.expect("No file deleted.");
    p.tz.deletion().bot_delete_Click();
    p.dialogs.expect(x1_x2);
    drop(5, "x.txt", 2);  // would delete dir 1's copy
    p.dialogs.expect(one_file("D:\\two\\x.txt", "C:\\one\\x.txt"));
    drop(5, "x.txt", 1);  // would delete dir 2's
    p.dialogs.expect("do you want to delete X.TXT\nfrom both directories?", Answer::Yes);
    p.dialogs.expect(x1_x2);
    drop(5, "x.txt", delete_target);
  });
  EXPECT_TRUE(touched.isEmpty()) << touched.values().join(' ').constData();
  EXPECT_EQ(content("C:\\one\\x.txt"), "the only real copy");
}

TEST_F(ExactFiles, AFileChangedSinceTheComparisonIsLeftAlone) {
  p.file(2, "new1.txt", "edited meanwhile", t0 + 30);
  p.dialogs.expect("D:\\two\\new1.txt" + changed);
  EXPECT_TRUE(touched_by([&] { p.tz.bulk_align().bot_list_Click(ListId::List3); }).isEmpty());
  EXPECT_TRUE(p.list(3).contains("new1.txt"));

  // Another length at the compared time is a change too.
  p.file(2, "new2.txt", "newer in 2 but longer", t0 + 60);
  select(4, {"new2.txt"});
  p.dialogs.expect("do you want to delete NEW2.TXT from dir2?", Answer::Yes);
  p.dialogs.expect("D:\\two\\new2.txt" + changed);
  p.dialogs.expect("No file deleted.");
  EXPECT_TRUE(touched_by([&] { p.tz.deletion().bot_delete_Click(); }).isEmpty());

  // Another time at the same length is a change too.
  p.file(2, "same.txt", "SAME", t0 + 500);
  p.dialogs.expect_starting("D:\\two\\same.txt has changed since the comparison");
  EXPECT_TRUE(touched_by([&] { drop(5, "same.txt", 1); }).isEmpty());

  // So is a node that kept the file's inode, time and length but is no file any more.
  p.fs.seen_as = [](const QString& path, FileInfo& info) {
    if (path == "C:\\one\\only1.txt") info.regular = false;
  };
  p.dialogs.expect_starting("C:\\one\\only1.txt has changed since the comparison");
  EXPECT_TRUE(touched_by([&] { drop(1, "only1.txt", 2); }).isEmpty());
  p.fs.seen_as = nullptr;

  // A pipe put where a listed file was is never opened: it could block for ever.
  QFile::remove(p.drives.host_path("C:\\one\\only1.txt"));
  ASSERT_EQ(::mkfifo((host_dir(1) + "/only1.txt").constData(), 0644), 0);
  p.dialogs.expect_starting("C:\\one\\only1.txt has changed since the comparison");
  EXPECT_TRUE(touched_by([&] { drop(1, "only1.txt", 2); }).isEmpty());
}

// A file is the one compared only while it is the same inode with the same time to the
// nanosecond: another file of the same length and second in its place is a change.
// What a drop leaves of an entry still reaches the file it kept.
TEST_F(ExactFiles, AFileReplacedAtTheSameLengthAndSecondIsAnotherFile) {
  const auto set_time = [&](int dir, const char* name, qint64 ns) {
    const struct timespec times[2] = {{t0, ns}, {t0, ns}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (host_dir(dir) + '/' + name).constData(), times, 0), 0);
  };
  // Saved as editors save: a new file renamed over the compared one.
  write_raw(host_dir(2) + "/same.tmp", "SAME", t0);
  ASSERT_EQ(
      ::rename((host_dir(2) + "/same.tmp").constData(), (host_dir(2) + "/same.txt").constData()),
      0);
  p.dialogs.expect("D:\\two\\same.txt" + changed);
  EXPECT_TRUE(touched_by([&] { drop(5, "same.txt", 1); }).isEmpty());  // would delete it
  // Written in place, with a time that differs below the second only.
  write_raw(host_dir(1) + "/same.txt", "SAME", t0);
  set_time(1, "same.txt", 5);
  p.dialogs.expect("C:\\one\\same.txt" + changed);
  EXPECT_TRUE(touched_by([&] { drop(5, "same.txt", 2); }).isEmpty());
  EXPECT_EQ(content("C:\\one\\same.txt") + content("D:\\two\\same.txt"), "SAMESAME");

  // Dir 2's older copy, with a time to the nanosecond, is kept while dir 1's goes; then
  // the entry left moves it to dir 1.
  set_time(2, "new1.txt", 250'000'000);
  p.compare();
  EXPECT_EQ(touched_by([&] { drop(3, "new1.txt", 2); }), Touched{"C/one/new1.txt"});
  EXPECT_EQ(touched_by([&] { drop(2, "new1.txt", 1); }),
            (Touched{"C/one/new1.txt", "D/two/new1.txt"}));
  EXPECT_EQ(content("C:\\one\\new1.txt"), "old");
  EXPECT_FALSE(exists("D:\\two\\new1.txt"));
  EXPECT_EQ(p.list(1), (QStringList{"new1.txt", "only1.txt"}));
}

// Each hostile name through every drop of a file (a whole list aligned reaches names as a
// drop does: the twins' and links' table below). What a drop of the name from list 1 to 5
// on each list or target changes on disk ("1": the name in dir 1, "2": in dir 2; none:
// not tried); the name is handled as the one file it names, or refused with its reason.
struct Drop {
  int target;
  std::array<const char*, 5> touched;
};
const Drop drops[] = {
    {1, {"", "12", "2", "2", "2"}}, {2, {"12", "", "1", "1", "1"}},
    {5, {"2", "1", "2", "1", ""}},  {delete_target, {"1", "2", "1", "2", "12"}},
    {open_target, {"", ""}},
};

class HostileNames : public AlignTest {
 protected:
  // The fixture's pair with `name` where it makes it stand in list `list`, compared.
  void with_name(const QByteArray& name, int list) {
    for (int dir = 1; dir <= 2; ++dir) remove_raw_tree(host_dir(dir));
    SetUp();  // makes the directories again
    if (list != 2) write_raw(host_dir(1) + '/' + name, "hostile 1", list == 3 ? t0 + 60 : t0);
    if (list != 1)
      write_raw(host_dir(2) + '/' + name, list == 5 ? "hostile 1" : "hostile 2",
                list == 4 ? t0 + 60 : t0);
    p.compare();
  }
  // The entry of list `list` that stands for `name`, dragged to `target`.
  void drop_name(const QByteArray& name, int list, int target) {
    const FileList& l = p.tz.window().list(list_at(list));
    int at = -1;
    for (int i = 0; i < l.count(); ++i) {
      const std::optional<FileRef>& side = list == 2 ? l.at(i).side2 : l.at(i).side1;
      if (side && side->name == name) at = i;
    }
    ASSERT_GE(at, 0) << "not listed";
    drop_row(list, at, target);
  }
  QSet<QByteArray> paths(const QByteArray& name, const char* dirs) {
    QSet<QByteArray> set;
    for (const char* d = dirs; *d; ++d) set.insert((*d == '1' ? "C/one/" : "D/two/") + name);
    return set;
  }
};

TEST_F(HostileNames, EachIsHandledAsTheOneFileItNames) {
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const bool as_text = QString::fromUtf8(name).toUtf8() == name;
    for (const Drop& d : drops) {
      for (int source = 1; source <= 5; ++source) {
        const char* const touched = d.touched[static_cast<size_t>(source - 1)];
        if (!touched) continue;
        SCOPED_TRACE(testing::Message() << "list " << source << " to " << d.target);
        with_name(name, source);
        if (d.target == delete_target)
          p.dialogs.expect_starting("do you want to delete ", Answer::Yes);
        // Opened by its own host path; a name that is not UTF-8 cannot be handed to another
        // program as text, and says so.
        const size_t opened = p.processes.opened.size();
        if (d.target == open_target && !as_text) p.dialogs.expect_starting("Error: 52 - ");
        EXPECT_EQ(touched_by([&] { drop_name(name, source, d.target); }), paths(name, touched));
        if (d.target != open_target) continue;
        if (as_text) {
          ASSERT_EQ(p.processes.opened.size(), opened + 1);
          EXPECT_EQ(p.processes.opened.back(), QString::fromUtf8(host_dir(source) + '/' + name));
        } else {
          EXPECT_EQ(p.processes.opened.size(), opened);
        }
      }
    }
  }
}

// Links, names that differ only in case or in Unicode normalisation, and a pair some
// 4,000 characters deep, side by side in one pair: every action handles each entry as
// the one file it names, or refuses with its reason, and nothing else on disk changes.
// Names as bytes; what an action changed, with the deep directories written "1" and "2".
using Names = std::set<std::string>;

// "café.txt", "über.txt" and "naïve.txt" composed and decomposed.
const std::string nfc = "caf\u00E9.txt", nfd = "cafe\u0301.txt";
const std::string uber_nfc = "\u00FCber.txt", uber_nfd = "u\u0308ber.txt";
const std::string naive_nfc = "na\u00EFve.txt", naive_nfd = "nai\u0308ve.txt";

// Twenty levels of 196 characters below C:\one and D:\two.
QString level(int i) {
  return QStringLiteral("level%1").arg(i, 2, 10, QChar(u'0')) + QString(189, u'd');
}

QString taken(const QString& path) {
  return path +
         " is taken by a directory or by a link that reaches no file, which the lists do not "
         "show. Nothing was done.";
}

class LinksAndTwins : public AlignTest {
 protected:
  void SetUp() override {
    AlignTest::SetUp();
    QStringList levels;
    for (int i = 0; i < 20; ++i) levels << level(i);
    chain = levels.join(u'/').toUtf8();
    deep1 = "C:\\one\\" + levels.join(u'\\') + u'\\';
    deep2 = "D:\\two\\" + levels.join(u'\\') + u'\\';
    ASSERT_GT(deep1.size(), 3900);
    ASSERT_LT(host(1, "x").size(), 4000u) << "the snapshot reads a file by its whole path";
    build();
  }

  // The pair made afresh and compared; the fixture's files stay in the parents.
  void build() {
    for (int dir = 1; dir <= 2; ++dir)
      QDir(QFile::decodeName(host_dir(dir) + '/' + level(0).toUtf8())).removeRecursively();
    p.drives.write_file("C:\\outside.txt", "outside", t0);
    const QByteArray outside = p.drives.native("C:\\outside.txt");
    put(1, "real.txt", "real");
    link(1, "alias.txt", "real.txt");
    link(1, "outside.txt", outside);
    put(2, "outside.txt", "newer outside", t0 + 60);
    put(1, "far.txt", "newer far", t0 + 60);
    link(2, "far.txt", outside);
    link(1, "docs", host_dir(1));  // the parent, which holds the link
    put(2, "docs", "docs");
    link(1, "loop_a", "loop_b");
    link(1, "loop_b", "loop_a");
    put(2, "loop_a", "loop");
    link(1, "dangling.txt", "nowhere.txt");
    put(2, "dangling.txt", "dangling");
    put(1, "Readme.txt", "readme 1");
    put(1, "README.TXT", "README 1");
    put(2, "README.TXT", "README 2", t0 + 60);
    put(1, "Notes.TXT", "notes 1", t0 + 60);
    put(2, "notes.txt", "notes 2");
    put(1, nfc, "nfc 1");
    put(2, nfc, "nfc 2", t0 + 60);
    put(2, nfd, "nfd 2");
    put(1, uber_nfc, "u nfc");
    put(1, uber_nfd, "u nfd");
    put(2, uber_nfd, "u nfd");
    put(1, naive_nfd, "naive");
    put(2, naive_nfc, "naive");
    p.compare(deep1, deep2);
  }
  std::string host(int dir, const std::string& name) const {
    return (host_dir(dir) + '/' + chain + '/').toStdString() + name;
  }
  void put(int dir, const std::string& name, const QByteArray& data, qint64 mtime = t0) {
    p.drives.write_file((dir == 1 ? deep1 : deep2) + QString::fromStdString(name), data, mtime);
  }
  void link(int dir, const std::string& name, const QByteArray& to) {
    ASSERT_EQ(::symlink(to.constData(), host(dir, name).c_str()), 0);
  }
  // A plain file's content; a link is not read through.
  std::string held(int dir, const std::string& name) {
    const int fd = ::open(host(dir, name).c_str(), O_RDONLY | O_NOFOLLOW);
    if (fd < 0) return "<no plain file>";
    char data[64];
    const ssize_t n = ::read(fd, data, sizeof data);
    ::close(fd);
    return std::string(data, n < 0 ? 0 : static_cast<size_t>(n));
  }
  // "dir 1's name|dir 2's name" of an entry.
  static std::string names(const Entry& e) {
    return (e.side1 ? e.side1->name.toStdString() : "") + '|' +
           (e.side2 ? e.side2->name.toStdString() : "");
  }
  // The row of list `n` whose dir 1 (else dir 2) file has the exact name `name`.
  int row(int n, const std::string& name) {
    const FileList& list = p.tz.window().list(list_at(n));
    for (int i = 0; i < list.count(); ++i)
      if (const std::string both = names(list.at(i));
          both.starts_with(name + '|') || both == '|' + name)
        return i;
    ADD_FAILURE() << name << " is not in list " << n;
    return -1;  // no current entry: a drop does nothing
  }
  Names changed(const std::function<void()>& action) {
    Names shown;
    for (QByteArray path : touched_by(action))
      shown.insert(
          path.replace("C/one/" + chain, "1").replace("D/two/" + chain, "2").toStdString());
    return shown;
  }

  QByteArray chain;
  QString deep1, deep2;
};

TEST_F(LinksAndTwins, EachListedFileIsOneFileOfItsOwn) {
  // By list: links to no file, a loop and a link to a directory are in none; twins keep
  // their exact names and pair with the same bytes, else the same composed name.
  const std::vector<Names> lists{
      {"Readme.txt|", "alias.txt|", "real.txt|", uber_nfc + '|'},
      {"|" + nfd, "|dangling.txt", "|docs", "|loop_a"},
      {"Notes.TXT|notes.txt", "far.txt|far.txt"},
      {"README.TXT|README.TXT", nfc + '|' + nfc, "outside.txt|outside.txt"},
      {naive_nfd + '|' + naive_nfc, uber_nfd + '|' + uber_nfd},
  };
  for (int n = 1; n <= 5; ++n) {
    const FileList& list = p.tz.window().list(list_at(n));
    Names found;
    for (int i = 0; i < list.count(); ++i) found.insert(names(list.at(i)));
    EXPECT_EQ(found, lists[static_cast<size_t>(n - 1)]) << "list " << n;
  }
  // A link shows the file it reaches, under its own name at the bottom of the pair.
  p.tz.transfers().list_mouse_move(ListId::List1, row(1, "alias.txt"));
  EXPECT_TRUE(p.tz.window().lab_drag_drop.caption().endsWith(", bytes 4 " + deep1 + "alias.txt"));
}

// Each drop, and each list aligned by its button (target 0), reaches the files it names.
TEST_F(LinksAndTwins, EachDropAndEachListAlignedReachesTheFilesItNames) {
  struct Case {
    int source;
    std::string name;
    int target;
    Names files;
    QString box = {};         // a refusal, or the question of a deletion (answered Yes)
    std::string copied = {};  // what the file copied to the other side now holds
  };
  const QString ask = "do you want to delete ";
  const std::vector<Case> cases{
      {2, "docs", 1, {}, taken(deep1 + "docs")},
      {2, "dangling.txt", 1, {}, taken(deep1 + "dangling.txt")},
      {2, "loop_a", 5, {}, taken(deep1 + "loop_a")},
      {2, nfd, 1, {"1/" + nfd, "2/" + nfd}, {}, "nfd 2"},
      {1, "alias.txt", 2, {"1/alias.txt", "2/alias.txt"}, {}, "real"},
      {1, "Readme.txt", 5, {"2/Readme.txt"}, {}, "readme 1"},
      {3, "far.txt", 5, {"2/far.txt"}, {}, "newer far"},
      {3, "far.txt", 1, {"2/far.txt"}},
      {3, "Notes.TXT", 2, {"1/Notes.TXT"}},
      {4, "outside.txt", 2, {"1/outside.txt"}},
      {4, "outside.txt", 5, {"1/outside.txt"}, {}, "newer outside"},
      {4, "README.TXT", 1, {"2/README.TXT"}},
      {4, nfc, 5, {"1/" + nfc}, {}, "nfc 2"},
      {5, naive_nfd, 1, {"2/" + naive_nfc}},
      // A deletion takes the copies of its entry only.
      {1, "alias.txt", delete_target, {"1/alias.txt"}, ask + "ALIAS.TXT from dir 1?"},
      {1, "Readme.txt", delete_target, {"1/Readme.txt"}, ask + "README.TXT from dir 1?"},
      {2, nfd, delete_target, {"2/" + nfd}, ask + "CAFE\u0301.TXT from dir 2?"},
      {4, "outside.txt", delete_target, {"2/outside.txt"}, ask + "OUTSIDE.TXT from dir 2?"},
      {5,
       naive_nfd,
       delete_target,
       {"1/" + naive_nfd, "2/" + naive_nfc},
       ask + "NAI\u0308VE.TXT\nfrom both directories?"},
      // File by file; the twin goes beside its other form; the link to no file stops the rest.
      {1, "", 0, {"2/Readme.txt", "2/alias.txt", "2/real.txt", "2/" + uber_nfc}},
      {2, "", 0, {"1/" + nfd}, taken(deep1 + "dangling.txt")},
      {3, "", 0, {"2/notes.txt", "2/far.txt"}},
      {4, "outside.txt", 0, {"1/README.TXT", "1/" + nfc, "1/outside.txt"}, {}, "newer outside"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " from list " + std::to_string(c.source) + " to " +
                 std::to_string(c.target));
    build();
    if (!c.box.isEmpty())
      p.dialogs.expect(c.box, c.target == delete_target ? Answer::Yes : Answer::Ok);
    EXPECT_EQ(changed([&] {
                if (c.target == 0) return p.tz.bulk_align().bot_list_Click(list_at(c.source));
                drop_row(c.source, row(c.source, c.name), c.target);
              }),
              c.files);
    if (c.copied.empty()) continue;
    // A plain file of its own: a link there is replaced, never written through.
    EXPECT_EQ(held(c.source == 1 || c.source == 3 ? 2 : 1, c.name), c.copied);
  }
}

}  // namespace
}  // namespace tz::test
