#include "ui/main_layout.h"

#include <QString>
#include <QWidget>
#include <algorithm>

#include "ui/twips.h"

namespace tz::ui {

namespace {

constexpr int margin = 60;
constexpr int pane_width = 2700;
constexpr int caption_height = 255;
constexpr int list_width = 1550;
constexpr int button_height = 375;
constexpr int frame_height = 650;
constexpr int frame_from_bottom = 1400;

class Placer {
 public:
  explicit Placer(QWidget& area) : area_(area), dpi_(logical_dpi(&area)) {}

  int width() const { return pixels_to_twips(area_.width(), dpi_); }

  void put(const QString& name, int left, int top, int width, int height) const {
    put_in(area_, name, left, top, width, height);
  }
  void put_in(QWidget& parent, const QString& name, int left, int top, int width,
              int height) const {
    if (auto* widget = parent.findChild<QWidget*>(name))
      widget->setGeometry(twips_rect(left, top, std::max(width, 0), std::max(height, 0), dpi_));
  }
  QWidget* find(const QString& name) const { return area_.findChild<QWidget*>(name); }

 private:
  QWidget& area_;
  double dpi_;
};

void place_pane(const Placer& p, int left, const QString& label, const QString& drive,
                const QString& dir, const QString& file, const QString& bytes) {
  p.put(label, left, margin, pane_width, caption_height);
  p.put(drive, left, 330, pane_width, 315);
  p.put(dir, left, 705, pane_width, 1750);
  p.put(file, left, 705, pane_width, 1750);
  p.put(bytes, left, 2500, pane_width, caption_height);
}

}  // namespace

void place_main_controls(QWidget& area, int outer_height_twips) {
  const Placer p(area);
  const int width = p.width();

  // Top band: the panes at the edges, the two drop boxes between them.
  place_pane(p, margin, "lab_dir1", "Drive1", "Dir1", "File1", "lab_bytes_dir1");
  place_pane(p, width - margin - pane_width, "lab_dir2", "Drive2", "Dir2", "File2",
             "lab_bytes_dir2");
  const int middle_left = margin + pane_width + 120;
  const int middle_width = width - 2 * middle_left;
  const int picture = 480;
  p.put("lab_drop_to_see", middle_left, 180, middle_width, caption_height);
  p.put("Picture1", middle_left, 480, picture, picture);
  p.put("Text1", middle_left + picture + 60, 480, middle_width - picture - 60, picture);
  p.put("lab_drop_to_delete", middle_left, 1380, middle_width, caption_height);
  p.put("Picture2", middle_left, 1680, picture, picture);
  p.put("Text2", middle_left + picture + 60, 1680, middle_width - picture - 60, picture);
  p.put("Label5", middle_left, 2400, middle_width, caption_height);

  // Bottom up: the button frame, the hint line, the align buttons.
  const int frame_top = outer_height_twips - frame_from_bottom;
  const int hint_top = frame_top - 540;
  const int buttons_top = hint_top - 60 - button_height;
  const int captions_top = 2880;
  const int lists_top = captions_top + caption_height + 30;
  const int lists_height = buttons_top - 60 - lists_top;

  // The lists side by side, the same-side and aligned ones in the middle.
  const char* const order[] = {"1", "3", "5", "4", "2"};
  const int gap = (width - 5 * list_width) / 6;
  for (int i = 0; i < 5; ++i) {
    const int left = gap + i * (list_width + gap);
    const QString n = QString::fromLatin1(order[i]);
    p.put(QStringLiteral("lab_list") + n, left, captions_top, list_width, caption_height);
    p.put(QStringLiteral("List") + n, left, lists_top, list_width, lists_height);
    const QString button =
        n == u"5" ? QStringLiteral("b_next_alignment") : QStringLiteral("bot_list") + n;
    p.put(button, left, buttons_top, list_width, button_height);
  }
  p.put("history", gap, captions_top, width - 2 * gap, buttons_top - 60 - captions_top);
  p.put("lab_drag_drop", margin, hint_top, width - 2 * margin, 480);

  p.put("Frame_bottoni", margin, frame_top, width - 2 * margin, frame_height);
  if (QWidget* frame = p.find("Frame_bottoni")) {
    const QString buttons[] = {"bot_compare_tree", "bot_compare", "bot_delete", "bot_cancel",
                               "bot_exit"};
    const int inner = width - 2 * margin;
    const int spacing = 120;
    const int button_width = (inner - 6 * spacing) / 5;
    for (int i = 0; i < 5; ++i)
      p.put_in(*frame, buttons[i], spacing + i * (button_width + spacing), 140, button_width,
               button_height);
  }
}

}  // namespace tz::ui
