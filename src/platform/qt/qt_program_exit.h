#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/services.h"

namespace tz {

// Ends the program through its main window, or at once.
class QtProgramExit : public ProgramExit {
 public:
  void set_window(QWidget* window) { window_ = window; }
  void close_window() override;
  [[noreturn]] void end_now() override;

 private:
  QPointer<QWidget> window_;
};

}  // namespace tz
