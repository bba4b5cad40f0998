#pragma once

#include <QListView>

namespace tz {
class FileList;
}

namespace tz::ui {

// A list box over a FileList. The model keeps the selection, the current entry and the
// top row for the logic; this view shows them and hands the user's changes back.
class FileListView : public QListView {
  Q_OBJECT

 public:
  FileListView(FileList& list, QWidget* parent = nullptr);

  FileList& list() const { return list_; }

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  void selection_from_view(const QItemSelection& selected, const QItemSelection& deselected);
  void current_from_view(const QModelIndex& current);
  void top_from_view();
  void schedule_selection_from_model();
  void selection_from_model();
  void current_from_model(int index);
  void top_from_model(int index);

  FileList& list_;
  // Set while this view writes to the model or the model's state is being shown, so
  // neither side echoes the other.
  bool syncing_ = false;
  bool model_changing_ = false;
  bool selection_sync_pending_ = false;
};

}  // namespace tz::ui
