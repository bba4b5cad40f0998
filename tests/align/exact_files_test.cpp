// Every action reaches exactly the files its entry stands for, and nothing else: links,
// one directory seen twice, files changed since the comparison, and names a shell, a
// parser or a path would take for something else. (Twins and every kind of link side by
// side: links_and_twins_test.cpp.)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

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

// Each hostile name through every drop of a file: handled as the one file it names (or
// refused with its reason), and nothing else on disk changes. (A whole list aligned
// reaches names as a drop does: links_and_twins_test.cpp.)
// Every drop on a list or target: what a drop of the name from list 1 to 5 changes on
// disk ("1": the name in dir 1, "2": in dir 2; none: not tried).
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

}  // namespace
}  // namespace tz::test
