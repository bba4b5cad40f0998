// Names a shell, a parser or a path would take for something else, through every action
// on a file: each is handled as the one file it names (or refused with its reason), and
// nothing else on disk changes.
#include "support/hostile_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "align/bulk_align.h"
#include "align_fixture.h"
#include "support/raw_files.h"

namespace tz::test {
namespace {

// Every drop of the transfer table: from the list the name stands in, to a list or
// target, with what it changes on disk ("1": the name in dir 1, "2": in dir 2; the
// fixture's own file when the whole list is aligned).
struct Drop {
  int source;
  int target;
  const char* touched;
};
const Drop drops[] = {
    {1, 2, "12"},
    {2, 1, "12"},
    {3, 1, "2"},
    {4, 1, "2"},
    {5, 1, "2"},
    {3, 2, "1"},
    {4, 2, "1"},
    {5, 2, "1"},
    {1, 5, "2"},
    {2, 5, "1"},
    {3, 5, "2"},
    {4, 5, "1"},
    {1, delete_target, "1"},
    {2, delete_target, "2"},
    {3, delete_target, "1"},
    {4, delete_target, "2"},
    {5, delete_target, "12"},
    {1, open_target, ""},
    {2, open_target, ""},
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
  const char* const fixture_file[] = {"D/two/only1.txt", "C/one/only2.txt", "D/two/new1.txt",
                                      "C/one/new2.txt"};
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const bool as_text = QString::fromUtf8(name).toUtf8() == name;
    for (const Drop& d : drops) {
      SCOPED_TRACE(testing::Message() << "list " << d.source << " to " << d.target);
      with_name(name, d.source);
      if (d.target == delete_target)
        p.dialogs.expect_starting("do you want to delete ", Answer::Yes);
      // Opened by its own host path; a name that is not UTF-8 cannot be handed to another
      // program as text, and says so.
      const size_t opened = p.processes.opened.size();
      if (d.target == open_target && !as_text) p.dialogs.expect_starting("Error: 52 - ");
      EXPECT_EQ(touched_by([&] { drop_name(name, d.source, d.target); }), paths(name, d.touched));
      if (d.target != open_target) continue;
      if (as_text) {
        ASSERT_EQ(p.processes.opened.size(), opened + 1);
        EXPECT_EQ(p.processes.opened.back(), QString::fromUtf8(host_dir(d.source) + '/' + name));
      } else {
        EXPECT_EQ(p.processes.opened.size(), opened);
      }
    }
    // Each list aligned as a whole: the name's file is copied by its exact name.
    for (int list = 1; list <= 4; ++list) {
      SCOPED_TRACE(testing::Message() << "list " << list << " aligned");
      with_name(name, list);
      const int to = list == 1 || list == 3 ? 2 : 1;
      EXPECT_EQ(touched_by([&] { p.tz.bulk_align().bot_list_Click(list_at(list)); }),
                paths(name, to == 1 ? "1" : "2") + QSet<QByteArray>{fixture_file[list - 1]});
      char data[16] = {};
      const int fd = ::open((host_dir(to) + '/' + name).constData(), O_RDONLY);
      ASSERT_GE(fd, 0);
      EXPECT_EQ(::read(fd, data, sizeof data), 9);
      ::close(fd);
      EXPECT_STREQ(data, to == 2 ? "hostile 1" : "hostile 2");
    }
  }
}

}  // namespace
}  // namespace tz::test
