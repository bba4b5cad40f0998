#pragma once

#include "app/command_line.h"

namespace tz {

class Tenzor;

// The main window's load step: its first state, the command line, the two panes, the
// history's newest pair and the first comparison. False when the program ended
// (an invalid command line, a missing path).
bool load_form(Tenzor& tz, const NativePathTranslator& translate = {});

}  // namespace tz
