#pragma once

#include "app/tenzor.h"
#include "compare/comparison.h"
#include "compare/panes.h"
#include "support/program.h"

namespace tz::test {

// The whole program's logic, as the window and the report have it.
using TestProgram = ProgramOn<Tenzor>;

}  // namespace tz::test
