#include "platform/copy_command.h"

#include <cstdio>

#include "platform/drive_table.h"
#include "platform/file_error.h"
#include "platform/host_copy.h"
#include "platform/host_file_system.h"

namespace tz {

namespace {

int usage() {
  std::fputs(
      "Usage: tenzor --copy-file <source> <target>\n"
      "       tenzor --copy-file [--new] -- </native/source> </native/target>\n",
      stderr);
  return 2;
}

}  // namespace

int run_copy_command(QByteArrayList arguments) {
  using Target = OpenDirectory::Target;
  Target mode = Target::replace;
  bool exact = false;
  if (arguments.value(0) == "--new") {
    mode = Target::create_new;
    arguments.removeFirst();
    if (arguments.value(0) != "--") return usage();
  }
  if (arguments.value(0) == "--") {
    exact = true;
    arguments.removeFirst();
  }
  if (arguments.size() != 2 || arguments[0].isEmpty() || arguments[1].isEmpty()) return usage();
  try {
    const auto native = [&](int i) { return arguments[i].startsWith('/'); };
    if (exact || (native(0) && native(1))) {
      copy_exact_paths(arguments[0], arguments[1], mode);
    } else {
      // Beside a drive-form path a native one is still taken as it is, or refused: a
      // "\" in it would be read as a separator.
      for (const int i : {0, 1}) {
        if (native(i) && (!is_exact_native_path(arguments[i]) || arguments[i].contains('\\')))
          throw CopyError(FileError(err::bad_file_name),
                          i == 0 ? CopySide::source : CopySide::target);
      }
      HostFileSystem fs(DriveTable::from_environment());
      fs.copy_file(QString::fromLocal8Bit(arguments[0]), QString::fromLocal8Bit(arguments[1]));
    }
  } catch (const FileError& error) {
    // The message names the file it concerns, as it was given: a missing target folder is
    // no fault of the source.
    const auto* copy_error = dynamic_cast<const CopyError*>(&error);
    const bool target = copy_error && copy_error->side() == CopySide::target;
    const QByteArray text = QStringLiteral("tenzor: %1 %2: ")
                                .arg(error.number())
                                .arg(error.description())
                                .toLocal8Bit() +
                            arguments[target ? 1 : 0] + '\n';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    return error.number();
  }
  return 0;
}

}  // namespace tz
