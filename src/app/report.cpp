#include "app/report.h"

#include "app/tenzor.h"
#include "compare/comparison.h"
#include "compare/panes.h"
#include "core/common.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "texts/texts.h"
#include "tree/tree_comparison.h"

namespace tz {

namespace {

// The length of the UTF-8 sequence at `at` when it is well formed and not a control
// character (C0, DEL, C1); 0 otherwise.
int printable_length(const uchar* at, qsizetype left) {
  char32_t code = 0;
  const int length = utf8_sequence(at, left, code);
  const bool control = code < 0x20 || (code >= 0x7F && code < 0xA0);
  return control ? 0 : length;
}

// `name` as one field of a line that `printf '%b'` turns back into the exact bytes. With
// `paths`, a drive-form path as it is shown: its backslashes stay as they are, and only
// what would break the line is escaped.
void append_escaped(QByteArrayView name, QByteArray& out, bool paths = false) {
  static constexpr char hex[] = "0123456789ABCDEF";
  const auto* bytes = reinterpret_cast<const uchar*>(name.constData());
  for (qsizetype i = 0; i < name.size();) {
    switch (bytes[i]) {
      case '\t':
        out += "\\t";
        ++i;
        continue;
      case '\n':
        out += "\\n";
        ++i;
        continue;
      case '\r':
        out += "\\r";
        ++i;
        continue;
      case '\\':
        out += paths ? "\\" : "\\\\";
        ++i;
        continue;
      default:
        break;
    }
    const int length = printable_length(bytes + i, name.size() - i);
    if (length > 0) {
      out.append(name.constData() + i, length);
      i += length;
    } else {
      out += "\\x";
      out += hex[bytes[i] >> 4];
      out += hex[bytes[i] & 0x0F];
      ++i;
    }
  }
}

// The list's entries by their files' names, not by the list's text: that is folded to
// lower case and cannot carry every byte a name may hold.
void write_list(const FileList& list, const Control& caption, bool null_terminated,
                QByteArray& out) {
  const QByteArray prefix = caption.caption().toUtf8() + '\t';
  for (int i = 0; i < list.count(); ++i) {
    const Entry& entry = list.at(i);
    const QByteArray& name = entry.side1 ? entry.side1->name : entry.side2.value().name;
    out += prefix;
    if (null_terminated) {
      out += name;
      out += '\0';
    } else {
      append_escaped(name, out);
      out += '\n';
    }
  }
}

void write_lists(WindowModel& w, const ReportOptions& options, QByteArray& out) {
  const bool nul = options.null_terminated;
  write_list(w.List1, w.lab_list1, nul, out);
  write_list(w.List3, w.lab_list3, nul, out);
  if (options.all) write_list(w.List5, w.lab_list5, nul, out);
  write_list(w.List4, w.lab_list4, nul, out);
  write_list(w.List2, w.lab_list2, nul, out);
}

// The lists of a pair as names only, in the order write_lists writes them.
void write_names(const std::array<NameList, 5>& lists, WindowModel& w, const ReportOptions& options,
                 QByteArray& out) {
  for (const ListId id :
       {ListId::List1, ListId::List3, ListId::List5, ListId::List4, ListId::List2}) {
    if (id == ListId::List5 && !options.all) continue;
    const QByteArray prefix = w.list_caption(id).caption().toUtf8() + '\t';
    const NameList& names = lists[static_cast<size_t>(list_number(id) - 1)];
    for (size_t i = 0; i < names.size(); ++i) {
      out += prefix;
      if (options.null_terminated) {
        out += names.at(i);
        out += '\0';
      } else {
        append_escaped(names.at(i), out);
        out += '\n';
      }
    }
  }
}

// A line of paths as the window shows them.
void write_line(const QString& text, bool null_terminated, QByteArray& out) {
  if (null_terminated) {
    out += text.toUtf8();
    out += '\0';
  } else {
    append_escaped(text.toUtf8(), out, true);
    out += '\n';
  }
}

// The walk and the step-through as the window runs them, every question answered No:
// the branches found in one tree only, then each branch that differs with its lists.
int tree_report(Tenzor& tz, const ReportOptions& options, QByteArray& out) {
  TreeComparison& tree = tz.tree();
  const Globals& g = tz.globals();
  const bool nul = options.null_terminated;
  tree.set_unattended(true);
  const TreeComparison::TreeOutcome outcome = tree.compare_trees();
  if (outcome == TreeComparison::TreeOutcome::stopped) return report_status::refused;
  bool differs = false, failed = false;
  for (const QString& line : g.GLB_mismatch_text.split(g.GLB_crlf, Qt::SkipEmptyParts)) {
    write_line(line, nul, out);
    differs = true;
  }
  const auto write_branch = [&](const QString& path1, const QString& path2) {
    write_line(QStringLiteral("== ") + path1 + text::pair_separator + path2, nul, out);
    write_lists(tz.window(), options, out);
    differs = true;
  };
  if (outcome == TreeComparison::TreeOutcome::root_compared) {
    if (g.GLB_difference_found)
      write_branch(tree.branches().front().path1, tree.branches().front().path2);
  } else {
    // Each stop is a branch that differs, or one that could not be compared (said on
    // standard error), which leaves the answer incomplete.
    while (tz.window().b_next_alignment.visible()) {
      if (tree.waiting_result() == TreeComparison::BranchResult::failed)
        failed = true;
      else
        write_branch(tree.waiting_path1(), tree.waiting_path2());
      tree.b_next_alignment_Click();
    }
  }
  // A directory that could not be walked or compared leaves the answer incomplete.
  if (failed || !tree.all_compared()) return report_status::refused;
  return differs ? report_status::differs : report_status::aligned;
}

}  // namespace

QByteArray escaped_name(const QByteArray& name) {
  QByteArray out;
  append_escaped(name, out);
  return out;
}

int run_report(Tenzor& tz, const ReportOptions& options, const NativePathTranslator& translate,
               QByteArray& out) {
  Globals& g = tz.globals();
  Panes& panes = tz.panes();
  WindowModel& w = tz.window();
  // Loading never ends here, so nothing is recorded in the history.
  g.GLB_loading = true;
  g.GLB_command_line = tz.services().facts.command_line().trimmed();
  const CommandLine line = read_command_line(tz.services().facts, panes.current_drive(), translate);
  // One folder is no pair: the window may pick dir 2, a report must not.
  if (!line.valid || line.single) {
    tz.message(invalid_line_message(line, g.GLB_crlf));
    return report_status::refused;
  }
  for (const QString& path : {line.path1, line.path2}) {
    if (!tz.tree().path_exists(path)) {
      // A path that is there but closed to this user is said as such, as in the window.
      tz.message(tz.common().unreachable_path_message(path, text::path_does_not_exist));
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
  if (line.tree) return tree_report(tz, options, out);
  std::array<NameList, 5> lists;
  tz.comparison().set_names_only(&lists);
  const Comparison::Outcome outcome = tz.comparison().compare_dirs();
  tz.comparison().set_names_only(nullptr);
  switch (outcome) {
    case Comparison::Outcome::compared:
      break;
    case Comparison::Outcome::refused:
      return report_status::refused;
    case Comparison::Outcome::stopped:
      // A partial result must not pass for an answer.
      tz.message(text::report_stopped);
      return report_status::refused;
  }
  write_names(lists, w, options, out);
  return g.GLB_difference_found ? report_status::differs : report_status::aligned;
}

}  // namespace tz
