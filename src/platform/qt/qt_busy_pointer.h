#pragma once

#include "platform/services.h"

namespace tz {

// The hourglass as the application's override cursor. Calls do not nest: one
// `set_busy(false)` ends any number of `set_busy(true)`.
class QtBusyPointer : public BusyPointer {
 public:
  ~QtBusyPointer() override;
  void set_busy(bool busy) override;

 private:
  bool overriding_ = false;
};

}  // namespace tz
