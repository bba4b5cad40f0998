#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace tz {

class Context;
class FileError;
class OpenDirectory;
class Panes;

// The directory boxes' context menu: renames, deletes with everything below it, or
// creates a subdirectory of, the directory open in the box that was right-clicked: the
// one the box opened, by its exact name and checked by device and inode, never another
// that its path would reach now.
class DirectoryMenu {
 public:
  DirectoryMenu(Context& ctx, Panes& panes) : ctx_(ctx), panes_(panes) {}

  // The box the menu was opened on: 1 for Dir1; Dir2 otherwise.
  int dir_popup_side = 0;

  // The right button went down on Dir1 (1) or Dir2 (2); the menu pops up next.
  void Dir_MouseDown(int side) { dir_popup_side = side; }

  void m_rename_dir_Click();
  void m_delete_dir_Click();
  void m_create_dir_Click();

  // `path` without its last component and then without a final `\`: the first-level
  // directory for one two levels below a root, the bare "C:" for one directly below it.
  static QString parent_path(const QString& path);
  // What follows the last `\`, or the drive's colon; the whole path when it has neither,
  // nothing when it ends in a separator.
  static QString last_path_component(const QString& path);

 private:
  // The box's directory, reached by its exact name in its parent.
  struct Held {
    std::shared_ptr<OpenDirectory> parent;
    QByteArray name;
  };

  int side() const { return dir_popup_side == 1 ? 1 : 2; }
  // The box's directory `dir` opened, or held in its parent, when it is still the one
  // the box opened; otherwise, after saying that it is gone, nothing.
  std::shared_ptr<OpenDirectory> open_box_directory(const QString& dir);
  std::optional<Held> hold_box_directory(const QString& dir);
  // True when the directory box `pane` opened is still at the path it shows.
  bool still_open(int pane);
  // After a tree removal: the boxes and the lists show what is on disk.
  void show_what_is_left();
  // The path of the chosen box: no final `\` but for a drive root.
  QString box_directory() const;
  // The answer typed in an input box; nothing for Cancel.
  QString ask(const QString& prompt, const QString& title);
  // False, after saying so, for a name that would reach another directory.
  bool acceptable_name(const QString& name);
  // True when `dir` is the root of a drive, also when reached from another drive.
  bool drive_root(const QString& dir);
  // Ends a command that failed.
  void report(const FileError& error);

  Context& ctx_;
  Panes& panes_;
};

}  // namespace tz
