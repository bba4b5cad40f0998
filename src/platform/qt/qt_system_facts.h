#pragma once

#include <optional>

#include "platform/host_system_facts.h"

namespace tz {

// Host facts with the screen and the window frame measured through Qt.
class QtSystemFacts : public HostSystemFacts {
 public:
  using HostSystemFacts::HostSystemFacts;

  // The primary screen's whole size; empty without a screen.
  QSize screen_twips() override;
  // Measured once on a real top-level window, then remembered.
  int frame_height_twips() override;

 private:
  std::optional<int> frame_height_;
};

}  // namespace tz
