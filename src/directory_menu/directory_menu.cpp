#include "directory_menu/directory_menu.h"

#include "compare/panes.h"
#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "platform/name_matching.h"
#include "texts/texts.h"

namespace tz {

namespace {

bool missing(const FileError& error) {
  return error.number() == err::file_not_found || error.number() == err::path_not_found;
}

}  // namespace

QString DirectoryMenu::last_path_component(const QString& path) {
  for (qsizetype i = path.size() - 1; i >= 0; --i) {
    // A colon stands for the drive only after its letter; a host's name may hold one.
    if (path[i] == u'\\' || (i == 1 && path[i] == u':')) return path.mid(i + 1);
  }
  return path;
}

QString DirectoryMenu::parent_path(const QString& path) {
  QString parent = path.left(path.size() - last_path_component(path).size());
  if (parent.endsWith(u'\\')) parent.chop(1);
  return parent;
}

void DirectoryMenu::m_create_dir_Click() {
  try {
    const QString dir = box_directory();
    const QString name = ask(text::subdir_name_prompt, text::creating_subdir_of + dir);
    if (!acceptable_name(name)) return;
    const std::shared_ptr<OpenDirectory> opened = open_box_directory(dir);
    if (!opened) return;
    // Nothing typed names the box's own directory, which exists; a name taken in another
    // case would make two directories one in drive form.
    if (name.isEmpty()) throw FileError(err::path_file_access);
    const QString key = name_key(name);
    for (const ListedEntry& entry : opened->entries(attr::hidden | attr::system | attr::directory))
      if (name_key(entry.name) == key) throw FileError(err::path_file_access);
    opened->make_subdirectory(name.toUtf8());
    // Whichever box lists the same place shows the new subdirectory.
    panes_.m_refresh_Click();
  } catch (const FileError& error) {
    report(error);
  }
}

void DirectoryMenu::m_rename_dir_Click() {
  try {
    const QString dir = box_directory();
    const QString name = ask(text::new_dir_name_prompt, text::renaming + dir);
    if (!acceptable_name(name)) return;
    if (last_path_component(dir).isEmpty()) throw FileError(err::path_file_access);  // a root
    const std::optional<Held> held = hold_box_directory(dir);
    if (!held) return;
    // The new name stays in the directory's own parent. Nothing typed is an empty name,
    // which the file system refuses.
    held->parent->rename(held->name, name.toUtf8());
    panes_.set_directory(side(), with_backslash(parent_path(dir)) + name);
  } catch (const FileError& error) {
    report(error);
  }
}

void DirectoryMenu::m_delete_dir_Click() {
  Common& common = ctx_.common();
  try {
    const QString dir = box_directory();
    if (drive_root(dir)) {
      ctx_.message(dir + text::drive_root_not_deleted);
      return;
    }
    if (ctx_.message(text::delete_dir_question + dir + text::question_end, Buttons::YesNo,
                     Icon::Question, 1) != Answer::Yes)
      return;
    const std::optional<Held> held = hold_box_directory(dir);
    if (!held) return;
    BusyScope busy(common);
    try {
      held->parent->remove_tree(held->name, panes_.directory_info(side()));
    } catch (const RemovalStopped& stopped) {
      try {
        if (stopped.removed_some()) show_what_is_left();
      } catch (const FileError&) {
        // What is left cannot be read back: no list keeps names that may be gone.
        ctx_.window().clear_lists();
      }
      busy.release();
      common.show_stopped(
          text::delete_dir_stopped, stopped.where(), stopped,
          stopped.removed_some() ? text::delete_dir_stopped_some : text::delete_dir_stopped_none);
      return;
    }
    // The parent as it stands on disk: in upper case it could open another of two names
    // that differ in case only.
    panes_.set_directory(side(), parent_path(dir));
    show_what_is_left();
  } catch (const FileError& error) {
    report(error);
  }
}

QString DirectoryMenu::box_directory() const {
  return ctx_.window().pane(side()).path();
}

bool DirectoryMenu::still_open(int pane) {
  try {
    return ctx_.fs().info(ctx_.window().pane(pane).path()).same_file(panes_.directory_info(pane));
  } catch (const FileError&) {
    return false;
  }
}

std::shared_ptr<OpenDirectory> DirectoryMenu::open_box_directory(const QString& dir) {
  try {
    std::shared_ptr<OpenDirectory> opened = ctx_.fs().open_directory(dir);
    if (opened->self().same_file(panes_.directory_info(side()))) return opened;
  } catch (const FileError& error) {
    if (!missing(error)) throw;
  }
  ctx_.message(dir + text::dir_gone);
  return nullptr;
}

std::optional<DirectoryMenu::Held> DirectoryMenu::hold_box_directory(const QString& dir) {
  try {
    // The exact name the box shows, and the directory the box opened by it: a twin that
    // differs in case, or another directory put in its place, is not it.
    Held held{ctx_.fs().open_directory(with_backslash(parent_path(dir))),
              last_path_component(dir).toUtf8()};
    if (held.parent->exists(held.name) &&
        held.parent->info(held.name).same_file(panes_.directory_info(side())))
      return held;
  } catch (const FileError& error) {
    if (!missing(error)) throw;
  }
  ctx_.message(dir + text::dir_gone);
  return std::nullopt;
}

void DirectoryMenu::show_what_is_left() {
  // A box whose directory went with the tree moves up to the nearest one still there.
  for (int pane = 1; pane <= 2; ++pane) {
    QString path = ctx_.window().pane(pane).path();
    while (!path.isEmpty() && !still_open(pane) && !last_path_component(path).isEmpty()) {
      path = parent_path(path);
      try {
        panes_.set_directory(pane, path);
      } catch (const FileError&) {
        // Gone as well: further up.
      }
    }
  }
  panes_.m_refresh_Click();
  for (int pane = 1; pane <= 2; ++pane) panes_.refresh_file_box(pane);
  panes_.show_directory_files();
}

QString DirectoryMenu::ask(const QString& prompt, const QString& title) {
  return ctx_.services().dialogs.input_box(prompt, title, QString()).value_or(QString());
}

bool DirectoryMenu::acceptable_name(const QString& name) {
  if (!name.contains(u'\\') && !name.contains(u'/') && name != u"." && name != u"..") return true;
  ctx_.message(text::dir_name_refused + name + text::dir_name_refused_end);
  return false;
}

bool DirectoryMenu::drive_root(const QString& dir) {
  // Also a drive's root that stands inside another drive (a medium mounted below C:\).
  FileSystem& fs = ctx_.fs();
  for (const QChar letter : fs.drives())
    if (fs.same_file(dir, QString(letter) + QStringLiteral(":\\"))) return true;
  return false;
}

void DirectoryMenu::report(const FileError& error) {
  ctx_.common().show_busy(false);
  ctx_.common().show_error_message(error);
}

}  // namespace tz
