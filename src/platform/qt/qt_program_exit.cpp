#include "platform/qt/qt_program_exit.h"

#include <cstdio>
#include <cstdlib>

namespace tz {

void QtProgramExit::close_window() {
  if (window_) window_->close();
}

void QtProgramExit::end_now() {
  std::fflush(nullptr);
  std::_Exit(EXIT_FAILURE);
}

}  // namespace tz
