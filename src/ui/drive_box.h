#pragma once

#include <QChar>
#include <QComboBox>

namespace tz {
class PaneModel;
}

namespace tz::ui {

// A pane's drive box, showing drives as "c:". It always shows the pane's drive: a
// choice the logic refuses springs back.
class DriveBox : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveBox(PaneModel& pane, QWidget* parent = nullptr);

  // Shows the pane's drives and selects its drive.
  void show_pane();

  static QString drive_caption(QChar letter);

 signals:
  void drive_chosen(QChar letter);

 private:
  PaneModel& pane_;
};

}  // namespace tz::ui
