#pragma once

#include <QObject>
#include <QSizeF>
#include <vector>

#include "ui/fonts.h"
#include "ui/window_layout.h"

class QMainWindow;

namespace tz {
class Tenzor;
}

namespace tz::ui {

// Keeps the main window's controls where the window layout puts them: applies the
// outer geometry the logic asks for, the initial layout as the window loads and the
// resize layout on every later change of size. Twips become pixels at the screen's
// resolution. The title bar and borders lie outside the widget; the side borders, a
// pixel or two, are not counted in the window's width.
class MainLayout : public QObject {
  Q_OBJECT

 public:
  MainLayout(QMainWindow& window, Tenzor& tz);

  const WindowLayout& current() const { return current_; }
  // The window's outer size in twips, frame included.
  QSizeF outer_size() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void apply_geometry(int left, int top, int width, int height);
  void run_initial_layout();
  void run_resize_layout();
  void place();
  void keep_minimum_size();
  // Each caption a placed control may show, with the room it has at the smallest size.
  std::vector<CaptionRoom> caption_rooms() const;

  double dpi() const;
  int frame_height_twips() const;

  QMainWindow& window_;
  Tenzor& tz_;
  WindowLayout current_;
  // A change of size while minimised is laid out when the window comes back.
  bool resized_while_minimised_ = false;
};

}  // namespace tz::ui
