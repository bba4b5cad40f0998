#include "app/load_step.h"

#include <cstdlib>

#include "app/command_line.h"
#include "app/tenzor.h"
#include "compare/comparison.h"
#include "compare/pair_opener.h"
#include "compare/panes.h"
#include "core/common.h"
#include "history/history.h"
#include "models/window_size.h"
#include "platform/file_error.h"
#include "texts/texts.h"
#include "tree/tree_comparison.h"

namespace tz {

namespace {

// The pair of the command line could not be opened: both panes show a drive's root.
void fall_back(Tenzor& tz, QChar current_drive) {
  tz.message(text::start_pair_not_opened + tz.globals().GLB_command_line + u')');
  tz.panes().fall_back_to_root(current_drive);
}

// Reads the file boxes the comparison did not fill; true when there were any. A box
// that cannot be read ends as a pair that could not be opened.
bool read_file_boxes(Tenzor& tz, QChar current_drive) {
  try {
    return tz.panes().read_deferred_file_boxes();
  } catch (const FileError&) {
    fall_back(tz, current_drive);
    return false;
  }
}

// Opens the pair of the command line in the panes. False when the program must end.
void open_command_line_pair(Tenzor& tz, const CommandLine& line, QChar current_drive) {
  Globals& g = tz.globals();
  Panes& panes = tz.panes();
  g.GLB_path1 = line.path1;
  g.GLB_path2 = line.path2;
  panes.ensure_final_backslash_on_paths();
  try {
    panes.set_drive(1, g.GLB_path1[0]);
    panes.set_drive(2, g.GLB_path2[0]);
    tz.common().show_busy(true);
    g.GLB_path1 = line.path1;
    g.GLB_path2 = line.path2;
    for (const QString& path : {line.path1, line.path2}) {
      if (!tz.tree().path_exists(path)) {
        tz.message(tz.common().unreachable_path_message(path, text::path_does_not_exist));
        tz.services().exit.end_now();
      }
    }
    panes.ensure_final_backslash_on_paths();
    panes.set_directory(1, g.GLB_path1);
    panes.set_directory(2, g.GLB_path2);
  } catch (const FileError&) {
    fall_back(tz, current_drive);
  }
}

// Dir 2 for a folder given alone: the newest pair's dir 2 while it exists, else the
// folder itself, which opens both panes on it without comparing.
QString second_folder(Tenzor& tz, const QString& folder) {
  tz.history().load();
  const QString entry = tz.history().first_entry();
  const qsizetype p = entry.indexOf(text::pair_separator);
  if (p < 0) return folder;
  const QString dir2 = entry.mid(p + text::pair_separator.size()).trimmed();
  return tz.common().file_exists(dir2) ? dir2 : folder;
}

}  // namespace

void load_form(Tenzor& tz, const NativePathTranslator& translate) {
  WindowModel& w = tz.window();
  Panes& panes = tz.panes();
  Globals& g = tz.globals();

  BusyScope busy(tz.common());
  w.bot_cancel.set_enabled(false);
  for (Control* entry : {&w.m_select, &w.m_delete, &w.m_clear_all, &w.m_close})
    entry->set_visible(false);
  w.caption.set_caption(text::app_title);
  const QChar drive = panes.current_drive();
  const QSize screen = tz.services().facts.screen_twips();
  w.set_geometry((screen.width() - design_window_width) / 2,
                 (screen.height() - design_window_height) / 2, design_window_width,
                 design_window_height);
  w.Label5.set_visible(false);
  panes.initialise();
  // The window shows before the directories of the panes are read: on large ones that
  // takes a while.
  panes.defer_reading();

  g.GLB_command_line = tz.services().facts.command_line().trimmed();
  const CommandLine line = read_command_line(tz.services().facts, drive, translate);
  if (!line.valid) {
    tz.message(invalid_line_message(line, g.GLB_crlf));
    tz.services().exit.end_now();
  }
  if (line.tree) g.GLB_tree_mode = true;
  CommandLine pair = line;
  if (line.single) pair.path2 = second_folder(tz, line.path1);
  open_command_line_pair(tz, pair, drive);

  busy.show();
  panes.read_pane_paths();
  emit w.initial_layout_requested();
  // The initial layout ends by showing the window; it is drawn before the files of the
  // panes are read, which on large directories takes a while.
  emit w.show_requested();
  tz.services().pump.process_events();
  try {
    panes.read_deferred_directories();
  } catch (const FileError&) {
    fall_back(tz, drive);
  }
  // A comparison that follows reads the files of the panes anyway, and fills their
  // boxes with what it read; a tree comparison shows its branches instead.
  if (g.GLB_tree_mode) read_file_boxes(tz, drive);
  panes.show_directory_files();
  panes.read_pane_paths();
  tz.window().clear_free_space_labels();
  tz.history().load();
  // A pair named on the command line is the pair asked for; the newest pair of the
  // history stands in only for an empty line.
  if (line.empty) tz.pair_opener().open_dir_pair(tz.history().first_entry(), false);
  busy.release();
  if (!g.GLB_tree_mode) {
    Comparison::Outcome outcome = Comparison::Outcome::refused;
    if (!same_text(g.GLB_path1, g.GLB_path2)) outcome = tz.comparison().compare_dirs();
    // Files no comparison read: when none ran (or it was refused), the file view shows
    // them; a comparison that stopped leaves the lists empty.
    if (read_file_boxes(tz, drive) && outcome == Comparison::Outcome::refused)
      panes.show_directory_files();
    g.GLB_loading = false;
    emit w.resize_layout_requested();
  } else {
    tz.services().pump.process_events();
    // Closed before the tree comparison began: nothing to start.
    if (!g.GLB_closing) tz.tree().m_tree_Click();
    g.GLB_loading = false;
  }
}

int load_and_run(Tenzor& tz, const NativePathTranslator& translate,
                 const std::function<int()>& event_loop) {
  load_form(tz, translate);
  // Closing the window is an ordinary end, even during the first comparison.
  if (tz.globals().GLB_closing) return EXIT_SUCCESS;
  return event_loop();
}

}  // namespace tz
