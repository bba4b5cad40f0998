// Names a shell, a parser or a path would take for something else, as directory and file
// names in two trees: the walk and the step-through handle each as the one branch it
// names, or refuse it with its reason, and change nothing on disk but what was asked.
// Symbolic links in a tree are never walked, wherever they point.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "align/bulk_align.h"
#include "align_fixture.h"
#include "platform/file_system.h"
#include "support/hostile_names.h"
#include "support/raw_files.h"
#include "tree/tree_comparison.h"

namespace tz::test {
namespace {

const QString not_opened =
    " cannot be opened by its path: a name in it holds a backslash or bytes that are not "
    "UTF-8. Its files were not compared.";

QString prompt(const QString& path) {
  return "Path " + path + " does not exist. Do you want to create it?";
}

// The pair C:\one and D:\two, empty, with the helpers of the align tests and no lists.
class HostileTree : public AlignTest {
 protected:
  void SetUp() override {
    p.clock.step = 0.25;  // so that pauses end
    fresh();
    QObject::connect(&p.tz.window(), &WindowModel::results_requested,
                     [this] { report = p.tz.globals().GLB_mismatch_text; });
  }
  // Both trees emptied, whatever names they hold, links not followed.
  void fresh() {
    for (int dir : {1, 2}) {
      remove_raw_tree(host_dir(dir));
      make_raw_dir(host_dir(dir));
    }
    report.clear();
  }
  // `path` below the drives' folder (C/one/...), made by its exact bytes.
  void make_dir(const QByteArray& path) { make_raw_dir(root() + '/' + path); }
  void make_file(const QByteArray& path) { write_raw(root() + '/' + path, "hostile", t0); }
  void make_link(const QByteArray& path, const char* target) {
    ASSERT_EQ(::symlink(target, (root() + '/' + path).constData()), 0) << path.constData();
  }
  // What a tree comparison and the step-through to its end changed, "next subdir" pressed
  // at every stop; `at_first_stop` runs where it first waits.
  QSet<QByteArray> step_through(const std::function<void()>& at_first_stop = {}) {
    return touched_by([&] {
      p.open_panes("C:\\one", "D:\\two");
      tree().bot_compare_tree_Click();
      if (at_first_stop && w().b_next_alignment.visible()) at_first_stop();
      for (int stops = 0; w().b_next_alignment.visible() && stops < 5; ++stops)
        tree().b_next_alignment_Click();
    });
  }
  TreeComparison& tree() { return p.tz.tree(); }
  WindowModel& w() { return p.tz.window(); }
  // The one entry of List1, by its exact name in dir 1.
  QByteArray only_in_list1() {
    const FileList& list = w().List1;
    return list.count() == 1 && list.at(0).side1 ? list.at(0).side1->name : "<not one file>";
  }

