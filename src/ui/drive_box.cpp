#include "ui/drive_box.h"

#include <QSignalBlocker>

#include "models/pane_model.h"

namespace tz::ui {

DriveBox::DriveBox(PaneModel& pane, QWidget* parent) : QComboBox(parent), pane_(pane) {
  connect(this, &QComboBox::activated, this,
          [this](int index) { emit drive_chosen(itemData(index).toChar()); });
  connect(&pane_, &PaneModel::drive_changed, this, &DriveBox::show_pane);
  show_pane();
}

QString DriveBox::drive_caption(QChar letter) {
  return QString(letter.toLower()) + QLatin1Char(':');
}

void DriveBox::show_pane() {
  const QSignalBlocker blocker(this);
  const QList<QChar>& drives = pane_.drives();
  bool same = count() == drives.size();
  for (int i = 0; same && i < count(); ++i) same = itemData(i).toChar() == drives[i];
  if (!same) {
    clear();
    for (QChar letter : drives) addItem(drive_caption(letter), QVariant(letter));
  }
  int current = -1;
  for (int i = 0; i < count(); ++i)
    if (itemData(i).toChar().toUpper() == pane_.drive().toUpper()) current = i;
  setCurrentIndex(current);
}

}  // namespace tz::ui
