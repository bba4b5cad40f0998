#include "ui/directory_menu_view.h"

#include <QAction>
#include <QMenu>

#include "app/tenzor.h"
#include "directory_menu/directory_menu.h"
#include "ui/directory_box.h"
#include "ui/main_window.h"

namespace tz::ui {

void connect_directory_menu(Tenzor& tz, MainWindow& window) {
  DirectoryMenu& menu = tz.directory_menu();
  QMenu* popup = window.menu(QStringLiteral("m_popup_dir"));
  for (int side = 1; side <= 2; ++side) {
    auto* box = qobject_cast<DirectoryBox*>(window.control(QStringLiteral("Dir%1").arg(side)));
    QObject::connect(box, &DirectoryBox::right_pressed, &window,
                     [&menu, popup, side](const QPoint& at) {
                       menu.Dir_MouseDown(side);
                       popup->popup(at);
                     });
  }
  auto on_trigger = [&window](const char* name, auto action) {
    QObject::connect(window.menu_entry(QString::fromLatin1(name)), &QAction::triggered, &window,
                     action);
  };
  on_trigger("m_rename_dir", [&menu] { menu.m_rename_dir_Click(); });
  on_trigger("m_delete_dir", [&menu] { menu.m_delete_dir_Click(); });
  on_trigger("m_create_dir", [&menu] { menu.m_create_dir_Click(); });
}

}  // namespace tz::ui
