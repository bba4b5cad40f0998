#include "directory_menu/directory_menu.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <functional>

#include "compare/comparison.h"
#include "compare/panes.h"
#include "platform/file_error.h"
#include "support/compare_program.h"
#include "support/hostile_names.h"
#include "support/raw_files.h"
#include "support/tree_snapshot.h"

namespace tz::test {
namespace {

// Names a box's path cannot carry: typed, they are refused; on disk, no box opens them.
const QSet<QByteArray> unreachable = {"back\\slash.txt", "caf\xE9.txt"};

class DirMenu : public ::testing::Test {
 protected:
  // Both panes open; the menu opened on `side`.
  void open(const QString& path1, const QString& path2, int side) {
    p.open_panes(path1, path2);
    menu.Dir_MouseDown(side);
  }
  // The folder that holds every drive.
  QByteArray root() const { return p.drives.folder(); }
  // The name as the boxes show it below C:\one.
  static QString in_one(const QByteArray& name) { return "C:\\one\\" + display_name(name); }
  void make_dir(const QByteArray& relative) { make_raw_dir(root() + '/' + relative); }
  QSet<QByteArray> touched_by(const std::function<void()>& action) {
    return tz::test::touched_by(root(), action);
  }
  void expect_refused(const QString& name) {
    p.dialogs.expect("The name \"" + name +
                     "\" was not used: a directory's name cannot hold \\ or /, and cannot be "
                     "\".\" or \"..\". Nothing was done.");
  }
  bool exists(const QString& drive_path) {
    struct stat st;
    return ::lstat(native(drive_path).constData(), &st) == 0;
  }
  QByteArray native(const QString& drive_path) { return p.drives.native(drive_path); }
  QString path(int pane) { return p.tz.window().pane(pane).path(); }
  QStringList subdirs(int pane) { return p.tz.window().pane(pane).subdirectories(); }
  void ask_delete(const QString& dir, Answer answer) {
    p.dialogs.expect("Are you sure you want to delete directory " + dir + "?", answer);
  }

