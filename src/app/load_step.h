#pragma once

#include <functional>

#include "app/command_line.h"

namespace tz {

class Tenzor;

// The main window's load step: its first state, the command line, the two panes (the
// history's newest pair for an empty line) and the first comparison. An invalid command
// line or a missing path ends the program here.
void load_form(Tenzor& tz, const NativePathTranslator& translate = {});

// The load step, then `event_loop` (the window's event loop, returning the exit status)
// unless the window was closed meanwhile: a loop started with no window left would
// never end. Returns the program's exit status.
int load_and_run(Tenzor& tz, const NativePathTranslator& translate,
                 const std::function<int()>& event_loop);

}  // namespace tz
