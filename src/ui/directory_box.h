#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStringList>

namespace tz {
class PaneModel;
}

namespace tz::ui {

// The rows of a pane's directory box: the chain from the drive root to the open
// directory, then its subdirectories.
class DirectoryRows : public QAbstractListModel {
  Q_OBJECT

 public:
  // How deep a row sits under the drive root, for its indentation.
  static constexpr int depth_role = Qt::UserRole + 1;

  explicit DirectoryRows(PaneModel& pane, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Takes the pane's rows when they differ from the ones shown.
  void refresh();

 private:
  PaneModel& pane_;
  QStringList rows_;
  int chain_count_ = 0;
};

// A pane's directory box. A click or the arrow keys move the highlight; Enter or a
// double click open a row; the right button asks for the context menu.
class DirectoryBox : public QListView {
  Q_OBJECT

 public:
  explicit DirectoryBox(PaneModel& pane, QWidget* parent = nullptr);

 signals:
  void row_opened(int row);
  void pointer_moved();
  // The right button went down at `global_position` (screen coordinates).
  void right_pressed(const QPoint& global_position);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void show_pane();
  void highlight_from_view(const QModelIndex& current);

  PaneModel& pane_;
  DirectoryRows rows_;
  bool syncing_ = false;
};

}  // namespace tz::ui
