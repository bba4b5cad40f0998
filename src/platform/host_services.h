#pragma once

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "platform/services.h"

namespace tz {

class SteadyClock : public Clock {
 public:
  double monotonic_seconds() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void sleep_seconds(double seconds) override {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  }
};

// Lets queued events run; does nothing before the application object exists.
class CoreEventPump : public EventPump {
 public:
  void process_events() override {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
  }
};

}  // namespace tz
