#include "ui/fonts.h"

#include <QFontDatabase>

namespace tz::ui {

QFont fixed_pitch_font(double points) {
  const QString family = QStringLiteral("Courier New");
  QFont font = QFontDatabase::hasFamily(family)
                   ? QFont(family)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(points);
  return font;
}

}  // namespace tz::ui
