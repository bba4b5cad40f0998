#pragma once

#include <QString>

#include "core/common.h"
#include "core/globals.h"
#include "models/window_model.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/services.h"

namespace tz {

// The outside services the logic uses, all passed in.
struct Services {
  FileSystem& fs;
  Dialogs& dialogs;
  EventPump& pump;
  BusyPointer& busy;
  Clock& clock;
  SystemFacts& facts;
  Processes& processes;
  ProgramExit& exit;
};

// What every feature shares: the outside services, the global state, the window's
// model and the common routines. The features themselves are not reached through it:
// each gets the others it works with through its constructor.
class Context {
 public:
  explicit Context(const Services& services) : services_(services), common_(*this) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  const Services& services() const { return services_; }
  FileSystem& fs() const { return services_.fs; }
  Globals& globals() { return globals_; }
  WindowModel& window() { return window_; }
  Common& common() { return common_; }

  // A message box with the application title.
  Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                 int default_button = 0);

 private:
  Services services_;
  Globals globals_;
  WindowModel window_;
  Common common_;
};

}  // namespace tz
