#include "platform/copy_command.h"

#include <cstdio>

#include "platform/drive_table.h"
#include "platform/file_error.h"
#include "platform/host_file_system.h"

namespace tz {

int run_copy_command(const QStringList& arguments) {
  if (arguments.size() != 2 || arguments[0].isEmpty() || arguments[1].isEmpty()) {
    std::fputs("Usage: tenzor --copy-file <source> <target>\n", stderr);
    return 2;
  }
  HostFileSystem fs(DriveTable::from_environment());
  try {
    fs.copy_file(arguments[0], arguments[1]);
  } catch (const FileError& error) {
    // The message names the file it concerns: a missing target folder is no fault of the
    // source.
    const auto* copy_error = dynamic_cast<const CopyError*>(&error);
    const bool target = copy_error && copy_error->side() == CopySide::target;
    const QByteArray text = QStringLiteral("tenzor: %1 %2: %3\n")
                                .arg(error.number())
                                .arg(error.description(), arguments[target ? 1 : 0])
                                .toLocal8Bit();
    std::fputs(text.constData(), stderr);
    return error.number();
  }
  return 0;
}

}  // namespace tz
