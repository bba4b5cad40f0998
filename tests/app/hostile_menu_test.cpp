// Names a shell, a parser or a path would take for something else, through the directory
// boxes' menu: each command acts on exactly the directory it names (or refuses with its
// reason), and nothing else on disk changes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <functional>

#include "app/directory_menu.h"
#include "compare/panes.h"
#include "platform/file_error.h"
#include "support/hostile_names.h"
#include "support/raw_files.h"
#include "support/test_program.h"
#include "support/tree_snapshot.h"

namespace tz::test {
namespace {

// Names a box's path cannot carry: typed, they are refused; on disk, no box opens them.
const QSet<QByteArray> unreachable = {"back\\slash.txt", "caf\xE9.txt"};

class HostileMenu : public ::testing::Test {
 protected:
  HostileMenu() { p.drives.make_dir("D:\\two"); }
  // The folder that holds every drive.
  QByteArray root() const { return p.drives.folder(); }
  // The name as the boxes show it below C:\one.
  static QString in_one(const QByteArray& name) { return "C:\\one\\" + display_name(name); }
  void make_dir(const QByteArray& relative) { make_raw_dir(root() + '/' + relative); }
  void make_file(const QByteArray& relative) { write_raw(root() + '/' + relative); }
  QSet<QByteArray> touched_by(const std::function<void()>& action) {
    return tz::test::touched_by(root(), action);
  }
  void open(const QString& path1, int side) {
    p.open_panes(path1, "D:\\two");
    menu.Dir_MouseDown(side);
  }
  void expect_refused(const QString& name) {
    p.dialogs.expect("The name \"" + name +
                     "\" was not used: a directory's name cannot hold \\ or /, and cannot be "
                     "\".\" or \"..\". Nothing was done.");
  }
  QString path(int pane) { return p.tz.window().pane(pane).path(); }

  TestProgram p;
  DirectoryMenu menu{p.tz.context(), p.tz.panes()};
};

TEST_F(HostileMenu, CreateMakesTheSubdirectoryTypedOrRefusesIt) {
  p.drives.make_dir("C:\\one");
  open("C:\\one", 2);
  menu.Dir_MouseDown(1);
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
    EXPECT_TRUE(p.tz.window().pane(1).subdirectories().contains(in_one(name)));
    EXPECT_EQ(path(1), "C:\\one");
  }
}

TEST_F(HostileMenu, RenameGivesTheDirectoryTheNameTypedOrRefusesIt) {
  p.drives.write_file("C:\\one\\old\\f.txt", "f");
  const QSet<QByteArray> old{"C/one/old", "C/one/old/f.txt"};
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const QString typed = display_name(name);
    open("C:\\one\\old", 1);
    p.dialogs.expect_input("New name of directory?", "Renaming C:\\one\\old", typed);
    if (unreachable.contains(name)) {
      expect_refused(typed);
      EXPECT_TRUE(touched_by([&] { menu.m_rename_dir_Click(); }).isEmpty());
      continue;
    }
    EXPECT_EQ(touched_by([&] { menu.m_rename_dir_Click(); }),
              old + QSet<QByteArray>({"C/one/" + name, "C/one/" + name + "/f.txt"}));
    EXPECT_EQ(path(1), in_one(name));
    EXPECT_EQ(p.list(1), QStringList{"f.txt"});
    // Back for the next name, as the disk had it.
    ASSERT_EQ(
        ::rename((root() + "/C/one/" + name).constData(), (root() + "/C/one/old").constData()), 0);
  }
}

// Each directory holds a file of every hostile name; its case twin and its trimmed twin
// stand beside it, where a name taken for another would lead.
TEST_F(HostileMenu, DeleteRemovesExactlyTheDirectoryNamedAndItsFiles) {
  p.drives.make_dir("C:\\one");
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray dir = "C/one/" + name;
    make_dir(dir);
    QSet<QByteArray> gone{dir};
    for (const QByteArray& file : hostile_names) {
      make_file(dir + '/' + file);
      gone.insert(dir + '/' + file);
    }
    for (const QByteArray& twin : {name.toLower(), name.trimmed()})
      if (twin != name && !QFileInfo::exists(QFile::decodeName(root() + "/C/one/" + twin)))
        make_dir("C/one/" + twin);
    if (unreachable.contains(name)) {
      EXPECT_THROW(open(in_one(name), 1), FileError);
      continue;
    }
    open(in_one(name), 1);
    p.dialogs.expect("Are you sure you want to delete directory " + in_one(name) + "?",
                     Answer::Yes);
    EXPECT_EQ(touched_by([&] { menu.m_delete_dir_Click(); }), gone);
    EXPECT_EQ(path(1), "C:\\one");
    EXPECT_FALSE(p.tz.window().pane(1).subdirectories().contains(in_one(name)));
  }
}

// The box's directory moved away with a case twin beside it, or replaced by another of
// the same name: each command says so and touches nothing, the twin least of all.
TEST_F(HostileMenu, EachCommandActsOnlyOnTheDirectoryTheBoxOpened) {
  p.drives.make_dir("C:\\work\\backup");
  p.drives.write_file("C:\\work\\BACKUP\\only_copy.txt", "keep");
  open("C:\\work\\backup", 1);
  const QString gone =
      "C:\\work\\backup is no longer there: it was renamed, moved or deleted since the box "
      "showed it. Nothing was done.";
  const std::function<void()> commands[] = {
      [&] {
        p.dialogs.expect("Are you sure you want to delete directory C:\\work\\backup?",
                         Answer::Yes);
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
