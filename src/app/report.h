#pragma once

#include <QByteArray>

#include "app/command_line.h"

namespace tz {

class Tenzor;

// Exit statuses of a report.
namespace report_status {
constexpr int aligned = 0;
constexpr int differs = 1;
constexpr int refused = 2;
}  // namespace report_status

// Compares the pair of the program's command line ("path 1 | path 2") without a window
// and writes one line per entry to `out`: the list's caption, a TAB, the entry. Lists
// come in the order only in dir 1, newer in dir 1, aligned (only with `all`), newer in
// dir 2, only in dir 2. Returns 0 when nothing differs, 1 when something does, 2 for a
// command line or pair that cannot be compared (its message shown as a box).
int run_report(Tenzor& tz, bool all, const NativePathTranslator& translate, QByteArray& out);

}  // namespace tz
