#include "ui/file_list_view.h"

#include <QItemSelection>
#include <QScrollBar>

#include "models/file_list.h"

namespace tz::ui {

namespace {

// Restores a flag on every way out of a scope.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = old_; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace

FileListView::FileListView(FileList& list, QWidget* parent) : QListView(parent), list_(list) {
  // Connected before the view's own handlers: while rows come and go the selection
  // model moves its current row and selection by itself, and the list keeps its own.
  auto begin_change = [this] { model_changing_ = true; };
  auto end_change = [this] { model_changing_ = false; };
  connect(&list_, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin_change);
  connect(&list_, &QAbstractItemModel::rowsRemoved, this, end_change);
  connect(&list_, &QAbstractItemModel::rowsAboutToBeInserted, this, begin_change);
  connect(&list_, &QAbstractItemModel::rowsInserted, this, end_change);
  connect(&list_, &QAbstractItemModel::modelAboutToBeReset, this, begin_change);
  connect(&list_, &QAbstractItemModel::modelReset, this, end_change);
  setModel(&list_);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Rows all have one height, so 100,000 entries lay out without measuring each.
  setUniformItemSizes(true);
  setLayoutMode(QListView::SinglePass);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &FileListView::selection_from_view);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { current_from_view(current); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { top_from_view(); });

  connect(&list_, &FileList::selection_changed, this, &FileListView::schedule_selection_from_model);
  connect(&list_, &FileList::current_changed, this, &FileListView::current_from_model);
  connect(&list_, &FileList::top_index_changed, this, &FileListView::top_from_model);
  connect(&list_, &QAbstractItemModel::modelReset, this, [this] {
    selection_from_model();
    current_from_model(list_.current());
    // Entries merged into a list keep the row the user had scrolled to at the top.
    if (list_.top_index() > 0) top_from_model(list_.top_index());
  });
}

void FileListView::focusInEvent(QFocusEvent* event) {
  // Qt makes the first row current when a list gains the focus; a list box does not.
  FlagGuard guard(syncing_);
  QListView::focusInEvent(event);
}

void FileListView::selection_from_view(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
  if (syncing_ || model_changing_) return;
  FlagGuard guard(syncing_);
  auto apply = [this](const QItemSelection& ranges, bool state) {
    for (const QItemSelectionRange& range : ranges) {
      // Ranges of removed rows come through invalid; the model dropped those rows too.
      if (!range.isValid()) continue;
      for (int row = range.top(); row <= range.bottom() && row < list_.count(); ++row)
        list_.set_selected(row, state);
    }
  };
  apply(deselected, false);
  apply(selected, true);
}

void FileListView::current_from_view(const QModelIndex& current) {
  if (syncing_ || model_changing_) return;
  FlagGuard guard(syncing_);
  list_.set_current(current.isValid() ? current.row() : -1);
}

void FileListView::top_from_view() {
  if (syncing_ || model_changing_) return;
  const QModelIndex top = indexAt(QPoint(0, 0));
  if (!top.isValid()) return;
  FlagGuard guard(syncing_);
  list_.set_top_index(top.row());
}

void FileListView::schedule_selection_from_model() {
  if (syncing_ || selection_sync_pending_) return;
  // The logic may select entries one by one in a long list: show the result once.
  selection_sync_pending_ = true;
  QMetaObject::invokeMethod(this, &FileListView::selection_from_model, Qt::QueuedConnection);
}

void FileListView::selection_from_model() {
  selection_sync_pending_ = false;
  QItemSelection selection;
  const int count = list_.count();
  for (int row = 0; row < count;) {
    if (!list_.is_selected(row)) {
      ++row;
      continue;
    }
    const int first = row;
    while (row < count && list_.is_selected(row)) ++row;
    selection.select(list_.index(first), list_.index(row - 1));
  }
  FlagGuard guard(syncing_);
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void FileListView::current_from_model(int index) {
  if (syncing_) return;
  FlagGuard guard(syncing_);
  const QModelIndex current = index >= 0 ? list_.index(index) : QModelIndex();
  selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

void FileListView::top_from_model(int index) {
  if (syncing_ || index < 0 || index >= list_.count()) return;
  FlagGuard guard(syncing_);
  scrollTo(list_.index(index), QAbstractItemView::PositionAtTop);
}

}  // namespace tz::ui
