#pragma once

#include <QChar>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

#include "models/entry.h"
#include "models/packed_names.h"

namespace tz {

// A pane's files as its file box holds them: what each shows, in list order, and by
// `order` its exact name and, where a comparison read it, its status, as they were read.
// No entry each: the box is never shown, and its entries are made only when the file
// view shows them.
struct PaneFiles {
  std::shared_ptr<OpenDirectory> dir;  // the directory the files were read in, held open
  QStringList texts;
  std::vector<size_t> order;  // by row: the file's place in `names` and `seen`
  PackedNames names;
  std::vector<Seen> seen;  // empty when the files are held by their names only
};

// The state of one directory pane: its drive box, its directory box and its hidden
// file box. The logic of the panes (compare/panes) changes it; the window mirrors it.
class PaneModel : public QObject {
  Q_OBJECT

 public:
  explicit PaneModel(int number, QObject* parent = nullptr);

  int number() const { return number_; }

  // Drive box.
  const QList<QChar>& drives() const { return drives_; }
  void set_drives(const QList<QChar>& drives);
  QChar drive() const { return drive_; }
  void set_drive(QChar drive);

  // Directory box: its path (no final backslash but for a drive root) and its rows,
  // first the chain from the drive root down to the path itself, then the
  // subdirectories of the path. Rows are full paths.
  const QString& path() const { return path_; }
  const QStringList& rows() const { return rows_; }
  int chain_count() const { return chain_count_; }
  QStringList subdirectories() const { return rows_.mid(chain_count_); }
  void set_directory(const QString& path, const QStringList& chain, const QStringList& subdirs);
  void insert_subdirectory(int position, const QString& path);
  // The highlighted row, -1 when none.
  int highlighted() const { return highlighted_; }
  void set_highlighted(int row);
  // What a row shows: a drive root in full, any other row its last component.
  static QString row_caption(const QString& row_path);

  // File box: never visible; its path follows the directory box.
  const QString& file_path() const { return file_path_; }
  const QStringList& files() const { return files_.texts; }
  // The files as entries of this pane's side, in list order.
  std::vector<Entry> file_entries() const;
  // The directory the files were read in, held open.
  const std::shared_ptr<OpenDirectory>& file_dir() const { return files_.dir; }
  void set_files(const QString& path, PaneFiles files);

 signals:
  void drive_changed();
  void directory_changed();
  void files_changed();

 private:
  int number_;
  QList<QChar> drives_;
  QChar drive_;
  QString path_;
  QStringList rows_;
  int chain_count_ = 0;
  int highlighted_ = -1;
  QString file_path_;
  PaneFiles files_;
};

}  // namespace tz
