#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
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

int pixels_to_twips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * twips_per_inch / dpi));
}

QRect twips_rect(int left, int top, int width, int height, double dpi) {
  return QRect(twips_to_pixels(left, dpi), twips_to_pixels(top, dpi), twips_to_pixels(width, dpi),
               twips_to_pixels(height, dpi));
}

}  // namespace tz::ui
