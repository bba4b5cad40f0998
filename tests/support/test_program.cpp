#include "support/test_program.h"

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

}  // namespace tz::test
