#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <functional>

#include "align/deletion.h"
#include "align/opener.h"
#include "align/transfers.h"
#include "compare/comparison.h"
#include "support/align_program.h"
#include "support/tree_snapshot.h"

namespace tz::test {

inline constexpr qint64 t0 = AlignProgram::t0;
// Drop targets beside the lists 1 to 5: the open target Text1 and the delete target Text2.
inline constexpr int open_target = 6, delete_target = 7;

// The pair C:\one and D:\two on temporary drives, compared into the five lists.
class AlignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    p.clock.step = 0.25;  // so that pauses end
    p.file(1, "only1.txt", "one");
    p.file(2, "only2.txt", "two");
    p.file(1, "new1.txt", "newer in 1", t0 + 60);
    p.file(2, "new1.txt", "old");
    p.file(1, "new2.txt", "old");
    p.file(2, "new2.txt", "newer in 2", t0 + 60);
    p.file(1, "same.txt", "same");
    p.file(2, "same.txt", "same");
    p.compare();
  }
  void select(int n, const QStringList& names) {
    FileList& l = p.tz.window().list(list_at(n));
    for (const QString& name : names) l.set_selected(l.find_text(name), true);
  }
  // The entry `name` of list `source` dragged onto list or target `target`.
  void drop(int source, const QString& name, int target) {
    drop_row(source, p.tz.window().list(list_at(source)).find_text(name), target);
  }
  // The entry at `row` of list `source` dragged onto list or target `target`.
  void drop_row(int source, int row, int target) {
    p.tz.window().list(list_at(source)).set_current(row);
    p.tz.transfers().start_drag(list_at(source));
    if (target == open_target)
      p.tz.opener().Text1_DragDrop();
    else if (target == delete_target)
      p.tz.deletion().Text2_DragDrop();
    else
      p.tz.transfers().list_DragDrop(list_at(target));
  }
  QByteArray content(const QString& drive_path) { return p.drives.content(drive_path); }
  bool exists(const QString& drive_path) { return QFile::exists(p.drives.host_path(drive_path)); }

  // The folder that holds every drive: both directories and their parents.
  QByteArray root() const { return p.drives.folder(); }
  QByteArray host_dir(int dir) const { return p.drives.native(dir == 1 ? "C:\\one" : "D:\\two"); }
  // What `action` changed anywhere below the drives' folder, by path relative to it.
  QSet<QByteArray> touched_by(const std::function<void()>& action) {
    return tz::test::touched_by(root(), action);
  }

  AlignProgram p;
};

}  // namespace tz::test
