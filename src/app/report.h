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

struct ReportOptions {
  // The aligned files too.
  bool all = false;
  // Records end in NUL and names go out unescaped, for `xargs -0`.
  bool null_terminated = false;
};

// Compares the pair of the program's command line ("path 1 | path 2") without a window
// and writes one record per file to `out`: the list's caption, a TAB, the file's exact
// on-disk name (dir 1's where both exist), then a newline, or a NUL with
// `null_terminated`. In newline records a TAB, LF, CR, backslash, other control
// character or byte that is not UTF-8 is written as a C escape (\t \n \r \\ \xE9), so a
// line always holds one whole name. Lists come in the order only in dir 1, newer in
// dir 1, aligned (only with `all`), newer in dir 2, only in dir 2. Returns 0 when
// nothing differs, 1 when something does, 2 for a command line or pair that cannot be
// compared (its message shown as a box).
//
// Two trees ("path 1 § path 2") are walked and stepped through as in the window, every
// question answered No: first a line for each branch found in one tree only ("Only in
// tree 1: " or "Only in tree 2: " and its path), then for each branch that differs the
// line "== <path 1> <-> <path 2>" followed by its records. Paths are written as shown,
// only their control characters escaped. A branch that could not be compared makes the
// answer 2.
int run_report(Tenzor& tz, const ReportOptions& options, const NativePathTranslator& translate,
               QByteArray& out);

// A file's exact name as a newline record writes it: valid UTF-8 without a control
// character, from which `printf '%b'` gives back the exact bytes.
QByteArray escaped_name(const QByteArray& name);

}  // namespace tz