  QString report;
};

TEST_F(HostileTree, EachNameIsWalkedAndComparedAsTheBranchItNamesOrRefused) {
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const QString in1 = "C:\\one\\" + display_name(name), in2 = "D:\\two\\" + display_name(name);
    // A path in drive form reaches neither a name with `\` nor one that is not UTF-8.
    const bool by_path = !name.contains('\\') && QString::fromUtf8(name).toUtf8() == name;
    const auto tree1_only = [&] {
      fresh();
      make_dir("C/one/" + name);
      make_dir("C/one/" + name + "/sub");
      make_file("C/one/" + name + '/' + name);
    };

    // Refused: reported parent first, tree 1's before tree 2's, and nothing made; what
    // lies in a refused branch is reported without being offered.
    tree1_only();
    make_dir("D/two/sub");
    make_dir("D/two/sub/" + name);
    p.dialogs.expect(prompt(in2), Answer::No);
    p.dialogs.expect("End of tree comparison.");
    EXPECT_EQ(step_through(), QSet<QByteArray>{}) << "refused";
    EXPECT_EQ(report,
              "\r\nOnly in tree 1: " + in1 + "\r\nOnly in tree 1: " + in1 +
                  "\\sub\r\nOnly in tree 2: D:\\two\\sub\r\nOnly in tree 2: D:\\two\\sub\\" +
                  display_name(name));

    // Made by its exact bytes, then compared as that branch.
    tree1_only();
    p.dialogs.expect(prompt(in2), Answer::Yes);
    p.dialogs.expect(prompt(in2 + "\\sub"), Answer::Yes);
    if (!by_path) {
      p.dialogs.expect(in1 + not_opened);
      p.dialogs.expect(in1 + "\\sub" + not_opened);
    }
    p.dialogs.expect("End of tree comparison.");
    QStringList first_stop;
    QByteArray listed;
    EXPECT_EQ(step_through([&] {
                first_stop = {w().pane1.path(), w().pane2.path(), tree().waiting_path1()};
                listed = only_in_list1();
              }),
              (QSet<QByteArray>{"D/two/" + name, "D/two/" + name + "/sub"}))
        << "made";
    EXPECT_TRUE(report.isEmpty());
    EXPECT_FALSE(p.tz.globals().GLB_tree_mode);
    if (by_path) {
      EXPECT_EQ(first_stop, (QStringList{in1, in2, in1}));
      EXPECT_EQ(listed, name);
    } else {
      EXPECT_EQ(first_stop.value(2), in1);
      EXPECT_NE(listed, name);
    }

    // In both trees, in tree 2 in lower case: one branch, its file aligned into it.
    fresh();
    const QByteArray lower = name.toLower();
    make_dir("C/one/" + name);
    make_dir("D/two/" + lower);
    make_file("C/one/" + name + '/' + name);
    if (!by_path) p.dialogs.expect(in1 + not_opened);
    p.dialogs.expect("End of tree comparison.");
    const QSet<QByteArray> aligned = step_through([&] {
      if (!by_path) return;
      p.tz.bulk_align().bot_list_Click(ListId::List1);
      EXPECT_FALSE(w().b_next_alignment.visible()) << "went on by itself, to the end";
    });
    EXPECT_EQ(aligned,
              by_path ? QSet<QByteArray>{"D/two/" + lower + '/' + name} : QSet<QByteArray>{})
        << "aligned";
  }
}

// A link in a tree is never walked, wherever it points; a directory of one tree whose name
// the other tree holds with something else (a file, a dangling link, a loop of links, a
// link to a directory) is reported, never offered for creation.
TEST_F(HostileTree, LinksAreNeverWalkedAndANameHeldOtherwiseIsOnlyReported) {
  make_dir("C/outside");
  make_dir("C/outside/deep");
  make_dir("C/one/real");
  make_dir("D/two/real");
  make_file("C/one/real/f.txt");
  make_link("C/one/up", "..");  // the tree's own parent
  make_link("C/one/real/dots..", "../..");
  make_link("C/one/self", ".");
  make_link("C/one/loop_a", "loop_b");
  make_link("C/one/loop_b", "loop_a");
  make_link("C/one/dangling", "nowhere");
  make_link("C/one/elsewhere", "../outside");
  for (const char* name : {"filed", "dangles", "loops"}) make_dir("C/one/real/" + QByteArray(name));
  make_file("D/two/real/filed");
  make_link("D/two/real/dangles", "nowhere");
  make_link("D/two/real/loops", "loops");
  make_link("C/one/l1", "../outside");
  make_dir("D/two/l1");
  // Never made in tree 2, never compared through tree 2's link.
  make_dir("C/one/linked");
  make_file("C/one/linked/g.txt");
  make_link("D/two/linked", "../../C/outside");
  p.dialogs.expect("End of tree comparison.");
  QStringList walked, listed;
  EXPECT_EQ(step_through([&] {
              for (const Branch& branch : tree().branches()) walked << branch.path2;
              listed = p.list(1) + p.list(2);
            }),
            QSet<QByteArray>{});
  walked.sort();
  EXPECT_EQ(walked, (QStringList{"D:\\two", "D:\\two\\l1", "D:\\two\\linked", "D:\\two\\real",
                                 "D:\\two\\real\\dangles", "D:\\two\\real\\filed",
                                 "D:\\two\\real\\loops"}));
  EXPECT_EQ(listed, (QStringList{"f.txt", "filed"}));
  // A directory whose name the other tree holds as a file or a link is never compared,
  // and says so; a link alone is no directory of the tree.
  EXPECT_FALSE(report.contains("Only in tree"));
  const QString taken = " (the other tree holds the name as a file or a link)";
  QStringList lines = report.split("\r\n", Qt::SkipEmptyParts);
  lines.sort();
  EXPECT_EQ(lines, (QStringList{"Not compared: C:\\one\\linked" + taken,
                                "Not compared: C:\\one\\real\\dangles" + taken,
                                "Not compared: C:\\one\\real\\filed" + taken,
                                "Not compared: C:\\one\\real\\loops" + taken,
                                "Not compared: D:\\two\\l1" + taken}));
}

// Emptying one list of a branch while another still holds names does not go on to the
// next branch.
TEST_F(HostileTree, AnAlignedListLeftWhileAnotherHoldsNamesDoesNotAdvance) {
  make_dir("C/one/a");
  make_dir("D/two/a");
  make_file("D/two/a/only2.txt");
  make_file("C/one/root.txt");  // the roots differ as well: the first stop
  p.open_panes("C:\\one", "D:\\two");
  tree().bot_compare_tree_Click();
  EXPECT_EQ(w().pane1.path(), "C:\\one");
  tree().b_next_alignment_Click();
  EXPECT_EQ(w().pane1.path(), "C:\\one\\a");
  p.tz.bulk_align().bot_list_Click(ListId::List1);  // empty; List2 still counts
  EXPECT_TRUE(w().b_next_alignment.visible());
  EXPECT_TRUE(p.tz.globals().GLB_tree_mode);
  p.dialogs.expect("End of tree comparison.");
  tree().b_next_alignment_Click();
  EXPECT_FALSE(w().b_next_alignment.visible());
}

}  // namespace
}  // namespace tz::test
