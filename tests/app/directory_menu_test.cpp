#include "app/directory_menu.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include "compare/comparison.h"
#include "compare/panes.h"
#include "platform/file_error.h"
#include "support/test_program.h"
#include "support/tree_snapshot.h"

namespace tz::test {
namespace {

class DirMenu : public ::testing::Test {
 protected:
  // Both panes open; the menu opened on `side`.
  void open(const QString& path1, const QString& path2, int side) {
    p.open_panes(path1, path2);
    menu.Dir_MouseDown(side);
  }
  bool exists(const QString& drive_path) {
    struct stat st;
    return ::lstat(native(drive_path).constData(), &st) == 0;
  }
  QByteArray native(const QString& drive_path) {
    return QFile::encodeName(p.drives.host_path(drive_path));
  }
  QString path(int pane) { return p.tz.window().pane(pane).path(); }
  QStringList subdirs(int pane) { return p.tz.window().pane(pane).subdirectories(); }
  void expect_refused(const QString& name) {
    p.dialogs.expect("The name \"" + name +
                     "\" was not used: a directory's name cannot hold \\ or /, and cannot be "
                     "\".\" or \"..\". Nothing was done.");
  }
  void ask_delete(const QString& dir, Answer answer) {
    p.dialogs.expect("Are you sure you want to delete directory " + dir + "?", answer);
  }

  TestProgram p;
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

TEST_F(DirMenu, CreateMakesTheSubdirectoryThatBothBoxesThenList) {
  p.drives.make_dir("C:\\one");
  open("C:\\one", "C:\\one", 2);
  p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one", "New Dir");
  menu.m_create_dir_Click();
  EXPECT_TRUE(exists("C:\\one\\New Dir"));
  EXPECT_EQ(subdirs(1), QStringList{"C:\\one\\New Dir"});
  EXPECT_EQ(subdirs(2), QStringList{"C:\\one\\New Dir"});

  // At a drive's root the name goes right after its backslash.
  open("C:\\", "C:\\one", 1);
  p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\", "top");
  menu.m_create_dir_Click();
  EXPECT_TRUE(exists("C:\\top"));
  EXPECT_EQ(subdirs(1), (QStringList{"C:\\one", "C:\\top"}));
}

TEST_F(DirMenu, CreateReportsCancelAnExistingNameAndRefusesNamesThatLeaveTheDirectory) {
  p.drives.make_dir("C:\\one\\taken");
  open("C:\\one", "D:\\", 1);
  const TreeSnapshot before(native("C:\\"));
  // Cancel and an empty answer both name the box's own directory.
  for (const std::optional<QString>& typed :
       {std::optional<QString>(), std::optional<QString>("")}) {
    p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one", typed);
    p.dialogs.expect("Error 75 - Path/File access error");
  }
  p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one", "TAKEN");
  p.dialogs.expect("Error 75 - Path/File access error");
  for (const QString bad : {"..", ".", "..\\escaped", "a\\b", "x/y"}) {
    p.dialogs.expect_input("Name of subdirectory?", "Creating subdirectory of C:\\one", bad);
    expect_refused(bad);
  }
  for (int i = 0; i < 8; ++i) menu.m_create_dir_Click();
  EXPECT_TRUE(TreeSnapshot(native("C:\\")).changed_since(before).isEmpty());
  ASSERT_FALSE(p.dialogs.boxes.empty());
  EXPECT_EQ(p.dialogs.box(0).icon, Icon::None);
  EXPECT_EQ(p.dialogs.box(0).title, "Tenzor");
  EXPECT_FALSE(p.busy.busy);
}

TEST_F(DirMenu, RenameKeepsTheDirectoryInItsParentAndOpensItThere) {
  p.drives.write_file("C:\\one\\old\\f.txt", "f");
  open("C:\\one\\old", "D:\\", 1);
  p.dialogs.expect_input("New name of directory?", "Renaming C:\\one\\old", "new");
  menu.m_rename_dir_Click();
  EXPECT_FALSE(exists("C:\\one\\old"));
  EXPECT_TRUE(exists("C:\\one\\new\\f.txt"));
  EXPECT_EQ(path(1), "C:\\one\\new");
  EXPECT_EQ(p.tz.globals().GLB_path1, "C:\\one\\new\\");
  EXPECT_EQ(p.list(1), QStringList{"f.txt"});
}

TEST_F(DirMenu, RenameReportsCancelAndATakenNameAndRefusesNamesThatLeaveTheParent) {
  p.drives.make_dir("C:\\one\\dir");
  p.drives.make_dir("C:\\one\\taken");
  p.drives.make_dir("C:\\elsewhere");
  open("C:\\one\\dir", "D:\\", 1);
  const TreeSnapshot before(native("C:\\"));
  const QString title = "Renaming C:\\one\\dir";
  p.dialogs.expect_input("New name of directory?", title, std::nullopt);
  p.dialogs.expect("Error 52 - Bad file name or number");
  p.dialogs.expect_input("New name of directory?", title, "Taken");
  p.dialogs.expect("Error 58 - File already exists");
  for (const QString bad : {"..", "C:\\elsewhere\\dir", "..\\dir", "/tmp"}) {
    p.dialogs.expect_input("New name of directory?", title, bad);
    expect_refused(bad);
  }
  for (int i = 0; i < 6; ++i) menu.m_rename_dir_Click();
  EXPECT_TRUE(TreeSnapshot(native("C:\\")).changed_since(before).isEmpty());
  EXPECT_EQ(path(1), "C:\\one\\dir");
}

TEST_F(DirMenu, DeleteRemovesTheTreeAndOpensItsParent) {
  p.drives.write_file("C:\\one\\two\\a.txt", "a");
  p.drives.write_file("C:\\one\\two\\sub\\b.txt", "b");
  p.drives.write_file("D:\\top\\c.txt", "c");
  open("C:\\one\\two", "D:\\top", 1);

  ask_delete("C:\\one\\two", Answer::No);
  menu.m_delete_dir_Click();
  EXPECT_TRUE(exists("C:\\one\\two\\sub\\b.txt"));
  ASSERT_FALSE(p.dialogs.boxes.empty());
  EXPECT_EQ(p.dialogs.box(0).buttons, Buttons::YesNo);
  EXPECT_EQ(p.dialogs.box(0).icon, Icon::Question);
  EXPECT_EQ(p.dialogs.box(0).default_button, 1);

  ask_delete("C:\\one\\two", Answer::Yes);
  menu.m_delete_dir_Click();
  EXPECT_FALSE(exists("C:\\one\\two"));
  EXPECT_EQ(path(1), "C:\\one");
  EXPECT_TRUE(subdirs(1).isEmpty());

  // Directly below the root: the bare drive, which opens its root.
  menu.Dir_MouseDown(2);
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

TEST_F(DirMenu, DeleteRefusesADriveRootAlsoOneReachedFromAnotherDrive) {
  p.drives.write_file("D:\\data.txt", "d");
  ASSERT_EQ(::symlink(native("D:\\").constData(), native("C:\\usb").constData()), 0);
  open("C:\\", "C:\\usb", 1);
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

}  // namespace
}  // namespace tz::test
