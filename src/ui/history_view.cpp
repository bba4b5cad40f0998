#include "ui/history_view.h"

#include <QKeyEvent>

#include "app/tenzor.h"
#include "history/history.h"
#include "ui/control_binding.h"
#include "ui/fonts.h"

namespace tz::ui {

HistoryView::HistoryView(Tenzor& tz, QWidget* parent) : QListView(parent), tz_(tz) {
  WindowModel& w = tz_.window();
  set_control_name(this, w.history_box.name());
  setModel(&w.history);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  // Fixed pitch, so that the separators of short dir 1 paths line up.
  setFont(fixed_pitch_font(8.25));

  bind_widget(w.history_box, this, [](const QString&) {});
  connect(&w.history_box, &Control::changed, this, [this] {
    if (isVisible()) raise();  // in front of every other control
  });
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            tz_.window().history.set_selected(current.isValid() ? current.row() : -1);
          });
  connect(&w.history, &HistoryList::selected_changed, this, &HistoryView::selection_from_model);
  connect(this, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { tz_.history().history_DblClick(index.row()); });
}

void HistoryView::selection_from_model(int index) {
  const QModelIndex wanted = model()->index(index, 0);
  if (wanted == currentIndex() && selectionModel()->isSelected(wanted)) return;
  if (index < 0) {
    selectionModel()->clear();
    return;
  }
  selectionModel()->setCurrentIndex(wanted, QItemSelectionModel::ClearAndSelect);
}

void HistoryView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    tz_.history().m_delete_Click();
    return;
  }
  QListView::keyPressEvent(event);
}

}  // namespace tz::ui
