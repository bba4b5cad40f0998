#pragma once

#include <QStringList>

namespace tz {

// The program's own copy mode, `tenzor --copy-file <source> <target>`, which the copy
// routine starts as a separate process when copying in-process has failed. `arguments`
// are the two paths after the option, in drive form (through TENZOR_DRIVES) or native.
// The copy keeps the modification time and permission bits, replaces the target only
// when complete and never overwrites a read-only target. Returns the exit status: 0
// for a copy made, the file error's number for a failure, 2 for wrong arguments.
int run_copy_command(const QStringList& arguments);

}  // namespace tz
