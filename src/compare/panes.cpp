#include "compare/panes.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "compare/plain_files.h"
#include "core/common.h"
#include "core/context.h"
#include "core/parallel.h"
#include "models/collation.h"
#include "models/file_list.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

bool is_drive_form(const QString& path) {
  return path.size() >= 2 && path[0].isLetter() && path[1] == u':';
}

bool is_dot_entry(const QString& name) {
  return name == u"." || name == u"..";
}

// The plain files of a pane's directory as its file box: names only, so that a file
// whose status cannot be read costs nothing until an action needs it. Touches only what
// `pending` holds, so it may run on any thread.
FileBox read_file_box(const PendingFiles& pending) {
  std::vector<QString> texts;
  PackedNames names;
  pending.each([&texts, &names](ListedEntry& name) {
    texts.push_back(std::move(name.name));
    names.append(name.raw);
  });
  return file_box(pending.dir, texts, std::move(names), {});
}

}  // namespace

FileBox file_box(std::shared_ptr<OpenDirectory> dir, const std::vector<QString>& texts,
                 PackedNames names, std::vector<Seen> seen) {
  FileBox box{std::move(dir), {}, collation::order(texts), std::move(names), std::move(seen)};
  box.texts.reserve(static_cast<qsizetype>(texts.size()));
  for (size_t i : box.order) box.texts.append(texts[i]);
  return box;
}

void Panes::initialise() {
  const QList<QChar> drives = ctx_.fs().drives();
  ctx_.window().pane1.set_drives(drives);
  ctx_.window().pane2.set_drives(drives);
}

QChar Panes::current_drive() const {
  const QString cwd = ctx_.services().facts.current_directory();
  return cwd.isEmpty() ? QChar(u'C') : cwd[0].toUpper();
}

QString Panes::default_directory(QChar letter) const {
  // The current directory when it lies on that drive, as a drive remembers its own.
  const QString cwd = ctx_.services().facts.current_directory();
  if (!cwd.isEmpty() && cwd[0].toUpper() == letter) return cwd;
  return QString(letter) + QStringLiteral(":\\");
}

void Panes::set_drive(int pane, QChar letter) {
  letter = letter.toUpper();
  PaneModel& model = ctx_.window().pane(pane);
  if (model.drive() == letter) return;
  model.set_drive(letter);
  drive_changed(pane, letter);
}

void Panes::drive_changed(int pane, QChar letter) {
  Common& common = ctx_.common();
  WindowModel& window = ctx_.window();
  try {
    ctx_.fs().check_drive(letter);
    const BusyScope busy(common);
    ctx_.window().clear_free_space_labels();
    // Dir 1 clears first and so ends in the file view of both panes; dir 2 clears last
    // and so leaves all five lists empty.
    if (pane == 1) window.clear_lists();
    set_directory(pane, default_directory(letter));
    if (pane == 2) window.clear_lists();
  } catch (const FileError& e) {
    common.show_busy(false);
    ctx_.message(e.number_and_description());
    PaneModel& model = window.pane(pane);
    model.set_drive(model.path().isEmpty() ? QChar() : model.path()[0].toUpper());
  }
}

void Panes::set_directory(int pane, const QString& path) {
  // Only drive-form paths name a pane's directory.
  if (!is_drive_form(path)) throw FileError(err::bad_file_name);
  const QString canonical = ctx_.fs().canonical_path(path);
  const FileInfo info = ctx_.fs().info(canonical);
  if (!(info.attributes & attr::directory)) throw FileError(err::path_not_found);
  PaneModel& model = ctx_.window().pane(pane);
  if (canonical == model.path() || headless_) {
    directory_info_[pane - 1] = info;
    if (canonical == model.path()) return;
    model.set_directory(canonical, {}, {});
    (pane == 1 ? ctx_.globals().GLB_path1 : ctx_.globals().GLB_path2) = with_backslash(canonical);
    return;
  }
  // Everything that can fail is read before the pane changes: a directory that cannot be
  // read leaves the pane, its global path and the lists all on the old one.
  std::optional<FileBox> box;
  if (!deferring_) box = read_file_box(open_plain_files(ctx_.fs(), with_backslash(canonical)));
  if (deferring_directories_) {
    // Only the way down to it for now.
    model.set_directory(canonical, chain_to(canonical), {});
    directory_unread_[pane - 1] = true;
  } else {
    read_directory(pane, canonical);
  }
  directory_info_[pane - 1] = info;
  model.set_drive(canonical[0].toUpper());
  directory_changed(pane, std::move(box));
}

