#pragma once

#include <QRect>

class QWidget;

namespace tz::ui {

// A control's place in twips. Positions are single precision, as the window keeps them.
struct TwipRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
};

inline float right_edge(const TwipRect& r) {
  return r.left + r.width;
}
inline float bottom_edge(const TwipRect& r) {
  return r.top + r.height;
}

// Geometry is kept in twips, 1440 to the inch; the screen decides the pixels.
double logical_dpi(const QWidget* widget);
int twips_to_pixels(int twips, double dpi);
int pixels_to_twips(int pixels, double dpi);
QRect twips_rect(int left, int top, int width, int height, double dpi);
// A place kept in single precision. Edges are rounded, not sizes, so that neighbours
// stay neighbours at any resolution.
int twips_to_pixels(float twips, double dpi);
QRect pixel_rect(const TwipRect& r, double dpi);

}  // namespace tz::ui
