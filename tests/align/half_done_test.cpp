// A move or a deletion that a failing deletion stops half-way: no file is lost, none is
// left half-written, and the lists say what a new comparison of the directories finds.
#include <unistd.h>

#include "align_fixture.h"
#include "platform/file_error.h"

namespace tz::test {
namespace {

struct HalfWay {
  int source;  // the list the entry is dragged from, or selected in for the delete button
  const char* name;
  int target;            // a list, the delete target, or 0 for the delete button
  const char* failing;   // the file whose deletion fails
  const char* question;  // answered Yes, if one is asked
  const char* error;
  const char* touched;  // the one file changed, if any
  const char* lists;    // lists 1 to 5 afterwards
};

void PrintTo(const HalfWay& c, std::ostream* out) {
  *out << c.name << " from list " << c.source << " to " << c.target;
}

const char* const error_57 = "ERROR 57: Device I/O error";

const HalfWay cases[] = {
    // Moves: the copy is made, its source stays.
    {2, "only2.txt", 1, "D:\\two\\only2.txt", nullptr, error_57, "C/one/only2.txt",
     "only1.txt |  | new1.txt | new2.txt | only2.txt same.txt"},
    {1, "only1.txt", 2, "C:\\one\\only1.txt", nullptr, error_57, "D/two/only1.txt",
     " | only2.txt | new1.txt | new2.txt | only1.txt same.txt"},
    // Both copies of an aligned file: dir 1's goes, dir 2's stays.
    {5, "same.txt", delete_target, "D:\\two\\same.txt",
     "do you want to delete SAME.TXT\nfrom both directories?", error_57, "C/one/same.txt",
     "only1.txt | only2.txt same.txt | new1.txt | new2.txt | "},
    {5, "same.txt", 0, "D:\\two\\same.txt", "do you want to delete SAME.TXT from both directories?",
     "Error: 57 - Device I/O error\r\nCurrent file: same.txt", "C/one/same.txt",
     "only1.txt | only2.txt same.txt | new1.txt | new2.txt | "},
    // One copy: nothing happens.
    {5, "same.txt", 1, "D:\\two\\same.txt", nullptr, error_57, "",
     "only1.txt | only2.txt | new1.txt | new2.txt | same.txt"},
};

class HalfDone : public AlignTest, public ::testing::WithParamInterface<HalfWay> {};

TEST_P(HalfDone, LosesNoFileAndTheListsAgreeWithANewComparison) {
  const HalfWay& c = GetParam();
  const QString failing = c.failing;
  p.fs.fault = [failing](const QString& op, const QString& path) {
    if (op == "remove_file" && path == failing) throw FileError(err::device_io);
  };
  if (c.question) p.dialogs.expect(c.question, Answer::Yes);
  p.dialogs.expect(c.error);
  const QSet<QByteArray> touched = touched_by([&] {
    if (c.target != 0) return drop(c.source, c.name, c.target);
    select(c.source, {c.name});
    p.tz.deletion().bot_delete_Click();
  });
  EXPECT_EQ(touched, *c.touched ? QSet<QByteArray>{c.touched} : QSet<QByteArray>{});
  if (c.target != 0) {
    EXPECT_EQ(p.dialogs.box().icon, Icon::Critical);
  }
  // A copy left beside its source is whole.
  const QString copy = (c.target == 1 ? "C:\\one\\" : "D:\\two\\") + QString(c.name);
  if (c.source + c.target == 3) {
    EXPECT_EQ(content(copy), content(c.failing));
  }
  const auto lists = [this] {
    QStringList all;
    for (int n = 1; n <= 5; ++n) all << p.list(n).join(u' ');
    return all.join(" | ");
  };
  EXPECT_EQ(lists(), c.lists);
  p.fs.fault = nullptr;
  p.compare();
  EXPECT_EQ(lists(), c.lists);
}

INSTANTIATE_TEST_SUITE_P(Actions, HalfDone, ::testing::ValuesIn(cases));

// A copy is deleted for the sake of the other only while that one is still as compared.
TEST_F(AlignTest, NothingIsDeletedForACopyThatIsGoneOrChanged) {
  ::unlink(p.drives.native("C:\\one\\same.txt").constData());
  p.dialogs.expect("ERROR 53 File not found");
  drop(5, "same.txt", 1);
  EXPECT_EQ(content("D:\\two\\same.txt"), "same");

  p.file(2, "new1.txt", "changed", t0 + 120);
  p.dialogs.expect("do you want to delete NEW1.TXT from dir 1?", Answer::Yes);
  p.dialogs.expect(
      "D:\\two\\new1.txt has changed since the comparison (it is another file now, or its time or "
      "length is not what was compared). Nothing was done: compare the directories again.");
  drop(3, "new1.txt", delete_target);
  EXPECT_EQ(content("C:\\one\\new1.txt"), "newer in 1");
}

}  // namespace
}  // namespace tz::test
