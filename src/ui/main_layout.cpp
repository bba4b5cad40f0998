#include "ui/main_layout.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/tenzor.h"
#include "models/window_size.h"
#include "texts/texts.h"
#include "ui/fonts.h"
#include "ui/twips.h"

namespace tz::ui {

namespace {

constexpr double design_font_points = 8.25;
// Below this a caption is whole but hard to read.
constexpr double smallest_font_points = 6;

// The captions a control shows besides the one it is built with.
QStringList later_captions(const QString& name) {
  if (name.startsWith(u"bot_list"))
    return {text::align_these_files, text::align_selected_files, text::align_all_files};
  // The five list captions have one width: each may take any list's caption.
  if (name.startsWith(u"lab_list"))
    return {text::design_list1, text::design_list3,  text::only_in_dir1,
            text::only_in_dir2, text::newer_in_dir1, text::newer_in_dir2,
            text::aligned,      text::files_in_dir1, text::files_in_dir2};
  return {};
}

// What a button's frame takes of its width.
int button_margin(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.rect = QRect(0, 0, 100, 20);
  const QRect contents =
      button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
  return option.rect.width() - contents.width();
}

}  // namespace

MainLayout::MainLayout(QMainWindow& window, Tenzor& tz)
    : QObject(&window), window_(window), tz_(tz) {
  WindowModel& w = tz_.window();
  connect(&w, &WindowModel::geometry_requested, this, &MainLayout::apply_geometry);
  connect(&w, &WindowModel::initial_layout_requested, this, &MainLayout::run_initial_layout);
  connect(&w, &WindowModel::resize_layout_requested, this, &MainLayout::run_resize_layout);
  window_.installEventFilter(this);
  // The places were drawn for captions of 8.25 point in a narrower font than any at
  // hand: the size is the largest at which every caption is whole.
  window_.setFont(
      fitting_font(window_.font(), design_font_points, smallest_font_points, caption_rooms()));

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

std::vector<CaptionRoom> MainLayout::caption_rooms() const {
  // The smallest window gives every control its least room, in one layout or the other.
  const double d = dpi();
  const WindowLayout first = initial_layout(design_window_width, design_window_height);
  const WindowLayout later = resize_layout(first, design_window_width, design_window_height, 0);
  std::vector<CaptionRoom> rooms;
  for (const PlacedControl& control : placed_controls()) {
    const QString name = QString::fromLatin1(control.name);
    auto* widget = window_.findChild<QWidget*>(name);
    QString caption;
    int margin = 0;
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      caption = button->text();
      margin = button_margin(*button);
    } else if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
      caption = label->text();
    } else {
      continue;
    }
    const int width = std::min(pixel_rect(first.*control.rect, d).width(),
                               pixel_rect(later.*control.rect, d).width());
    QStringList texts = later_captions(name);
    texts << caption;
    for (const QString& text : texts) rooms.push_back({text, static_cast<double>(width - margin)});
  }
  return rooms;
}

void MainLayout::place() {
  const double d = dpi();
  QRect frame;
  for (const PlacedControl& control : placed_controls()) {
    auto* widget = window_.findChild<QWidget*>(QString::fromLatin1(control.name));
    if (!widget) continue;
    QRect rect = pixel_rect(current_.*control.rect, d);
    if (widget->objectName() == u"Frame_bottoni") frame = rect;
    widget->setGeometry(rect);
  }
  // The hint line was drawn deeper than the room between the align buttons and the
  // button frame: it shows whole lines only, and rises for the first one, so that no
  // line runs over the frame's border or is cut in half.
  auto* hint = window_.findChild<QWidget*>(QStringLiteral("lab_drag_drop"));
  auto* buttons = window_.findChild<QWidget*>(QStringLiteral("bot_list1"));
  if (hint != nullptr && buttons != nullptr) {
    const int line = hint->fontMetrics().lineSpacing();
    QRect rect = hint->geometry();
    const int top =
        std::max(std::min(rect.top(), frame.top() - line), buttons->geometry().bottom() + 1);
    const int lines = std::max(0, (frame.top() - top) / line);
    rect.moveTop(top);
    rect.setHeight(std::min(rect.height(), lines * line));
    hint->setGeometry(rect);
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
