#include "platform/qt/qt_system_facts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <cmath>

namespace tz {

namespace {

constexpr double twips_per_inch = 1440.0;

int to_twips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * twips_per_inch / dpi));
}

// Title bar plus top and bottom borders of a window the window manager decorated.
int measure_frame_height() {
  // These platforms report margins of a frame that nobody draws.
  const QString platform = QGuiApplication::platformName();
  if (platform == u"offscreen" || platform == u"minimal") return 0;

  QWindow probe;
  probe.setFlags(Qt::Window);
  probe.setOpacity(0.0);
  probe.resize(64, 64);
  probe.show();
  // The window manager frames the window before it maps it; without one nothing
  // comes and the margins stay at zero.
  const QDeadlineTimer deadline(1000);
  while (!probe.isExposed() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!probe.isExposed()) QThread::msleep(5);
  }
  QCoreApplication::processEvents();
  const QMargins margins = probe.frameMargins();
  const QScreen* screen = probe.screen();
  probe.hide();
  if (screen == nullptr || screen->logicalDotsPerInchY() <= 0) return 0;
  return to_twips(margins.top() + margins.bottom(), screen->logicalDotsPerInchY());
}

}  // namespace

QSize QtSystemFacts::screen_twips() {
  const QScreen* screen = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
  if (screen == nullptr) return HostSystemFacts::screen_twips();
  const QSize pixels = screen->geometry().size();
  return {to_twips(pixels.width(), screen->logicalDotsPerInchX()),
          to_twips(pixels.height(), screen->logicalDotsPerInchY())};
}

int QtSystemFacts::frame_height_twips() {
  if (!frame_height_) frame_height_ = qGuiApp != nullptr ? measure_frame_height() : 0;
  return *frame_height_;
}

}  // namespace tz