bool Panes::show_directory(int pane, const QString& path, OpenDirectory& dir, bool in_place) {
  if (!headless_ || !in_place) {
    set_directory(pane, path);
    return directory_info(pane).same_file(dir.self());
  }
  // What set_directory keeps without a window, from the directory held.
  directory_info_[pane - 1] = dir.self();
  PaneModel& model = ctx_.window().pane(pane);
  if (path == model.path()) return true;
  model.set_directory(path, {}, {});
  (pane == 1 ? ctx_.globals().GLB_path1 : ctx_.globals().GLB_path2) = with_backslash(path);
  return true;
}

QStringList Panes::chain_to(const QString& path) {
  QStringList chain;
  const QString root = path.left(3);
  chain.append(root);
  const QStringList parts = path.mid(3).split(u'\\', Qt::SkipEmptyParts);
  QString walk = root;
  for (const QString& part : parts) {
    walk = with_backslash(walk) + part;
    chain.append(walk);
  }
  return chain;
}

void Panes::read_directory(int pane, const QString& path) {
  const QStringList chain = chain_to(path);
  QStringList names;
  auto listing =
      ctx_.fs().list(with_backslash(path) + u'*', attr::directory | attr::directories_only);
  while (auto entry = listing->next()) {
    if ((entry->attributes & attr::directory) && !is_dot_entry(entry->name))
      names.append(entry->name);
  }
  std::sort(names.begin(), names.end(),
            [](const QString& a, const QString& b) { return collation::compare(a, b) < 0; });
  QStringList subdirs;
  QSet<QString>& unreachable = unreachable_rows_[pane - 1];
  unreachable.clear();
  for (const QString& name : names) {
    subdirs.append(with_backslash(path) + name);
    if (name.contains(u'\\')) unreachable.insert(subdirs.back());
  }
  ctx_.window().pane(pane).set_directory(path, chain, subdirs);
}

void Panes::directory_changed(int pane, std::optional<FileBox> box) {
  const BusyScope busy(ctx_.common());
  if (!deferring_directories_) add_hidden_folders(pane, false);
  // The file box follows the directory box, and the global path follows the file box.
  if (box) {
    PaneModel& model = ctx_.window().pane(pane);
    model.set_files(model.path(), std::move(*box));
  } else {
    refresh_file_box(pane);
  }
  QString& global = pane == 1 ? ctx_.globals().GLB_path1 : ctx_.globals().GLB_path2;
  global = with_backslash(ctx_.window().pane(pane).file_path());
  if (!deferring_) show_directory_files();
}

void Panes::refresh_file_box(int pane) {
  PaneModel& model = ctx_.window().pane(pane);
  if (deferring_) {
    // Filled by the comparison that reads the directory, or read at the end of the
    // load step.
    files_unread_[pane - 1] = true;
    model.set_files(model.path(), {});
    return;
  }
  FileBox box = read_file_box(open_plain_files(ctx_.fs(), with_backslash(model.path())));
  model.set_files(model.path(), std::move(box));
}

void Panes::defer_reading() {
  deferring_ = true;
  deferring_directories_ = true;
  for (int i = 0; i < 2; ++i) files_unread_[i] = directory_unread_[i] = false;
}

void Panes::read_deferred_directories() {
  if (!std::exchange(deferring_directories_, false)) return;
  for (int pane = 1; pane <= 2; ++pane) {
    if (!std::exchange(directory_unread_[pane - 1], false)) continue;
    read_directory(pane, ctx_.window().pane(pane).path());
    add_hidden_folders(pane, false);
  }
}

void Panes::fill_file_box(int pane, FileBox box) {
  if (!file_box_unread(pane)) return;
  files_unread_[pane - 1] = false;
  PaneModel& model = ctx_.window().pane(pane);
  model.set_files(model.path(), std::move(box));
}

bool Panes::read_deferred_file_boxes() {
  if (!deferring_) return false;
  deferring_ = false;
  if (!files_unread_[0] && !files_unread_[1]) return false;
  FileBox boxes[2];
  std::function<void()> read[2];
  for (int pane = 1; pane <= 2; ++pane) {
    read[pane - 1] = [] {};
    if (!std::exchange(files_unread_[pane - 1], false)) continue;
    PendingFiles files =
        open_plain_files(ctx_.fs(), with_backslash(ctx_.window().pane(pane).path()));
    read[pane - 1] = [&boxes, pane, files] { boxes[pane - 1] = read_file_box(files); };
  }
  // The two directories have nothing in common: each is read on a thread of its own.
  both_at_once(read[0], read[1]);
  for (int pane = 1; pane <= 2; ++pane) {
    FileBox& box = boxes[pane - 1];
    PaneModel& model = ctx_.window().pane(pane);
    if (box.dir) model.set_files(model.path(), std::move(box));
  }
  return true;
}

