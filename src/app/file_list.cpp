#include "app/file_list.h"

#include <algorithm>
#include <numeric>

namespace tz {

FileList::FileList(QObject* parent) : QAbstractListModel(parent) {}

bool FileList::less(const QString& a, const QString& b) {
  const int c = QString::compare(a.toCaseFolded(), b.toCaseFolded());
  return c != 0 ? c < 0 : a < b;
}

QStringList FileList::entries() const {
  QStringList out;
  out.reserve(count());
  for (const Item& item : entries_) out.append(item.text);
  return out;
}

int FileList::add(const QString& text) {
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), text,
                                   [](const QString& t, const Item& i) { return less(t, i.text); });
  const int row = static_cast<int>(at - entries_.begin());
  beginInsertRows(QModelIndex(), row, row);
  entries_.insert(at, Item{text, false});
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

void FileList::sort(std::vector<QString>& texts) {
  // Folding each text once, not at every comparison, keeps 100,000 entries fast.
  std::vector<QString> keys;
  keys.reserve(texts.size());
  for (const QString& t : texts) keys.push_back(t.toCaseFolded());
  std::vector<size_t> order(texts.size());
  std::iota(order.begin(), order.end(), size_t{0});
  const auto before = [&](size_t a, size_t b) {
    const int c = QString::compare(keys[a], keys[b]);
    return c != 0 ? c < 0 : texts[a] < texts[b];
  };
  if (std::is_sorted(order.begin(), order.end(), before)) return;
  std::sort(order.begin(), order.end(), before);
  std::vector<QString> sorted;
  sorted.reserve(texts.size());
  for (size_t i : order) sorted.push_back(std::move(texts[i]));
  texts = std::move(sorted);
}

void FileList::assign(std::vector<QString> texts) {
  sort(texts);
  beginResetModel();
  entries_.clear();
  entries_.reserve(texts.size());
  for (QString& t : texts) entries_.push_back(Item{std::move(t), false});
  current_ = -1;
  top_index_ = 0;
  endResetModel();
}

int FileList::find(const QString& text) const {
  // The entries are sorted by folded text, so a search halves its way to the run of
  // entries that fold alike: lookups stay cheap in lists of 100,000.
  const QString key = text.toCaseFolded();
  auto it = std::lower_bound(
      entries_.begin(), entries_.end(), key,
      [](const Item& item, const QString& k) { return item.text.toCaseFolded() < k; });
  int found = -1;
  for (; it != entries_.end() && it->text.toCaseFolded() == key; ++it) {
    const int at = static_cast<int>(it - entries_.begin());
    if (it->text == text) return at;
    if (found < 0) found = at;
  }
  return found;
}

void FileList::add_once(const QString& text) {
  if (find(text) < 0) add(text);
}

int FileList::remove(const QString& text) {
  const int at = find(text);
  remove_at(at);
  return at;
}

bool FileList::is_selected(int index) const {
  return index >= 0 && index < count() && entries_[static_cast<size_t>(index)].selected;
}

void FileList::set_selected(int index, bool selected) {
  if (index < 0 || index >= count()) return;
  Item& item = entries_[static_cast<size_t>(index)];
  if (item.selected == selected) return;
  item.selected = selected;
  emit selection_changed();
}

void FileList::select_all() {
  for (Item& item : entries_) item.selected = true;
  emit selection_changed();
}

bool FileList::any_selected() const {
  return std::any_of(entries_.begin(), entries_.end(), [](const Item& i) { return i.selected; });
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
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return entry(index.row());
  return {};
}

}  // namespace tz
