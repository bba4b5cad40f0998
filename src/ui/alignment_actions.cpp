#include "ui/alignment_actions.h"

#include <QAbstractButton>
#include <QAction>

#include "align/bulk_align.h"
#include "align/deletion.h"
#include "app/tenzor.h"
#include "ui/list_drag.h"
#include "ui/main_window.h"

namespace tz::ui {

void connect_alignment_actions(Tenzor& tz, MainWindow& window) {
  auto on_click = [&window](const char* name, auto action) {
    auto* button = qobject_cast<QAbstractButton*>(window.control(QString::fromLatin1(name)));
    QObject::connect(button, &QAbstractButton::clicked, &window, action);
  };
  on_click("bot_delete", [&tz] { tz.deletion().bot_delete_Click(); });
  on_click("bot_cancel", [&tz] { tz.bulk_align().bot_cancel_Click(); });
  on_click("bot_list1", [&tz] { tz.bulk_align().bot_list_Click(ListId::List1); });
  on_click("bot_list2", [&tz] { tz.bulk_align().bot_list_Click(ListId::List2); });
  on_click("bot_list3", [&tz] { tz.bulk_align().bot_list_Click(ListId::List3); });
  on_click("bot_list4", [&tz] { tz.bulk_align().bot_list_Click(ListId::List4); });

  auto on_trigger = [&window](const char* name, auto action) {
    QObject::connect(window.menu_entry(QString::fromLatin1(name)), &QAction::triggered, &window,
                     action);
  };
  on_trigger("m_select_all", [&tz] { tz.deletion().m_select_all_Click(); });
  on_trigger("m_delete_all_files", [&tz] { tz.deletion().m_delete_all_files_Click(); });
  on_trigger("m_delete_selected_files", [&tz] { tz.deletion().m_delete_selected_files_Click(); });
  // The check mark of m_skip_delete_confirmations follows the entry by itself.

  new ListDrag(tz, window);
}

}  // namespace tz::ui
