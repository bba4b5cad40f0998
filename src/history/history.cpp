#include "history/history.h"

#include <utility>

#include "compare/pair_opener.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

// Pairs the history keeps; a recording drops the oldest beyond these.
constexpr int most_pairs = 30;
// Dir 1's paths up to this length line up their separators in a fixed-pitch font.
constexpr int padded_width = 35;
// Longer than any pair of paths the host can hold: a longer line is no pair, and
// holding it would slow the history view down to a crawl.
constexpr qsizetype longest_line = 64 * 1024;

// True when `entry` comes back from the file as one line that opens `path1` and `path2`:
// a pair is opened at its first separator, each side without its blanks at both ends.
bool reads_back(const QString& entry, const QString& path1, const QString& path2) {
  if (entry.contains(u'\n')) return false;
  const qsizetype at = entry.indexOf(text::pair_separator);
  return entry.left(at).trimmed() == path1 &&
         entry.mid(at + text::pair_separator.size()).trimmed() == path2;
}

}  // namespace

QString History::entry_text(const QString& path1, const QString& path2) {
  return path1.leftJustified(padded_width, u' ') + text::pair_separator + path2;
}

void History::record_pair() {
  const WindowModel& w = ctx_.window();
  HistoryList& list = ctx_.window().history;
  const QString entry = entry_text(w.pane1.path(), w.pane2.path());
  // Kept out rather than saved as a line that would open another pair, or none.
  if (!reads_back(entry, w.pane1.path(), w.pane2.path())) {
    ctx_.message(text::history_kept_out_start + w.pane1.path() + text::pair_separator +
                 w.pane2.path() + text::history_kept_out_end);
    return;
  }
  for (int i = list.count() - 1; i >= 0; --i) {
    if (same_text(list.text(i), entry)) list.remove_at(i);
  }
  while (list.count() >= most_pairs) list.remove_at(list.count() - 1);
  list.insert(0, entry);
  save();
}

void History::load() {
  HistoryList& list = ctx_.window().history;
  const QByteArray& file = ctx_.globals().GLB_history_file;
  QStringList lines;
  unreadable_.reset();
  failure_said_ = false;
  try {
    if (!file.isEmpty()) lines = ctx_.fs().read_own_lines(file, longest_line);
  } catch (const FileError& error) {
    // Without a file yet the history is empty. One that is there but cannot be read
    // holds pairs all the same: a save must not replace it by the few of this run.
    if (error.number() != err::file_not_found) unreadable_ = error;
    lines.clear();
  }
  list.assign(std::move(lines));
}

void History::save() {
  const QByteArray& file = ctx_.globals().GLB_history_file;
  if (file.isEmpty()) return;
  try {
    if (unreadable_) throw *unreadable_;
    ctx_.fs().write_own_lines(file, ctx_.window().history.texts());
    failure_said_ = false;
  } catch (const FileError& error) {
    // The list stays as it is; the file keeps what it had. Said once, not at every
    // comparison, until a save succeeds again.
    if (std::exchange(failure_said_, true)) return;
    if (unreadable_) {
      ctx_.common().show_stopped(text::history_not_read, display_name(file), error,
                                 text::history_not_read_end);
    } else {
      ctx_.common().show_stopped(text::history_not_saved, display_name(file), error,
                                 text::history_not_saved_end);
    }
  }
}

QString History::first_entry() const {
  const HistoryList& list = ctx_.window().history;
  return list.count() > 0 ? list.text(0) : QString();
}

void History::show_view(bool shown) {
  WindowModel& w = ctx_.window();
  w.m_history.set_visible(!shown);
  w.m_file.set_visible(!shown);
  for (Control* entry : {&w.m_close, &w.m_select, &w.m_delete, &w.m_clear_all})
    entry->set_visible(shown);
  w.history_box.set_visible(shown);
}

void History::m_history_Click() {
  WindowModel& w = ctx_.window();
  if (w.history.count() == 0) {
    ctx_.message(text::no_history);
    return;
  }
  show_view(true);
  w.history.set_selected(0);
  emit w.focus_requested(w.history_box.name());
}

void History::m_close_Click() {
  show_view(false);
}

void History::m_select_Click() {
  const HistoryList& list = ctx_.window().history;
  if (list.selected() < 0) return;
  opener_.open_dir_pair(list.text(list.selected()), true);
}

void History::history_DblClick(int row) {
  ctx_.window().history.set_selected(row);
  m_select_Click();
}

void History::m_delete_Click() {
  HistoryList& list = ctx_.window().history;
  if (list.count() == 0) {
    m_close_Click();
    return;
  }
  if (list.selected() < 0) {
    ctx_.message(text::no_record_selected);
    return;
  }
  list.remove_at(list.selected());
  // Nothing is selected afterwards, whatever the view chose to show: a second delete
  // asks for a selection instead of taking the next pair.
  list.set_selected(-1);
  save();
  if (list.count() == 0) m_close_Click();
}

void History::m_clear_all_Click() {
  ctx_.window().history.assign({});
  save();
  m_close_Click();
}

bool History::view_visible() const {
  return ctx_.window().history_box.visible();
}

}  // namespace tz
