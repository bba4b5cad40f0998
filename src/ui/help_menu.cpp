#include "ui/help_menu.h"

#include <QAction>
#include <QPointer>

#include "app/tenzor.h"
#include "help/help.h"
#include "ui/main_window.h"
#include "ui/text_window.h"

namespace tz::ui {

void connect_help_menu(Tenzor& tz, MainWindow& window) {
  // The text window goes with the main window; the help outlives both.
  QPointer<BigBox> big_box = new BigBox(window, tz.services().facts);
  Help& help = tz.help();
  help.set_big_box([big_box](const QString& msg, const QString& capt) {
    if (big_box) big_box->Big_box(msg, capt);
  });
  auto on_trigger = [&window, &help](const char* name, void (Help::*click)()) {
    QObject::connect(window.menu_entry(QString::fromLatin1(name)), &QAction::triggered, &window,
                     [&help, click] { (help.*click)(); });
  };
  on_trigger("m_comman_line", &Help::m_comman_line_Click);
  on_trigger("m_directory_flags", &Help::m_directory_flags_Click);
  on_trigger("m_version_history", &Help::m_version_history_Click);
  on_trigger("m_web_site", &Help::m_web_site_Click);
  on_trigger("m_about", &Help::m_about_Click);
}

}  // namespace tz::ui
