#pragma once

#include <QString>

namespace tz {

class Tenzor;

// The open target Text1: a dropped entry's file, or both its copies, opened with the
// program the desktop associates with them.
class Opener {
 public:
  explicit Opener(Tenzor& tz) : tz_(tz) {}

  void Text1_DragDrop();
  // The pointer over Text1 empties the hint line.
  void Text1_MouseMove();

  // Opens an existing file with its associated program, a directory in the file
  // browser.
  void open_path(const QString& path);
  // The text before the last "\" or ":", empty when there is neither.
  static QString directory_of(const QString& path);

 private:
  Tenzor& tz_;
};

}  // namespace tz
