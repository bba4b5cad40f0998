#include "ui/fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>

namespace tz::ui {

QFont fixed_pitch_font(double points) {
  const QString family = QStringLiteral("Courier New");
  QFont font = QFontDatabase::hasFamily(family)
                   ? QFont(family)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(points);
  return font;
}

QFont fitting_font(QFont font, double points, double smallest, std::span<const CaptionRoom> rooms) {
  constexpr double step = 0.25;
  for (double size = points; size >= smallest; size -= step) {
    font.setPointSizeF(size);
    const QFontMetricsF metrics(font);
    bool fits = true;
    for (const CaptionRoom& room : rooms) {
      if (metrics.size(Qt::TextShowMnemonic, room.text).width() > room.pixels) {
        fits = false;
        break;
      }
    }
    if (fits) return font;
  }
  font.setPointSizeF(smallest);
  return font;
}

}  // namespace tz::ui
