#include "app/report.h"

#include "app/tenzor.h"
#include "compare/comparison.h"
#include "compare/panes.h"
#include "core/common.h"
#include "core/texts.h"
#include "platform/file_error.h"
#include "tree/tree_comparison.h"

namespace tz {

namespace {

void write_list(const FileList& list, const Control& caption, QByteArray& out) {
  const QByteArray prefix = caption.caption().toUtf8() + '\t';
  for (int i = 0; i < list.count(); ++i) {
    out += prefix;
    out += list.text(i).toUtf8();
    out += '\n';
  }
}

}  // namespace

int run_report(Tenzor& tz, bool all, const NativePathTranslator& translate, QByteArray& out) {
  Globals& g = tz.globals();
  Panes& panes = tz.panes();
  WindowModel& w = tz.window();
  // Loading never ends here, so nothing is recorded in the history.
  g.GLB_loading = true;
  g.GLB_command_line = tz.services().facts.command_line().trimmed();
  const CommandLine line = parse_command_line(g.GLB_command_line, panes.current_drive(), translate);
  // Trees are compared only in the window.
  if (!line.valid || line.tree) {
    tz.message(invalid_line_message(line, g.GLB_crlf));
    return report_status::refused;
  }
  for (const QString& path : {line.path1, line.path2}) {
    if (!tz.tree().path_exists(path)) {
      tz.message(text::path_does_not_exist + path);
      return report_status::refused;
    }
  }
  panes.initialise();
  panes.set_headless(true);
  try {
    panes.set_directory(1, line.path1);
    panes.set_directory(2, line.path2);
  } catch (const FileError&) {
    tz.message(text::start_pair_not_opened + g.GLB_command_line + u')');
    return report_status::refused;
  }
  tz.comparison().set_read_only(true);
  switch (tz.comparison().compare_dirs()) {
    case Comparison::Outcome::compared:
      break;
    case Comparison::Outcome::refused:
      return report_status::refused;
    case Comparison::Outcome::stopped:
      // A partial result must not pass for an answer.
      tz.message(text::report_stopped);
      return report_status::refused;
  }
  write_list(w.List1, w.lab_list1, out);
  write_list(w.List3, w.lab_list3, out);
  if (all) write_list(w.List5, w.lab_list5, out);
  write_list(w.List4, w.lab_list4, out);
  write_list(w.List2, w.lab_list2, out);
  return g.GLB_difference_found ? report_status::differs : report_status::aligned;
}

}  // namespace tz
