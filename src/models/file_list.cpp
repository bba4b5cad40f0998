#include "models/file_list.h"

#include <algorithm>
#include <iterator>

#include "models/collation.h"

namespace tz {

namespace {

// The positions of `entries` in the lists' order.
std::vector<size_t> list_order(const std::vector<Entry>& entries) {
  std::vector<QString> texts;
  texts.reserve(entries.size());
  for (const Entry& e : entries) texts.push_back(e.text);
  return collation::order(texts);
}

}  // namespace

FileList::FileList(QObject* parent) : QAbstractListModel(parent) {}

QStringList FileList::texts() const {
  QStringList out;
  out.reserve(count());
  for (const Entry& entry : entries_) out.append(entry.text);
  return out;
}

std::vector<Entry>::const_iterator FileList::lower_bound(const QString& text) const {
  // The entries are sorted, so a search halves its way to the run of entries that
  // show `text`: lookups stay cheap in lists of 100,000.
  return std::lower_bound(
      entries_.begin(), entries_.end(), text,
      [](const Entry& entry, const QString& t) { return collation::compare(entry.text, t) < 0; });
}

std::vector<Entry>::const_iterator FileList::upper_bound(const QString& text) const {
  return std::upper_bound(
      entries_.cbegin(), entries_.cend(), text,
      [](const QString& t, const Entry& entry) { return collation::compare(t, entry.text) < 0; });
}

int FileList::add(Entry entry) {
  const int row = static_cast<int>(upper_bound(entry.text) - entries_.cbegin());
  beginInsertRows(QModelIndex(), row, row);
  entries_.insert(entries_.begin() + row, std::move(entry));
  selected_.insert(selected_.begin() + row, false);
  endInsertRows();
  if (current_ >= row) ++current_;
  return row;
}

void FileList::remove_at(int index) {
  if (index < 0 || index >= count()) return;
  remove_rows(index, index);
  if (top_index_ >= count()) set_top_index(std::max(0, count() - 1));
}

void FileList::remove_rows(int first, int last) {
  beginRemoveRows(QModelIndex(), first, last);
  entries_.erase(entries_.begin() + first, entries_.begin() + last + 1);
  selected_.erase(selected_.begin() + first, selected_.begin() + last + 1);
  endRemoveRows();
  if (current_ >= first && current_ <= last) {
    current_ = -1;
    emit current_changed(current_);
  } else if (current_ > last) {
    current_ -= last - first + 1;
  }
}

void FileList::clear() {
  assign({});
}

void FileList::assign(std::vector<Entry> entries) {
  const std::vector<size_t> order = list_order(entries);
  // Into list order where they are: a list of 100,000 never holds its entries twice.
  std::vector<bool> placed(entries.size());
  for (size_t start = 0; start < entries.size(); ++start) {
    if (placed[start]) continue;
    // Position i takes the entry at order[i]: follow the cycle through `start`.
    Entry held = std::move(entries[start]);
    size_t i = start;
    for (;;) {
      placed[i] = true;
      const size_t from = order[i];
      if (from == start) break;
      entries[i] = std::move(entries[from]);
      i = from;
    }
    entries[i] = std::move(held);
  }
  assign_sorted(std::move(entries));
}

void FileList::assign_sorted(std::vector<Entry> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  selected_.assign(entries_.size(), false);
  current_ = -1;
  top_index_ = 0;
  endResetModel();
}

int FileList::find(const Entry& entry) const {
  for (auto it = lower_bound(entry.text); it != entries_.end() && it->text == entry.text; ++it) {
    if (it->same_as(entry)) return static_cast<int>(it - entries_.begin());
  }
  return -1;
}

int FileList::find_text(const QString& text) const {
  const auto it = lower_bound(text);
  return it != entries_.end() && it->text == text ? static_cast<int>(it - entries_.begin()) : -1;
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
    remove_rows(rows[begin], rows[end - 1]);
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
  const std::vector<size_t> order = list_order(entries);
  std::vector<Entry> added;
  added.reserve(entries.size());
  for (size_t i : order) {
    Entry& entry = entries[i];
    if (find(entry) >= 0) continue;
    bool twice = false;  // among the new ones, which show alike next to each other
    for (auto it = added.rbegin(); !twice && it != added.rend() && it->text == entry.text; ++it)
      twice = it->same_as(entry);
    if (twice) continue;
    added.push_back(std::move(entry));
  }
  if (added.empty()) return;
  // Where add() would put each: new entries that go to a few places (the end of a list
  // being filled in order, say) are inserted there in runs; others are merged in.
  constexpr size_t inserted_runs = 8;
  std::vector<size_t> at(added.size());
  size_t runs = 0;
  for (size_t i = 0; i < added.size(); ++i) {
    at[i] = static_cast<size_t>(upper_bound(added[i].text) - entries_.cbegin());
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
      selected_.insert(selected_.begin() + row, n, false);
      endInsertRows();
      if (current_ >= row) current_ += n;
      end = begin;
    }
    return;
  }
  beginResetModel();
  std::vector<Entry> merged;
  std::vector<char> selected;
  merged.reserve(entries_.size() + added.size());
  selected.reserve(entries_.size() + added.size());
  int current = -1, top = 0;
  // An entry already listed goes before new ones that show alike, as add() puts them.
  size_t old = 0, next = 0;
  while (old < entries_.size() || next < added.size()) {
    const bool take_old =
        next == added.size() ||
        (old < entries_.size() && collation::compare(added[next].text, entries_[old].text) >= 0);
    if (take_old) {
      if (static_cast<int>(old) == current_) current = static_cast<int>(merged.size());
      if (static_cast<int>(old) == top_index_) top = static_cast<int>(merged.size());
      merged.push_back(std::move(entries_[old]));
      selected.push_back(selected_[old++]);
    } else {
      merged.push_back(std::move(added[next++]));
      selected.push_back(false);
    }
  }
  entries_ = std::move(merged);
  selected_ = std::move(selected);
  current_ = current;
  top_index_ = top;
  endResetModel();
}

bool FileList::is_selected(int index) const {
  return index >= 0 && index < count() && selected_[static_cast<size_t>(index)];
}

void FileList::set_selected(int index, bool selected) {
  if (index < 0 || index >= count()) return;
  char& flag = selected_[static_cast<size_t>(index)];
  if (static_cast<bool>(flag) == selected) return;
  flag = selected;
  emit selection_changed();
}

void FileList::select_all() {
  std::fill(selected_.begin(), selected_.end(), true);
  emit selection_changed();
}

bool FileList::any_selected() const {
  return std::find(selected_.begin(), selected_.end(), true) != selected_.end();
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
