#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>

class QFrame;
class QLabel;
class QMouseEvent;
class QWidget;

namespace tz {
class MainWindow;
class Tenzor;
}  // namespace tz

namespace tz::ui {

class FileListView;

// The mouse on the five lists and the two drop targets. A press in a list drags its
// current entry inside the window: the drag is made by hand from the press, moves and
// release that the pressed list receives, so it works on every platform, offscreen
// included. The release drops the entry on whatever control lies under the pointer.
class ListDrag : public QObject {
  Q_OBJECT

 public:
  ListDrag(Tenzor& tz, MainWindow& window);
  ~ListDrag() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The named control under a point of the screen; "form_tenzor" for the window's own
  // background, empty outside the window.
  QString control_at(const QPoint& global) const;
  int list_number(const QObject* viewport) const;
  bool list_event(int n, QEvent* event);
  void start(int n, const QMouseEvent& press);
  void drag_over(const QPoint& global);
  void finish(int n, QMouseEvent* release);
  void drop_on(const QString& target);
  void show_no_drop(bool no_drop);

  Tenzor& tz_;
  MainWindow& window_;
  std::array<FileListView*, 5> lists_{};
  std::array<const QObject*, 5> viewports_{};
  QWidget* text1_ = nullptr;
  QWidget* text2_ = nullptr;
  QLabel* label5_ = nullptr;
  // What the user sees move: an outline of Label5 following the pointer.
  QFrame* outline_ = nullptr;

  int drag_list_ = 0;  // the list a drag is under way from
  Qt::MouseButton drag_button_ = Qt::NoButton;
  QPoint press_local_;
  QPoint press_global_;
  bool no_drop_shown_ = false;
  // Set while an event is passed on to a list's own handling.
  bool forwarding_ = false;
};

}  // namespace tz::ui
