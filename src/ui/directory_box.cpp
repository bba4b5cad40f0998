#include "ui/directory_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include "models/pane_model.h"

namespace tz::ui {

namespace {

// Shifts each row right by its depth, as a directory tree is drawn.
class IndentingDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem shifted = option;
    shifted.rect.setLeft(option.rect.left() + indent(option, index));
    QStyledItemDelegate::paint(painter, shifted, index);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += indent(option, index);
    return size;
  }

 private:
  static int indent(const QStyleOptionViewItem& option, const QModelIndex& index) {
    return index.data(DirectoryRows::depth_role).toInt() * option.fontMetrics.averageCharWidth() *
           2;
  }
};

}  // namespace

DirectoryRows::DirectoryRows(PaneModel& pane, QObject* parent)
    : QAbstractListModel(parent), pane_(pane) {
  refresh();
}

int DirectoryRows::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant DirectoryRows::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_.size()) return {};
  const int row = index.row();
  const bool in_chain = row < chain_count_;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return PaneModel::row_caption(rows_[row]);
    case Qt::ToolTipRole:
      return rows_[row];
    case Qt::DecorationRole: {
      const QStyle::StandardPixmap icon = row == 0 && in_chain ? QStyle::SP_DriveHDIcon
                                          : in_chain           ? QStyle::SP_DirOpenIcon
                                                               : QStyle::SP_DirClosedIcon;
      return QApplication::style()->standardIcon(icon);
    }
    case depth_role:
      return in_chain ? row : chain_count_;
    default:
      return {};
  }
}

void DirectoryRows::refresh() {
  if (rows_ == pane_.rows() && chain_count_ == pane_.chain_count()) return;
  beginResetModel();
  rows_ = pane_.rows();
  chain_count_ = pane_.chain_count();
  endResetModel();
}

DirectoryBox::DirectoryBox(PaneModel& pane, QWidget* parent)
    : QListView(parent), pane_(pane), rows_(pane) {
  setModel(&rows_);
  setItemDelegate(new IndentingDelegate(this));
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The pointer's passage over the box restores the hint line.
  setMouseTracking(true);

  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { highlight_from_view(current); });
  connect(this, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { emit row_opened(index.row()); });
  connect(&pane_, &PaneModel::directory_changed, this, &DirectoryBox::show_pane);
  show_pane();
}

void DirectoryBox::show_pane() {
  syncing_ = true;
  rows_.refresh();
  const int row = pane_.highlighted();
  if (row >= 0 && row < rows_.rowCount()) {
    const QModelIndex index = rows_.index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
  } else {
    selectionModel()->clear();
  }
  syncing_ = false;
}

void DirectoryBox::highlight_from_view(const QModelIndex& current) {
  if (syncing_) return;
  pane_.set_highlighted(current.isValid() ? current.row() : -1);
}

void DirectoryBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit row_opened(currentIndex().isValid() ? currentIndex().row() : -1);
    return;
  }
  QListView::keyPressEvent(event);
}

void DirectoryBox::mouseMoveEvent(QMouseEvent* event) {
  emit pointer_moved();
  QListView::mouseMoveEvent(event);
}

void DirectoryBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    // The highlight stays: the menu acts on the open directory, not the row under the
    // pointer.
    emit right_pressed(event->globalPosition().toPoint());
    return;
  }
  QListView::mousePressEvent(event);
}

}  // namespace tz::ui
