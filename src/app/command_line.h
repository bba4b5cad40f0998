#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tz {

class SystemFacts;

// A command line read by the grammar "path 1 | path 2" (a comparison) or
// "path 1 § path 2" (a tree comparison).
struct CommandLine {
  bool valid = false;
  bool tree = false;
  // The line named no pair: both paths are the current drive's root.
  bool empty = false;
  // One folder alone (path 2 is path 1 until a second one is chosen).
  bool single = false;
  // More folders than a pair, for the message.
  bool too_many = false;
  QString path1;
  QString path2;
  // A native path that no drive covers (the line is then invalid), for the message.
  QString outside;
};

// Translates a native absolute path ("/home/ann") to drive form, when a drive covers it.
using NativePathTranslator = std::function<std::optional<QString>(const QString&)>;

// Reads `line` (surrounding blanks removed; empty means the root of `current_drive`
// twice). The first "|" separates the paths; only without one does the first "§".
// Each path must be non-empty with ":\" as its second and third characters; a path
// beginning with "/" is first translated to drive form.
CommandLine parse_command_line(const QString& line, QChar current_drive,
                               const NativePathTranslator& translate);

// The pair of the program's arguments. When the paths come as arguments of their own
// (path 1, "|" or "§", path 2; or two native folders with no separator, as a desktop
// launcher passes two dropped folders), each is taken exactly as given, blanks, "|" and
// "§" inside it included. So is one native folder with no separator in it, which is
// `single`; three native folders or more are `too_many`. Anything else is read as one
// line, the arguments joined by blanks, by parse_command_line.
CommandLine parse_arguments(const QStringList& arguments, QChar current_drive,
                            const NativePathTranslator& translate);

// The pair of the process's command line: its arguments when they are known one by one,
// else its line.
CommandLine read_command_line(SystemFacts& facts, QChar current_drive,
                              const NativePathTranslator& translate);

// What is wrong with an invalid line: a native path that no drive covers, in its own
// words, or else the usage.
QString invalid_line_message(const CommandLine& line, const QString& crlf);

}  // namespace tz
