// The command-line grammar: any line is read without a crash, and a line read as valid
// names two drive-form paths, split at the separator the grammar says; so do arguments.
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
  // Lines as a launcher or a shell passes arguments: a valid pair names two drive-form
  // paths, and one folder alone stands for both until dir 2 is chosen.
  const QStringList arguments = line.split(u'\n');
  const tz::CommandLine given = tz::parse_arguments(
      arguments, u'C', [](const QString& native) { return table.to_drive_form(native); });
  if (given.valid) {
    for (const QString& path : {given.path1, given.path2}) {
      check(path.size() >= 3 && path[1] == u':' && path[2] == u'\\', "a drive-form argument");
    }
    check(!given.single || (arguments.size() == 1 && given.path1 == given.path2),
          "one folder is both paths");
  }
  check(!given.too_many || (!given.valid && arguments.size() > 2), "more than two folders refused");
  tz::invalid_line_message(given, QStringLiteral("\r\n"));
  return 0;
}