  CompareProgram p;
  DirectoryMenu menu{p.tz.context(), p.tz.panes()};
};

TEST(DirMenuPaths, ParentAndLastComponent) {
  EXPECT_EQ(DirectoryMenu::parent_path("C:\\one\\two"), "C:\\one");
  EXPECT_EQ(DirectoryMenu::parent_path("C:\\one"), "C:");
  EXPECT_EQ(DirectoryMenu::parent_path("C:\\one\\"), "C:\\one");
  EXPECT_EQ(DirectoryMenu::last_path_component("C:\\one\\two"), "two");
  EXPECT_EQ(DirectoryMenu::last_path_component("C:\\one\\"), "");
  EXPECT_EQ(DirectoryMenu::last_path_component("C:"), "");
  EXPECT_EQ(DirectoryMenu::last_path_component("two"), "two");
  // A host's name may hold a colon; only the drive's ends a component.
  EXPECT_EQ(DirectoryMenu::last_path_component("C:\\one\\10:30"), "10:30");
  EXPECT_EQ(DirectoryMenu::parent_path("C:\\one\\10:30"), "C:\\one");
}

// Cancel, an empty or taken name, and names that would leave the directory: each said,
// nothing done.
TEST_F(DirMenu, CreateAndRenameSayWhyNothingWasDone) {
  p.drives.make_dir("C:\\one\\dir\\taken");
  p.drives.make_dir("C:\\one\\taken");
  p.drives.make_dir("C:\\elsewhere");
  open("C:\\one\\dir", "D:\\", 1);
  const TreeSnapshot before(native("C:\\"));
  std::vector<bool> creates;
  const auto ask = [&](bool create, const std::optional<QString>& typed, const QString& said) {
    if (create)
      p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one\\dir",
                             typed);
    else
      p.dialogs.expect_input("New name of directory?", "Renaming C:\\one\\dir", typed);
    said.isEmpty() ? expect_refused(*typed) : p.dialogs.expect(said);
    creates.push_back(create);
  };
  // Cancel and an empty answer both name the box's own directory.
  ask(true, std::nullopt, "Error 75 - Path/File access error");
  ask(true, "", "Error 75 - Path/File access error");
  ask(true, "TAKEN", "Error 75 - Path/File access error");
  ask(false, std::nullopt, "Error 52 - Bad file name or number");
  ask(false, "Taken", "Error 58 - File already exists");
  for (const QString bad :
       {"..", ".", "..\\escaped", "a\\b", "x/y", "C:\\elsewhere\\dir", "/tmp"}) {
    for (const bool create : {true, false}) ask(create, bad, {});
  }
  for (const bool create : creates) create ? menu.m_create_dir_Click() : menu.m_rename_dir_Click();
  EXPECT_TRUE(TreeSnapshot(native("C:\\")).changed_since(before).isEmpty());
  EXPECT_EQ(path(1), "C:\\one\\dir");
  ASSERT_FALSE(p.dialogs.boxes.empty());
  EXPECT_EQ(p.dialogs.box(0).icon, Icon::None);
  EXPECT_EQ(p.dialogs.box(0).title, "Tenzor");
  EXPECT_FALSE(p.busy.busy);
}

// (Which directory goes, whatever its name: the hostile menu's tests.)
TEST_F(DirMenu, DeleteAsksFirstAndOpensTheParentEvenARoot) {
  p.drives.make_dir("C:\\one");
  p.drives.write_file("D:\\top\\deep\\c.txt", "c");
  open("C:\\one", "D:\\top", 2);

  ask_delete("D:\\top", Answer::No);
  menu.m_delete_dir_Click();
  EXPECT_TRUE(exists("D:\\top\\deep\\c.txt"));
  ASSERT_FALSE(p.dialogs.boxes.empty());
  EXPECT_EQ(p.dialogs.box(0).buttons, Buttons::YesNo);
  EXPECT_EQ(p.dialogs.box(0).icon, Icon::Question);
  EXPECT_EQ(p.dialogs.box(0).default_button, 1);

  // Directly below the root: the bare drive, which opens its root.
  ask_delete("D:\\top", Answer::Yes);
  menu.m_delete_dir_Click();
  EXPECT_FALSE(exists("D:\\top"));
  EXPECT_EQ(path(2), "D:\\");
  EXPECT_EQ(path(1), "C:\\one");
  EXPECT_FALSE(p.busy.busy);
}

// Nothing is undone; the message says where it stopped and that files went, and the
// boxes and lists show what is left, not the files that went.
TEST_F(DirMenu, DeleteStoppedPartWaySaysWhereAndShowsWhatIsLeft) {
  p.drives.write_file("C:\\one\\tree\\sub\\.hidden", "h");
  p.drives.write_file("C:\\one\\tree\\sub\\gone.txt", "g");
  open("C:\\one\\tree", "C:\\one\\tree\\sub", 1);
  p.tz.comparison().bot_compare_Click();
  ASSERT_EQ(p.list(2), QStringList{"gone.txt"});
  ask_delete("C:\\one\\tree", Answer::Yes);
  p.dialogs.expect(
      "Deleting the directory stopped at C:\\one\\tree\\sub\r\nError: 75 - Path/File access "
      "error\r\nSome of its files were already deleted. The boxes and lists now show what is "
      "left.");
  menu.m_delete_dir_Click();
  EXPECT_FALSE(exists("C:\\one\\tree\\sub\\gone.txt"));
  EXPECT_TRUE(exists("C:\\one\\tree\\sub\\.hidden"));
  EXPECT_EQ(path(1), "C:\\one\\tree");
  EXPECT_EQ(subdirs(1), QStringList{"C:\\one\\tree\\sub"});
  EXPECT_EQ(p.tz.window().lab_list2.caption(), "files in dir 2");
  EXPECT_TRUE(p.list(2).isEmpty());
  EXPECT_EQ(p.dialogs.box().icon, Icon::Critical);
  EXPECT_FALSE(p.busy.busy);

  // A failure before anything is removed ends it the same way.
  p.fs.fault = [](const QString& operation, const QString&) {
    if (operation == "remove_tree") throw FileError(err::permission_denied);
  };
  ask_delete("C:\\one\\tree", Answer::Yes);
  p.dialogs.expect("Error 70 - Permission denied");
  menu.m_delete_dir_Click();
  EXPECT_EQ(path(1), "C:\\one\\tree");
}

TEST_F(DirMenu, ADriveRootTakesSubdirectoriesButIsNeverDeletedAlsoReachedFromAnother) {
  p.drives.write_file("D:\\data.txt", "d");
  ASSERT_EQ(::symlink(native("D:\\").constData(), native("C:\\usb").constData()), 0);
  open("C:\\", "C:\\usb", 1);
  // The new name goes right after the root's backslash.
  p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\", "top");
  menu.m_create_dir_Click();
  EXPECT_TRUE(exists("C:\\top"));
  EXPECT_EQ(subdirs(1), (QStringList{"C:\\top", "C:\\usb"}));
  p.dialogs.expect(
      "C:\\ is the root directory of a drive, which cannot be deleted. Nothing was deleted.");
  menu.m_delete_dir_Click();
  menu.Dir_MouseDown(2);
  p.dialogs.expect(
      "C:\\usb is the root directory of a drive, which cannot be deleted. Nothing was deleted.");
  menu.m_delete_dir_Click();
  EXPECT_TRUE(exists("C:\\usb"));
  EXPECT_TRUE(exists("D:\\data.txt"));
  EXPECT_EQ(path(1), "C:\\");
}

// Names a shell, a parser or a path would take for something else: each command acts on
// exactly the directory it names (or refuses with its reason), and nothing else on disk
// changes.
TEST_F(DirMenu, HostileCreateMakesTheSubdirectoryTypedOrRefusesIt) {
  p.drives.make_dir("C:\\one");
  open("C:\\one", "C:\\one", 1);
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const QString typed = display_name(name);
    p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one", typed);
    if (unreachable.contains(name)) expect_refused(typed);
    const QSet<QByteArray> touched = touched_by([&] { menu.m_create_dir_Click(); });
    if (unreachable.contains(name)) {
      EXPECT_TRUE(touched.isEmpty());
      continue;
    }
    EXPECT_EQ(touched, QSet<QByteArray>{"C/one/" + name});
    // Whichever box lists the same place shows it.
    for (const int pane : {1, 2}) EXPECT_TRUE(subdirs(pane).contains(in_one(name)));
    EXPECT_EQ(path(1), "C:\\one");
  }
}

