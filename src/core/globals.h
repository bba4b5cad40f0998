#pragma once

#include <QString>

#include "platform/file_system.h"

namespace tz {

// The state the whole program shares, created once at start-up.
struct Globals {
  bool GLB_loading = true;
  QString GLB_crlf = QStringLiteral("\r\n");
  // The history file's native path: the program's own files never go through the
  // drive table.
  QByteArray GLB_history_file;
  // One second in the unit of file times. Times are whole seconds, so two times
  // exactly two seconds apart lie within twice this value.
  FileTime GLB_one_second = 1;
  int GLB_caption_extra = 0;
  bool GLB_tree_mode = false;
  QString GLB_path1;
  QString GLB_path2;
  bool GLB_cancel = false;
  // The window was closed: running work stops after the file in progress and the
  // program ends.
  bool GLB_closing = false;
  bool GLB_copy_done = false;
  bool GLB_difference_found = false;
  QString GLB_drag_source;
  QString GLB_mismatch_text;
  // The pane paths of the tree roots while a step-through goes on.
  QString GLB_root_path1;
  QString GLB_root_path2;
  QString GLB_command_line;
};

}  // namespace tz
