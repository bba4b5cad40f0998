#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace tz::ui {

namespace {
constexpr double twips_per_inch = 1440.0;
constexpr double fallback_dpi = 96.0;
}  // namespace

double logical_dpi(const QWidget* widget) {
  const QScreen* screen = widget != nullptr ? widget->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr || screen->logicalDotsPerInchY() <= 0) return fallback_dpi;
  return screen->logicalDotsPerInchY();
}

int twips_to_pixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / twips_per_inch));
}

int twips_to_pixels(float twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / twips_per_inch));
}

QRect pixel_rect(const TwipRect& r, double dpi) {
  const int left = twips_to_pixels(r.left, dpi);
  const int top = twips_to_pixels(r.top, dpi);
  const int right = twips_to_pixels(right_edge(r), dpi);
  const int bottom = twips_to_pixels(bottom_edge(r), dpi);
  return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

int pixels_to_twips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * twips_per_inch / dpi));
}

QRect twips_rect(int left, int top, int width, int height, double dpi) {
  return QRect(twips_to_pixels(left, dpi), twips_to_pixels(top, dpi), twips_to_pixels(width, dpi),
               twips_to_pixels(height, dpi));
}

}  // namespace tz::ui
