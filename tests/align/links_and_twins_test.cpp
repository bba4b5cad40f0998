// Links, names that differ only in case or in Unicode normalisation, and a pair some
// 4,000 characters deep, side by side in one pair: every action handles each entry as
// the one file it names, or refuses with its reason, and nothing else on disk changes.
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <set>
#include <string>

#include "align/bulk_align.h"
#include "align_fixture.h"

namespace tz::test {
namespace {

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
