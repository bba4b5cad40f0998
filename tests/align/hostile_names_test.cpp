// Names a shell, a parser or a path would take for something else, through every action
// on a file: each is handled as the one file it names (or refused with its reason), and
// nothing else on disk changes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "align/bulk_align.h"
#include "align_fixture.h"
#include "support/hostile_names.h"

namespace tz::test {
namespace {

class HostileNames : public AlignTest {
 protected:
  // The fixture's pair with `name` in dir 1 alone, compared.
  void with_name(const QByteArray& name) {
    // What the last action moved or copied goes, so that the pair is as the fixture made it.
    for (const QByteArray& gone :
         {host_dir(1) + '/' + name, host_dir(2) + '/' + name, host_dir(2) + "/only1.txt"})
      ::unlink(gone.constData());
    SetUp();
    const QByteArray path = host_dir(1) + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.constData();
    ASSERT_EQ(::write(fd, "hostile", 7), 7);
    const struct timespec times[2] = {{t0, 0}, {t0, 0}};
    ::futimens(fd, times);
    ::close(fd);
    p.compare();
  }
  // The entry of list 1 that stands for `name`, dragged to `target`.
  void drop_name(const QByteArray& name, int target) {
    const FileList& list = p.tz.window().List1;
    int at = -1;
    for (int i = 0; i < list.count(); ++i)
      if (list.at(i).side1 && list.at(i).side1->name == name) at = i;
    ASSERT_GE(at, 0) << "not listed";
    drop_row(1, at, target);
  }
};

TEST_F(HostileNames, EachIsHandledAsTheOneFileItNames) {
  for (const QByteArray& name : hostile_names) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray in1 = "C/one/" + name, in2 = "D/two/" + name;

    with_name(name);
    EXPECT_EQ(touched_by([&] { drop_name(name, 2); }), (QSet<QByteArray>{in1, in2}))
        << "moved into dir 2";

    with_name(name);
    EXPECT_EQ(touched_by([&] { drop_name(name, 5); }), (QSet<QByteArray>{in2}))
        << "copied to dir 2";

    with_name(name);
    p.dialogs.expect_starting("do you want to delete ", Answer::Yes);
    EXPECT_EQ(touched_by([&] { drop_name(name, delete_target); }), (QSet<QByteArray>{in1}))
        << "deleted";

    // Opened by its own host path; a name that is not UTF-8 cannot be handed to another
    // program as text, and says so.
    with_name(name);
    const bool as_text = QString::fromUtf8(name).toUtf8() == name;
    const size_t opened = p.processes.opened.size();
    if (!as_text) p.dialogs.expect_starting("Error: 52 - ");
    EXPECT_TRUE(touched_by([&] { drop_name(name, open_target); }).isEmpty()) << "opened";
    if (as_text) {
      ASSERT_EQ(p.processes.opened.size(), opened + 1);
      EXPECT_EQ(p.processes.opened.back(), QString::fromUtf8(host_dir(1) + '/' + name));
    } else {
      EXPECT_EQ(p.processes.opened.size(), opened);
    }

    with_name(name);
    EXPECT_EQ(touched_by([&] { p.tz.bulk_align().bot_list_Click(ListId::List1); }),
              (QSet<QByteArray>{in2, "D/two/only1.txt"}))
        << "aligned with its list";
    // Its bytes, read by the exact name.
    char data[16] = {};
    const int fd = ::open((host_dir(2) + '/' + name).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::read(fd, data, sizeof data), 7);
    ::close(fd);
    EXPECT_STREQ(data, "hostile");
  }
  EXPECT_TRUE(p.dialogs.boxes.size() >= std::size(hostile_names));
}

}  // namespace
}  // namespace tz::test
