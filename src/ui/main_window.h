#pragma once

#include <QMainWindow>
#include <QString>

class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QPushButton;

namespace tz {

class Control;
class Tenzor;

// The main window: a view of the logic's window model. It shows the model's controls
// and turns the user's gestures into calls of the logic.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(Tenzor& tz, QWidget* parent = nullptr);

  // The widget, menu or menu entry standing for a named control; null when none.
  QWidget* control(const QString& name) const;
  QAction* menu_entry(const QString& name) const;
  QMenu* menu(const QString& name) const;

 protected:
  // Every way of closing the window ends here: running work stops after the file in
  // progress and the program ends.
  void closeEvent(QCloseEvent* event) override;

 private:
  void build_panes(QWidget* area);
  void build_drop_boxes(QWidget* area);
  void build_lists(QWidget* area);
  void build_buttons(QWidget* area);
  void build_menus();
  void set_tab_order();

  QLabel* add_label(Control& control, QWidget* parent);
  QPushButton* add_button(Control& control, QWidget* parent);
  QAction* add_entry(Control& control, QMenu* menu);
  QMenu* add_menu(Control& control);

  Tenzor& tz_;
};

}  // namespace tz
