#include "core/file_list.h"

#include <algorithm>
#include <iterator>
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

FileList::Items::const_iterator FileList::upper_bound(const QString& text) const {
  return std::upper_bound(entries_.cbegin(), entries_.cend(), text,
                          [](const QString& t, const std::unique_ptr<Item>& item) {
                            return collation::compare(t, item->entry.text) < 0;
                          });
}

int FileList::add(Entry entry) {
  const auto at = upper_bound(entry.text);
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

void FileList::remove_all(const std::vector<Entry>& entries) {
  std::vector<int> rows;
  rows.reserve(entries.size());
  for (const Entry& entry : entries)
    if (const int row = find(entry); row >= 0) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  // Runs of neighbouring rows go together, the last run first, so that the rows of
  // the runs before it keep their positions.
  for (size_t end = rows.size(); end > 0;) {
    size_t begin = end - 1;
    while (begin > 0 && rows[begin - 1] == rows[begin] - 1) --begin;
    const int first = rows[begin], last = rows[end - 1];
    beginRemoveRows(QModelIndex(), first, last);
    entries_.erase(entries_.begin() + first, entries_.begin() + last + 1);
    endRemoveRows();
    if (current_ >= first && current_ <= last) {
      current_ = -1;
      emit current_changed(current_);
    } else if (current_ > last) {
      current_ -= last - first + 1;
    }
    end = begin;
  }
  if (top_index_ >= count()) set_top_index(std::max(0, count() - 1));
}

void FileList::add_all_once(std::vector<Entry> entries) {
  // A few are inserted where they belong; many are merged in with the list laid out
  // once.
  constexpr size_t merged_from = 16;
  if (entries.size() < merged_from) {
    for (Entry& entry : entries) add_once(std::move(entry));
    return;
  }
  std::vector<QString> texts;
  texts.reserve(entries.size());
  for (const Entry& e : entries) texts.push_back(e.text);
  const std::vector<size_t> order = collation::order(texts);
  texts = {};
  Items added;
  added.reserve(entries.size());
  for (size_t i : order) {
    Entry& entry = entries[i];
    if (find(entry) >= 0) continue;
    bool twice = false;  // among the new ones, which show alike next to each other
    for (auto it = added.rbegin(); !twice && it != added.rend() && (*it)->entry.text == entry.text;
         ++it)
      twice = (*it)->entry.same_as(entry);
    if (twice) continue;
    added.push_back(std::make_unique<Item>(Item{std::move(entry), false}));
  }
  if (added.empty()) return;
  // Where add() would put each: new entries that go to a few places (the end of a list
  // being filled in order, say) are inserted there in runs; others are merged in.
  constexpr size_t inserted_runs = 8;
  std::vector<size_t> at(added.size());
  size_t runs = 0;
  for (size_t i = 0; i < added.size(); ++i) {
    at[i] = static_cast<size_t>(upper_bound(added[i]->entry.text) - entries_.cbegin());
    if (i == 0 || at[i] != at[i - 1]) ++runs;
  }
  if (runs <= inserted_runs) {
    // The last run first, so that the places of the runs before it stay.
    for (size_t end = added.size(); end > 0;) {
      size_t begin = end - 1;
      while (begin > 0 && at[begin - 1] == at[end - 1]) --begin;
      const int row = static_cast<int>(at[begin]), n = static_cast<int>(end - begin);
      beginInsertRows(QModelIndex(), row, row + n - 1);
      entries_.insert(entries_.begin() + row, std::make_move_iterator(added.begin() + begin),
                      std::make_move_iterator(added.begin() + end));
      endInsertRows();
      if (current_ >= row) current_ += n;
      end = begin;
    }
    return;
  }
  const Item* current = current_ >= 0 ? entries_[static_cast<size_t>(current_)].get() : nullptr;
  const Item* top = count() > 0 ? entries_[static_cast<size_t>(top_index_)].get() : nullptr;
  beginResetModel();
  Items merged;
  merged.reserve(entries_.size() + added.size());
  // An entry already listed goes before new ones that show alike, as add() puts them.
  std::merge(std::make_move_iterator(entries_.begin()), std::make_move_iterator(entries_.end()),
             std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
             std::back_inserter(merged),
             [](const std::unique_ptr<Item>& a, const std::unique_ptr<Item>& b) {
               return collation::compare(a->entry.text, b->entry.text) < 0;
             });
  entries_ = std::move(merged);
  current_ = -1;
  top_index_ = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].get() == current) current_ = static_cast<int>(i);
    if (entries_[i].get() == top) top_index_ = static_cast<int>(i);
  }
  endResetModel();
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
