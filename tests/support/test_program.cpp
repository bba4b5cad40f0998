#include "support/test_program.h"

#include "compare/comparison.h"
#include "compare/panes.h"

namespace tz::test {

void TestProgram::open_panes(const QString& path1, const QString& path2) {
  Panes& panes = tz.panes();
  panes.initialise();
  panes.set_drive(1, path1[0]);
  panes.set_directory(1, path1);
  panes.set_drive(2, path2[0]);
  panes.set_directory(2, path2);
  tz.globals().GLB_loading = false;
}

void TestProgram::file(int dir, const QString& name, const QByteArray& data, qint64 mtime) {
  drives.write_file((dir == 1 ? "C:\\one\\" : "D:\\two\\") + name, data, mtime);
}

void TestProgram::compare() {
  open_panes("C:\\one", "D:\\two");
  tz.comparison().bot_compare_Click();
}

}  // namespace tz::test
