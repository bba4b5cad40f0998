// Names a shell, a parser or a path would take for something else, through every drop of
// a file: each is handled as the one file it names (or refused with its reason), and
// nothing else on disk changes. (A whole list aligned reaches names as a drop does:
// links_and_twins_test.cpp.)
#include "support/hostile_names.h"

#include <array>

#include "align_fixture.h"
#include "support/raw_files.h"

namespace tz::test {
namespace {

// Every drop on a list or target: what a drop of the name from list 1 to 5 changes on
// disk ("1": the name in dir 1, "2": in dir 2; none: not tried).
struct Drop {
  int target;
  std::array<const char*, 5> touched;
};
const Drop drops[] = {
    {1, {"", "12", "2", "2", "2"}}, {2, {"12", "", "1", "1", "1"}},
    {5, {"2", "1", "2", "1", ""}},  {delete_target, {"1", "2", "1", "2", "12"}},
    {open_target, {"", ""}},
};

class HostileNames : public AlignTest {
 protected:
  // The fixture's pair with `name` where it makes it stand in list `list`, compared.
  void with_name(const QByteArray& name, int list) {
    for (int dir = 1; dir <= 2; ++dir) remove_raw_tree(host_dir(dir));
    SetUp();  // makes the directories again
    if (list != 2) write_raw(host_dir(1) + '/' + name, "hostile 1", list == 3 ? t0 + 60 : t0);
    if (list != 1)
      write_raw(host_dir(2) + '/' + name, list == 5 ? "hostile 1" : "hostile 2",
                list == 4 ? t0 + 60 : t0);
    p.compare();
  }
  // The entry of list `list` that stands for `name`, dragged to `target`.
  void drop_name(const QByteArray& name, int list, int target) {
    const FileList& l = p.tz.window().list(list_at(list));
    int at = -1;
    for (int i = 0; i < l.count(); ++i) {
      const std::optional<FileRef>& side = list == 2 ? l.at(i).side2 : l.at(i).side1;
      if (side && side->name == name) at = i;
    }
    ASSERT_GE(at, 0) << "not listed";
    drop_row(list, at, target);
  }
  QSet<QByteArray> paths(const QByteArray& name, const char* dirs) {
    QSet<QByteArray> set;
    for (const char* d = dirs; *d; ++d) set.insert((*d == '1' ? "C/one/" : "D/two/") + name);
    return set;
  }
};

TEST_F(HostileNames, EachIsHandledAsTheOneFileItNames) {
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const bool as_text = QString::fromUtf8(name).toUtf8() == name;
    for (const Drop& d : drops) {
      for (int source = 1; source <= 5; ++source) {
        const char* const touched = d.touched[static_cast<size_t>(source - 1)];
        if (!touched) continue;
        SCOPED_TRACE(testing::Message() << "list " << source << " to " << d.target);
        with_name(name, source);
        if (d.target == delete_target)
          p.dialogs.expect_starting("do you want to delete ", Answer::Yes);
        // Opened by its own host path; a name that is not UTF-8 cannot be handed to another
        // program as text, and says so.
        const size_t opened = p.processes.opened.size();
        if (d.target == open_target && !as_text) p.dialogs.expect_starting("Error: 52 - ");
        EXPECT_EQ(touched_by([&] { drop_name(name, source, d.target); }), paths(name, touched));
        if (d.target != open_target) continue;
        if (as_text) {
          ASSERT_EQ(p.processes.opened.size(), opened + 1);
          EXPECT_EQ(p.processes.opened.back(), QString::fromUtf8(host_dir(source) + '/' + name));
        } else {
          EXPECT_EQ(p.processes.opened.size(), opened);
        }
      }
    }
  }
}

}  // namespace
}  // namespace tz::test
