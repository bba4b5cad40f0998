#pragma once

#include <QString>

#include "models/entry.h"

namespace tz {

class Context;

// The open target Text1: a dropped entry's file, or both its copies, opened with the
// program the desktop associates with them.
class Opener {
 public:
  explicit Opener(Context& ctx) : ctx_(ctx) {}

  void Text1_DragDrop();
  // The pointer over Text1 empties the hint line.
  void Text1_MouseMove();

  // Opens an existing file with its associated program, a directory in the file
  // browser.
  void open_path(const QString& path);
  // Opens an entry's file, reached by its exact name.
  void open_file(const FileRef& file);
  // The text before the last "\" or ":", empty when there is neither.
  static QString directory_of(const QString& path);

 private:
  void open_host_path(const QString& host_path);

  Context& ctx_;
};

}  // namespace tz
