#include "app/directory_menu.h"

#include "compare/panes.h"
#include "core/common.h"
#include "core/context.h"
#include "core/texts.h"
#include "platform/file_error.h"

namespace tz {

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
    const QString name = ask(text::subdir_name_prompt, text::creating_subdir_of + box_directory());
    if (!acceptable_name(name)) return;
    // Nothing typed names the box's own directory, which exists: the error says so.
    ctx_.fs().make_directory(with_backslash(box_directory()) + name);
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
    // The new name stays in the directory's own parent. Nothing typed is a rename to an
    // empty path, which the file system refuses.
    const QString target = name.isEmpty() ? QString() : with_backslash(parent_path(dir)) + name;
    ctx_.fs().rename(dir, target);
    panes_.set_directory(side(), target);
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
    common.show_busy(true);
    ctx_.fs().remove_tree(dir);
    common.show_busy(false);
    // The parent as it stands on disk: in upper case it could open another of two names
    // that differ in case only.
    panes_.set_directory(side(), parent_path(dir));
  } catch (const FileError& error) {
    report(error);
  }
}

QString DirectoryMenu::box_directory() const {
  return ctx_.window().pane(side()).path();
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
