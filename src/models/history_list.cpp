#include "models/history_list.h"

namespace tz {

void HistoryList::insert(int index, const QString& text) {
  beginInsertRows(QModelIndex(), index, index);
  entries_.insert(index, text);
  endInsertRows();
  if (selected_ >= index) set_selected(selected_ + 1);
}

void HistoryList::remove_at(int index) {
  beginRemoveRows(QModelIndex(), index, index);
  entries_.removeAt(index);
  endRemoveRows();
  if (selected_ == index)
    set_selected(-1);
  else if (selected_ > index)
    set_selected(selected_ - 1);
}

void HistoryList::assign(QStringList texts) {
  beginResetModel();
  entries_ = std::move(texts);
  endResetModel();
  set_selected(-1);
}

void HistoryList::set_selected(int index) {
  if (index < -1 || index >= count()) index = -1;
  if (index == selected_) return;
  selected_ = index;
  emit selected_changed(index);
}

int HistoryList::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant HistoryList::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= count()) return {};
  if (role == Qt::DisplayRole) return entries_[index.row()];
  return {};
}

}  // namespace tz
