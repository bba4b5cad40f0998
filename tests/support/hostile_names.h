#pragma once

#include <QByteArray>

namespace tz::test {

// Names a shell, a parser or a path would take for something else. Each is one file or
// directory name as the host stores it (bytes, not UTF-8 where it says so).
inline const QByteArray hostile_names[] = {
    "it's \"quoted\".txt",
    "$(touch pwned).txt",
    "`id`.txt",
    "a;b&c|d.txt",
    "\xC2\xA7 tree.txt",
    "x <-> y.txt",
    "-rf",
    "MiXeD Case.TXT",
    "back\\slash.txt",
    "dots..",
    "line\nbreak.txt",
    "tab\there.txt",
    "carriage\rreturn.txt",
    "caf\xE9.txt",
    "\xC4\xB0stanbul.txt",
    " blank at both ends ",
    QByteArray(251, 'n') + ".txt",
};

}  // namespace tz::test
