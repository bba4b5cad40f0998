#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <vector>

namespace tz {

// A sorted list box: entries in ascending order with letter case ignored, extended
// multiple selection, a current entry and a top row. Bulk fills sort once, so a list
// takes 100,000 entries cheaply; single additions are sorted insertions.
class FileList : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit FileList(QObject* parent = nullptr);

  int count() const { return static_cast<int>(entries_.size()); }
  const QString& entry(int index) const { return entries_[static_cast<size_t>(index)].text; }
  QStringList entries() const;

  // Inserts at the sorted position and returns that position.
  int add(const QString& text);
  void remove_at(int index);
  void clear();
  // Replaces the whole content; `texts` need not be sorted.
  void assign(std::vector<QString> texts);
  // Position of the entry equal to `text`, letter case ignored; an entry with exactly
  // that text comes first (entries that differ only in case are different files).
  // -1 when there is none.
  int find(const QString& text) const;
  // Adds `text` unless find() knows it already.
  void add_once(const QString& text);
  // Removes the entry find() gives for `text`; returns its position, or -1.
  int remove(const QString& text);

  bool is_selected(int index) const;
  void set_selected(int index, bool selected);
  void select_all();
  bool any_selected() const;

  // The focused entry, -1 when there is none.
  int current() const { return current_; }
  void set_current(int index);
  int top_index() const { return top_index_; }
  void set_top_index(int index);

  // Case-insensitive order of the list; ties broken by the exact text so that
  // entries differing only in case have a stable order.
  static bool less(const QString& a, const QString& b);
  // Sorts `texts` in that order.
  static void sort(std::vector<QString>& texts);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 signals:
  // Emitted when selection, current entry or top row change by the logic's hand.
  void selection_changed();
  void current_changed(int index);
  void top_index_changed(int index);

 private:
  struct Item {
    QString text;
    bool selected = false;
  };
  std::vector<Item> entries_;
  int current_ = -1;
  int top_index_ = 0;
};

}  // namespace tz
