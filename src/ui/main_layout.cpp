#include "ui/main_layout.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <algorithm>
#include <cmath>

#include "app/tenzor.h"
#include "core/window_size.h"
#include "ui/twips.h"

namespace tz::ui {

namespace {

constexpr double design_font_points = 8.25;

}  // namespace

MainLayout::MainLayout(QMainWindow& window, Tenzor& tz)
    : QObject(&window), window_(window), tz_(tz) {
  WindowModel& w = tz_.window();
  connect(&w, &WindowModel::geometry_requested, this, &MainLayout::apply_geometry);
  connect(&w, &WindowModel::initial_layout_requested, this, &MainLayout::run_initial_layout);
  connect(&w, &WindowModel::resize_layout_requested, this, &MainLayout::run_resize_layout);
  window_.installEventFilter(this);
  // The places were drawn for captions of 8.25 point.
  QFont font = window_.font();
  font.setPointSizeF(design_font_points);
  window_.setFont(font);

  // The window is laid out at its smallest size even before the load step asks.
  keep_minimum_size();
  window_.resize(twips_to_pixels(design_window_width, dpi()),
                 twips_to_pixels(design_window_height - frame_height_twips(), dpi()));
  run_initial_layout();
}

QSizeF MainLayout::outer_size() const {
  const double d = dpi();
  return {static_cast<qreal>(pixels_to_twips(window_.width(), d)),
          static_cast<qreal>(pixels_to_twips(window_.height(), d) + frame_height_twips())};
}

bool MainLayout::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  switch (event->type()) {
    case QEvent::Resize:
      if (tz_.globals().GLB_loading) break;
      if (window_.isMinimized())
        resized_while_minimised_ = true;
      else
        run_resize_layout();
      break;
    case QEvent::WindowStateChange:
      if (resized_while_minimised_ && !window_.isMinimized()) {
        resized_while_minimised_ = false;
        if (!tz_.globals().GLB_loading) run_resize_layout();
      }
      break;
    default:
      break;
  }
  return false;
}

void MainLayout::apply_geometry(int left, int top, int width, int height) {
  const double d = dpi();
  keep_minimum_size();
  window_.resize(twips_to_pixels(static_cast<float>(width), d),
                 twips_to_pixels(static_cast<float>(height - frame_height_twips()), d));
  // A window's position is that of its frame.
  window_.move(twips_to_pixels(static_cast<float>(left), d),
               twips_to_pixels(static_cast<float>(top), d));
}

void MainLayout::run_initial_layout() {
  const QSizeF outer = outer_size();
  current_ = initial_layout(static_cast<float>(outer.width()), static_cast<float>(outer.height()));
  place();
}

void MainLayout::run_resize_layout() {
  const QSizeF outer = outer_size();
  current_ = resize_layout(current_, static_cast<float>(outer.width()),
                           static_cast<float>(outer.height()), tz_.globals().GLB_caption_extra);
  place();
}

void MainLayout::place() {
  const double d = dpi();
  for (const PlacedControl& control : placed_controls()) {
    auto* widget = window_.findChild<QWidget*>(QString::fromLatin1(control.name));
    if (!widget) continue;
    QRect rect = pixel_rect(current_.*control.rect, d);
    // The design's font was narrower than the ones at hand: a caption may reach past
    // its box rather than lose its last letters.
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap())
      rect.setWidth(std::max(rect.width(), label->sizeHint().width()));
    widget->setGeometry(rect);
  }
}

void MainLayout::keep_minimum_size() {
  const double d = dpi();
  window_.setMinimumSize(twips_to_pixels(design_window_width, d),
                         twips_to_pixels(design_window_height - frame_height_twips(), d));
}

double MainLayout::dpi() const {
  return logical_dpi(&window_);
}

int MainLayout::frame_height_twips() const {
  return tz_.services().facts.frame_height_twips();
}

}  // namespace tz::ui
