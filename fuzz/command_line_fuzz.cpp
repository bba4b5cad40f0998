// The command-line grammar: any line is read without a crash, and a line read as valid
// names two drive-form paths, split at the separator the grammar says.
#include "app/command_line.h"
#include "fuzz_check.h"
#include "platform/drive_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tz::fuzz::check;
  static const tz::DriveTable table = tz::DriveTable::parse(QStringLiteral("C=/;D=/media/usb"));
  const QString line = tz::fuzz::text_of(data, size);
  const tz::CommandLine parsed = tz::parse_command_line(
      line, u'C', [](const QString& native) { return table.to_drive_form(native); });
  if (parsed.valid) {
    for (const QString& path : {parsed.path1, parsed.path2}) {
      check(path.size() >= 3 && path[1] == u':' && path[2] == u'\\', "a drive-form path");
    }
    // The first "|" separates; only without one does "§" make a tree comparison.
    check(!(parsed.tree && line.contains(u'|')), "\"|\" before \"§\"");
    check(!parsed.tree || line.contains(QChar(0xA7)), "a tree only with \"§\"");
  }
  tz::invalid_line_message(parsed, QStringLiteral("\r\n"));
  const QStringList arguments = line.split(u'\n');
  const QStringList read = tz::pair_from_launcher(arguments);
  check(read == arguments ||
            (read == QStringList{arguments.value(0), QStringLiteral("|"), arguments.value(1)}),
        "launcher arguments kept or made one pair");
  return 0;
}