TEST_F(DirMenu, HostileRenameGivesTheDirectoryTheNameTypedOrRefusesIt) {
  p.drives.write_file("C:\\one\\old\\f.txt", "f");
  const QSet<QByteArray> old{"C/one/old", "C/one/old/f.txt"};
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const QString typed = display_name(name);
    open("C:\\one\\old", "D:\\", 1);
    p.dialogs.expect_input("New name of directory?", "Renaming C:\\one\\old", typed);
    if (unreachable.contains(name)) {
      expect_refused(typed);
      EXPECT_TRUE(touched_by([&] { menu.m_rename_dir_Click(); }).isEmpty());
      continue;
    }
    EXPECT_EQ(touched_by([&] { menu.m_rename_dir_Click(); }),
              old + QSet<QByteArray>({"C/one/" + name, "C/one/" + name + "/f.txt"}));
    EXPECT_EQ(path(1), in_one(name));
    EXPECT_EQ(p.tz.globals().GLB_path1, in_one(name) + "\\");
    EXPECT_EQ(p.list(1), QStringList{"f.txt"});
    // Back for the next name, as the disk had it.
    ASSERT_EQ(
        ::rename((root() + "/C/one/" + name).constData(), (root() + "/C/one/old").constData()), 0);
  }
}

// Each directory holds a file of every hostile name; its case twin and its trimmed twin
// stand beside it, where a name taken for another would lead.
TEST_F(DirMenu, HostileDeleteRemovesExactlyTheDirectoryNamedAndItsFiles) {
  p.drives.make_dir("C:\\one");
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray dir = "C/one/" + name;
    make_dir(dir);
    QSet<QByteArray> gone{dir};
    for (const QByteArray& file : hostile_names) {
      write_raw(root() + '/' + dir + '/' + file);
      gone.insert(dir + '/' + file);
    }
    for (const QByteArray& twin : {name.toLower(), name.trimmed()})
      if (twin != name && !QFileInfo::exists(QFile::decodeName(root() + "/C/one/" + twin)))
        make_dir("C/one/" + twin);
    if (unreachable.contains(name)) {
      EXPECT_THROW(open(in_one(name), "D:\\", 1), FileError);
      continue;
    }
    open(in_one(name), "D:\\", 1);
    ask_delete(in_one(name), Answer::Yes);
    EXPECT_EQ(touched_by([&] { menu.m_delete_dir_Click(); }), gone);
    EXPECT_EQ(path(1), "C:\\one");
    EXPECT_FALSE(subdirs(1).contains(in_one(name)));
  }
}

// The box's directory moved away with a case twin beside it, or replaced by another of
// the same name: each command says so and touches nothing, the twin least of all.
TEST_F(DirMenu, HostileEachCommandActsOnlyOnTheDirectoryTheBoxOpened) {
  p.drives.make_dir("C:\\work\\backup");
  p.drives.write_file("C:\\work\\BACKUP\\only_copy.txt", "keep");
  open("C:\\work\\backup", "D:\\", 1);
  const QString gone =
      "C:\\work\\backup is no longer there: it was renamed, moved or deleted since the box "
      "showed it. Nothing was done.";
  const std::function<void()> commands[] = {
      [&] {
        ask_delete("C:\\work\\backup", Answer::Yes);
        p.dialogs.expect(gone);
        menu.m_delete_dir_Click();
      },
      [&] {
        p.dialogs.expect_input("New name of directory?", "Renaming C:\\work\\backup", "new");
        p.dialogs.expect(gone);
        menu.m_rename_dir_Click();
      },
      [&] {
        p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\work\\backup",
                               "sub");
        p.dialogs.expect(gone);
        menu.m_create_dir_Click();
      },
  };
  ASSERT_EQ(::rename((root() + "/C/work/backup").constData(), (root() + "/C/work/old").constData()),
            0);
  for (const bool replaced : {false, true}) {
    if (replaced) make_dir("C/work/backup");
    for (const auto& command : commands) EXPECT_TRUE(touched_by(command).isEmpty());
  }
  EXPECT_EQ(path(1), "C:\\work\\backup");
}

}  // namespace
}  // namespace tz::test
