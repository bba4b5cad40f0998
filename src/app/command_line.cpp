#include "app/command_line.h"

#include <algorithm>

#include "platform/drive_table.h"
#include "platform/services.h"
#include "texts/texts.h"

namespace tz {

namespace {

bool has_drive_form(const QString& path) {
  return path.mid(1, 2) == QStringLiteral(":\\");
}

QString translated(const QString& path, const NativePathTranslator& translate, QString& outside) {
  if (!path.startsWith(u'/') || !translate) return path;
  if (std::optional<QString> drive_form = translate(path)) return *drive_form;
  if (outside.isEmpty()) outside = path;
  return path;
}

}  // namespace

CommandLine parse_command_line(const QString& line, QChar current_drive,
                               const NativePathTranslator& translate) {
  QString text = line.trimmed();
  CommandLine result;
  if (text.isEmpty()) {
    const QString root = QString(current_drive) + QStringLiteral(":\\");
    text = root + QStringLiteral(" | ") + root;
    result.empty = true;
  }
  qsizetype p = text.indexOf(u'|');
  if (p < 0) {
    p = text.indexOf(QChar(0x00A7));  // §
    if (p < 0) return result;
    result.tree = true;
  }
  result.path1 = translated(text.left(p).trimmed(), translate, result.outside);
  result.path2 = translated(text.mid(p + 1).trimmed(), translate, result.outside);
  result.valid = !result.path1.isEmpty() && !result.path2.isEmpty() &&
                 has_drive_form(result.path1) && has_drive_form(result.path2);
  return result;
}

CommandLine parse_arguments(const QStringList& arguments, QChar current_drive,
                            const NativePathTranslator& translate) {
  const bool separated =
      arguments.size() == 3 && (arguments[1] == u"|" || arguments[1] == QString(QChar(0x00A7)));
  const bool native = std::all_of(arguments.begin(), arguments.end(),
                                  [](const QString& a) { return a.startsWith(u'/'); });
  const bool launched = native && arguments.size() == 2;
  // One folder dropped on the launcher, or named alone; a separator inside makes it the
  // one-line form of a pair.
  const bool single = native && arguments.size() == 1 && !arguments[0].contains(u'|') &&
                      !arguments[0].contains(QChar(0x00A7));
  CommandLine result;
  if (native && arguments.size() > 2) {
    result.too_many = true;
    return result;
  }
  if (single) {
    result.single = true;
    result.path1 = translated(arguments[0], translate, result.outside);
    result.path2 = result.path1;
    result.valid = has_drive_form(result.path1);
    return result;
  }
  if (!separated && !launched)
    return parse_command_line(arguments.join(u' '), current_drive, translate);
  result.tree = separated && arguments[1] == QString(QChar(0x00A7));
  result.path1 = translated(arguments.front(), translate, result.outside);
  result.path2 = translated(arguments.back(), translate, result.outside);
  result.valid = has_drive_form(result.path1) && has_drive_form(result.path2);
  return result;
}

CommandLine read_command_line(SystemFacts& facts, QChar current_drive,
                              const NativePathTranslator& translate) {
  const QStringList arguments = facts.arguments();
  if (arguments.isEmpty())
    return parse_command_line(facts.command_line(), current_drive, translate);
  return parse_arguments(arguments, current_drive, translate);
}

QString invalid_line_message(const CommandLine& line, const QString& crlf) {
  if (!line.outside.isEmpty()) return DriveTable::outside_every_drive(line.outside);
  if (line.too_many) return text::two_folders_at_a_time;
  return text::invalid_call_line + crlf + text::usage;
}

}  // namespace tz
