#pragma once

#include <QChar>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "models/entry.h"
#include "models/pane_model.h"
#include "platform/file_system.h"

namespace tz {

class Context;
class FileList;

// A pane's file box as read: its directory and its files in list order.
using FileBox = PaneFiles;

// The file box of the files of `dir` named `names`, showing `texts`, with the status
// `seen` (by file; empty when not read), in the order the lists sort, so that the file
// view shows the order the lists will. Runs on any thread.
FileBox file_box(std::shared_ptr<OpenDirectory> dir, const std::vector<QString>& texts,
                 PackedNames names, std::vector<Seen> seen);

// The two directory panes: their events, the file view and the opening of a pair
// given as "path 1 <-> path 2".
class Panes {
 public:
  explicit Panes(Context& ctx) : ctx_(ctx) {}

  // Fills both drive boxes from the drive table.
  void initialise();
  // Without a window nobody sees the directory boxes or the file view: the panes then
  // keep only their paths, which is all a comparison needs.
  void set_headless(bool headless) { headless_ = headless; }

  // The drive box of `pane` (1 or 2) set to `letter`, by the user or the program. Runs
  // the drive change handling when the drive differs; a drive that cannot be selected
  // shows "<number> <description>" and the box returns to its directory's drive.
  void set_drive(int pane, QChar letter);
  // The directory box of `pane` set to `path`. Runs the directory change handling when
  // the path differs. Throws FileError when the directory cannot be opened.
  void set_directory(int pane, const QString& path);
  // The directory box of `pane` set to `dir`, held open, which `path` names by the exact
  // names that reached it. True when the pane shows that very directory. Without a
  // window and with `in_place` (the caller has just seen that `path` still leads to
  // `dir`), the pane takes `path` as it stands and nothing is read; otherwise the path is
  // opened as set_directory opens it, and throws as it does.
  bool show_directory(int pane, const QString& path, OpenDirectory& dir, bool in_place);
  bool headless() const { return headless_; }
  // The directory `pane` was last set to, as the disk knows it (device and inode).
  const FileInfo& directory_info(int pane) const { return directory_info_[pane - 1]; }
  // Enter or double click in a directory box: opens `row` (the highlighted one when -1).
  void open_row(int pane, int row = -1);
  // F5: re-reads the subdirectories of both directory boxes.
  void m_refresh_Click();

  void ensure_final_backslash_on_paths();
  void read_pane_paths();
  void show_directory_files();
  // Clears `target` and fills it with the file box of `pane`.
  void fill_list_from(int pane, FileList& target);
  // Re-reads the plain files of a pane's directory into its file box.
  void refresh_file_box(int pane);
  // Until read_deferred_directories, the directory boxes show the way down to their
  // directories only, without the subdirectories; until read_deferred_file_boxes, the
  // file boxes keep their paths only and the file view is not shown. So a window that
  // is not yet visible shows at once, however large its directories; then both file
  // boxes are read at the same time, and a comparison that reads their directories
  // meanwhile fills them with what it read.
  void defer_reading();
  // Reads the subdirectories left unread since defer_reading. Throws FileError when
  // a directory cannot be read.
  void read_deferred_directories();
  // The file box of `pane` waits to be read.
  bool file_box_unread(int pane) const { return deferring_ && files_unread_[pane - 1]; }
  // Fills the unread file box of `pane` with the files of its directory, as read.
  void fill_file_box(int pane, FileBox box);
  // Reads the file boxes left unread since defer_reading; true when there were any.
  // Throws FileError when one cannot be read (pane 1's first).
  bool read_deferred_file_boxes();
  // Both panes back on the root of drive `letter`, after a pair failed to open.
  void fall_back_to_root(QChar letter);
  void add_hidden_folders(int pane, bool include_system);
  static QString strip_nulls(const QString& text);

  // The first character of the current directory.
  QChar current_drive() const;

 private:
  void drive_changed(int pane, QChar letter);
  // Shows `box` as the pane's file box, or reads it when none is given.
  void directory_changed(int pane, std::optional<FileBox> box);
  void read_directory(int pane, const QString& path);
  // A directory box's first rows: the drive root and each directory down to `path`.
  static QStringList chain_to(const QString& path);
  QString default_directory(QChar letter) const;

  Context& ctx_;
  bool headless_ = false;
  bool deferring_ = false;
  bool deferring_directories_ = false;
  bool directory_unread_[2] = {false, false};
  bool files_unread_[2] = {false, false};
  FileInfo directory_info_[2];
  // Rows of each directory box whose path names another directory, or none: the name
  // shown holds a backslash, its own or one that stands for a byte that is not UTF-8.
  QSet<QString> unreachable_rows_[2];
};

}  // namespace tz
