#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

namespace tz {

// The history list box: pairs as text, newest first, in the order they were put there
// (never sorted), with at most one entry selected.
class HistoryList : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit HistoryList(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  int count() const { return static_cast<int>(entries_.size()); }
  const QString& text(int index) const { return entries_[index]; }
  const QStringList& texts() const { return entries_; }

  void insert(int index, const QString& text);
  void remove_at(int index);
  // Replaces the whole content; nothing is selected afterwards.
  void assign(QStringList texts);

  // The selected entry, -1 when there is none.
  int selected() const { return selected_; }
  void set_selected(int index);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 signals:
  void selected_changed(int index);

 private:
  QStringList entries_;
  int selected_ = -1;
};

}  // namespace tz
