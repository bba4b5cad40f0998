#pragma once

#include <QRect>

class QWidget;

namespace tz::ui {

// Geometry is kept in twips, 1440 to the inch; the screen decides the pixels.
double logical_dpi(const QWidget* widget);
int twips_to_pixels(int twips, double dpi);
int pixels_to_twips(int pixels, double dpi);
QRect twips_rect(int left, int top, int width, int height, double dpi);

}  // namespace tz::ui
