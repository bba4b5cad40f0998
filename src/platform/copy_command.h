#pragma once

#include <QByteArrayList>

namespace tz {

// The program's own copy mode, which the copy routine starts as a separate process when
// copying in-process has failed. `arguments` are the raw bytes after "--copy-file":
//   <source> <target>               as a user types them: a drive-form path through
//                                   TENZOR_DRIVES, a native absolute one byte for byte;
//   [--new] -- <source> <target>    native absolute paths taken byte for byte (see
//                                   copy_exact_paths), as the copy routine passes them;
//                                   with --new the target must not exist yet.
// The copy keeps the modification time and permission bits, replaces the target only
// when complete and never overwrites a read-only target. Returns the exit status: 0
// for a copy made, the file error's number for a failure, 2 for wrong arguments.
int run_copy_command(QByteArrayList arguments);

}  // namespace tz