void Panes::open_row(int pane, int row) {
  PaneModel& model = ctx_.window().pane(pane);
  if (row < 0) row = model.highlighted();
  if (row < 0 || row >= model.rows().size()) return;
  const QString path = model.rows()[row];
  if (unreachable_rows_[pane - 1].contains(path)) {
    ctx_.message(path + text::not_a_drive_path);
    return;
  }
  try {
    set_directory(pane, path);
  } catch (const FileError& e) {
    ctx_.common().show_busy(false);
    ctx_.message(e.number_and_description());
  }
}

void Panes::m_refresh_Click() {
  const BusyScope busy(ctx_.common());
  for (int pane = 1; pane <= 2; ++pane) {
    const QString path = ctx_.window().pane(pane).path();
    if (path.isEmpty()) continue;
    try {
      read_directory(pane, path);
      // Re-reading alone would drop the hidden subdirectories the box showed.
      add_hidden_folders(pane, false);
    } catch (const FileError&) {
      // A directory that went away keeps the rows it had until the user moves on.
    }
  }
  ctx_.window().clear_free_space_labels();
}

void Panes::ensure_final_backslash_on_paths() {
  Globals& g = ctx_.globals();
  g.GLB_path1 = with_backslash(g.GLB_path1);
  g.GLB_path2 = with_backslash(g.GLB_path2);
}

void Panes::read_pane_paths() {
  Globals& g = ctx_.globals();
  g.GLB_path1 = ctx_.window().pane1.path();
  g.GLB_path2 = ctx_.window().pane2.path();
  ensure_final_backslash_on_paths();
}

void Panes::show_directory_files() {
  WindowModel& w = ctx_.window();
  w.lab_drag_drop.set_caption(QString());
  w.clear_lists();
  for (ListId id : aligned_by_button) w.align_button(id).set_visible(false);
  w.bot_cancel.set_enabled(false);
  w.lab_list1.set_caption(text::files_in_dir1);
  w.lab_list2.set_caption(text::files_in_dir2);
  for (ListId id : {ListId::List3, ListId::List4, ListId::List5})
    w.list_caption(id).set_caption(QString());
  w.file_view = true;
  fill_list_from(1, w.List1);
  fill_list_from(2, w.List2);
  w.b_next_alignment.set_visible(false);
  if (w.bot_compare_tree.visible()) emit w.focus_requested(w.bot_compare_tree.name());
}

void Panes::fill_list_from(int pane, FileList& target) {
  const PaneModel& model = ctx_.window().pane(pane);
  // The list's entries now stand in this pane's directory.
  ctx_.window().listed_dir(pane) = model.file_dir();
  target.assign_sorted(model.file_entries());
}

void Panes::add_hidden_folders(int pane, bool include_system) {
  PaneModel& model = ctx_.window().pane(pane);
  if (model.path().isEmpty()) return;
  try {
    auto listing =
        ctx_.fs().list(with_backslash(model.path()) + u'*',
                       attr::hidden | attr::system | attr::directory | attr::directories_only);
    while (auto entry = listing->next()) {
      const int a = entry->attributes;
      if (!(a & attr::directory) || !(a & attr::hidden)) continue;
      if ((a & attr::system) && !include_system) continue;
      const QString name = strip_nulls(entry->name);
      if (is_dot_entry(name)) continue;
      // Alphabetical place among the listed subdirectories, scanning from the last.
      const QStringList subdirs = model.subdirectories();
      int position = 0;
      bool listed = false;
      for (int i = static_cast<int>(subdirs.size()) - 1; i >= 0; --i) {
        const int c =
            QString::compare(PaneModel::row_caption(subdirs[i]), name, Qt::CaseInsensitive);
        if (c == 0) {
          listed = true;
          break;
        }
        if (c < 0) {
          position = i + 1;
          break;
        }
      }
      if (listed) continue;
      const QString row = with_backslash(model.path()) + name;
      model.insert_subdirectory(position, row);
      if (name.contains(u'\\')) unreachable_rows_[pane - 1].insert(row);
    }
  } catch (const FileError&) {
    // A box that cannot report its rows keeps them as they are.
  }
}

QString Panes::strip_nulls(const QString& text) {
  const qsizetype nul = text.indexOf(QChar(0));
  return nul < 0 ? text : text.left(nul);
}

void Panes::fall_back_to_root(QChar letter) {
  set_drive(1, letter);
  set_drive(2, letter);
  const QString root = QString(letter) + QStringLiteral(":\\");
  try {
    set_directory(1, root);
    set_directory(2, root);
  } catch (const FileError&) {
    // The drive's root is as far back as the panes can go.
  }
}

}  // namespace tz
