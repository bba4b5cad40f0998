#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "models/entry.h"

namespace tz {

// A sorted list box: entries in the lists' collation order, extended multiple
// selection, a current entry and a top row. Bulk fills sort once, so a list takes
// 100,000 entries cheaply; single additions are sorted insertions.
class FileList : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit FileList(QObject* parent = nullptr);

  int count() const { return static_cast<int>(entries_.size()); }
  const Entry& at(int index) const { return entries_[static_cast<size_t>(index)]; }
  const QString& text(int index) const { return at(index).text; }
  QStringList texts() const;

  // Inserts at the sorted position and returns that position.
  int add(Entry entry);
  void remove_at(int index);
  void clear();
  // Replaces the whole content; `entries` need not be sorted.
  void assign(std::vector<Entry> entries);
  // The same for `entries` already in list order, as a pane's file box holds them.
  void assign_sorted(std::vector<Entry> entries);
  // Position of the entry that stands for the same files as `entry` (with the same
  // text), -1 when there is none. Never a mere look-alike: entries that show alike
  // may stand for different files.
  int find(const Entry& entry) const;
  // Position of the first entry showing exactly `text`, -1 when there is none.
  int find_text(const QString& text) const;
  // Adds `entry` unless find() knows it already.
  void add_once(Entry entry);
  // Removes the entry find() gives; returns its position, or -1.
  int remove(const Entry& entry);
  // What a long run does to a list in one step, so that the view lays out and paints
  // once for many entries: removes each entry find() gives, and adds each entry
  // add_once() would add, as the same calls one by one would.
  void remove_all(const std::vector<Entry>& entries);
  void add_all_once(std::vector<Entry> entries);

  bool is_selected(int index) const;
  void set_selected(int index, bool selected);
  void select_all();
  bool any_selected() const;

  // The focused entry, -1 when there is none.
  int current() const { return current_; }
  void set_current(int index);
  int top_index() const { return top_index_; }
  void set_top_index(int index);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 signals:
  // Emitted when selection, current entry or top row change by the logic's hand.
  void selection_changed();
  void current_changed(int index);
  void top_index_changed(int index);

 private:
  void remove_rows(int first, int last);
  // The first position whose text does not sort before `text`.
  std::vector<Entry>::const_iterator lower_bound(const QString& text) const;
  // The first position whose text sorts after `text`: where a new entry showing it goes.
  std::vector<Entry>::const_iterator upper_bound(const QString& text) const;

  // The entries by value, in list order: a list of 100,000 holds no object of its own
  // per entry. Long runs change it in blocks (remove_all, add_all_once), so that one
  // entry added or removed at a time stays the exception.
  std::vector<Entry> entries_;
  std::vector<char> selected_;  // beside each entry
  int current_ = -1;
  int top_index_ = 0;
};

}  // namespace tz
