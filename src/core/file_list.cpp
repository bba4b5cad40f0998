#include "core/file_list.h"

#include <algorithm>
#include <numeric>

#include "core/collation.h"

namespace tz {

FileList::FileList(QObject* parent) : QAbstractListModel(parent) {}

QStringList FileList::texts() const {
  QStringList out;
  out.reserve(count());
  for (const auto& item : entries_) out.append(item->entry.text);
  return out;
}

FileList::Items::const_iterator FileList::lower_bound(const QString& text) const {
  // The entries are sorted, so a search halves its way to the run of entries that
  // show `text`: lookups stay cheap in lists of 100,000.
  return std::lower_bound(entries_.begin(), entries_.end(), text,
                          [](const std::unique_ptr<Item>& item, const QString& t) {
                            return collation::compare(item->entry.text, t) < 0;
                          });
}

int FileList::add(Entry entry) {
  const auto at = std::upper_bound(entries_.cbegin(), entries_.cend(), entry.text,
                                   [](const QString& t, const std::unique_ptr<Item>& item) {
                                     return collation::compare(t, item->entry.text) < 0;
                                   });
  const int row = static_cast<int>(at - entries_.cbegin());
  beginInsertRows(QModelIndex(), row, row);
  entries_.insert(at, std::make_unique<Item>(Item{std::move(entry), false}));
  endInsertRows();
  if (current_ >= row) ++current_;
  return row;
}

void FileList::remove_at(int index) {
  if (index < 0 || index >= count()) return;
  beginRemoveRows(QModelIndex(), index, index);
  entries_.erase(entries_.begin() + index);
  endRemoveRows();
  if (current_ == index) {
    current_ = -1;
    emit current_changed(current_);
  } else if (current_ > index) {
    --current_;
  }
  if (top_index_ >= count()) set_top_index(std::max(0, count() - 1));
}

void FileList::clear() {
  assign({});
}

void FileList::assign(std::vector<Entry> entries) {
  std::vector<QString> texts;
  texts.reserve(entries.size());
  for (const Entry& e : entries) texts.push_back(e.text);
  const std::vector<size_t> order = collation::order(texts);
  texts = {};
  replace(entries, order);
}

void FileList::assign_sorted(std::vector<Entry> entries) {
  std::vector<size_t> order(entries.size());
  std::iota(order.begin(), order.end(), size_t{0});
  replace(entries, order);
}

void FileList::replace(std::vector<Entry>& entries, const std::vector<size_t>& order) {
  beginResetModel();
  entries_.clear();
  entries_.reserve(entries.size());
  for (size_t i : order)
    entries_.push_back(std::make_unique<Item>(Item{std::move(entries[i]), false}));
  current_ = -1;
  top_index_ = 0;
  endResetModel();
}

int FileList::find(const Entry& entry) const {
  for (auto it = lower_bound(entry.text); it != entries_.end() && (*it)->entry.text == entry.text;
       ++it) {
    if ((*it)->entry.same_as(entry)) return static_cast<int>(it - entries_.begin());
  }
  return -1;
}

int FileList::find_text(const QString& text) const {
  const auto it = lower_bound(text);
  return it != entries_.end() && (*it)->entry.text == text ? static_cast<int>(it - entries_.begin())
                                                           : -1;
}

void FileList::add_once(Entry entry) {
  if (find(entry) < 0) add(std::move(entry));
}

int FileList::remove(const Entry& entry) {
  const int at = find(entry);
  remove_at(at);
  return at;
}

bool FileList::is_selected(int index) const {
  return index >= 0 && index < count() && entries_[static_cast<size_t>(index)]->selected;
}

void FileList::set_selected(int index, bool selected) {
  if (index < 0 || index >= count()) return;
  Item& item = *entries_[static_cast<size_t>(index)];
  if (item.selected == selected) return;
  item.selected = selected;
  emit selection_changed();
}

void FileList::select_all() {
  for (const auto& item : entries_) item->selected = true;
  emit selection_changed();
}

bool FileList::any_selected() const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [](const std::unique_ptr<Item>& i) { return i->selected; });
}

void FileList::set_current(int index) {
  if (index < -1 || index >= count()) index = -1;
  if (current_ == index) return;
  current_ = index;
  emit current_changed(current_);
}

void FileList::set_top_index(int index) {
  index = std::clamp(index, 0, std::max(0, count() - 1));
  if (top_index_ == index) return;
  top_index_ = index;
  emit top_index_changed(top_index_);
}

int FileList::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant FileList::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= count()) return {};
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return text(index.row());
  return {};
}

}  // namespace tz
