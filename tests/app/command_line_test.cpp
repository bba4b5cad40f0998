#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tz::test {
namespace {

struct Case {
  QStringList input;
  bool valid;
  bool tree;
  const char* path1;
  const char* path2;
};

// A line is read as a whole; paths given as arguments of their own are taken exactly, and
// any other arguments are read as one line.
TEST(CommandLineTest, ReadsThePairFormsAndRefusesEverythingElse) {
  const std::vector<Case> lines = {
      {{"C:\\A | D:\\B"}, true, false, "C:\\A", "D:\\B"},
      {{"C:\\A|D:\\B"}, true, false, "C:\\A", "D:\\B"},
      {{"   C:\\my docs   |   D:\\B  "}, true, false, "C:\\my docs", "D:\\B"},
      {{"C:\\A \xC2\xA7 D:\\B"}, true, true, "C:\\A", "D:\\B"},
      // The first "§" separates, as the first "|" does.
      {{"C:\\A \xC2\xA7 D:\\B \xC2\xA7 C"}, true, true, "C:\\A", "D:\\B \xC2\xA7 C"},
      // The "|" wins over an earlier "§".
      {{"C:\\A \xC2\xA7 D:\\B | E:\\C"}, true, false, "C:\\A \xC2\xA7 D:\\B", "E:\\C"},
      {{"C:\\A | D:\\B \xC2\xA7 E:\\C"}, true, false, "C:\\A", "D:\\B \xC2\xA7 E:\\C"},
      // The first "|" splits; a later one belongs to the second path.
      {{"C:\\A | D:\\B|C"}, true, false, "C:\\A", "D:\\B|C"},
      {{""}, true, false, "E:\\", "E:\\"},
      {{"   "}, true, false, "E:\\", "E:\\"},
      {{"A | B"}, false, false, "", ""},
      {{"C:A | D:\\B"}, false, false, "", ""},
      {{"\\\\server\\share | D:\\B"}, false, false, "", ""},
      {{"C:\\A D:\\B"}, false, false, "", ""},
      {{"C:\\A |"}, false, false, "", ""},
      {{"| D:\\B"}, false, false, "", ""},
      {{"\"C:\\A\" | D:\\B"}, false, false, "", ""},
      // Native paths are translated first; one no drive covers stays invalid.
      {{"/home/ann | /media/usb/docs"}, true, false, "C:\\home\\ann", "C:\\media\\usb\\docs"},
      {{"/elsewhere | D:\\B"}, false, false, "", ""},
  };
  const std::vector<Case> arguments = {
      {{"/a", "|", "/b "}, true, false, "C:\\a", "C:\\b "},
      {{" C:\\my docs ", "|", "D:\\B "}, false, false, "", ""},
      {{"C:\\x|y", "|", "D:\\p \xC2\xA7 q"}, true, false, "C:\\x|y", "D:\\p \xC2\xA7 q"},
      {{"C:\\A", "\xC2\xA7", "D:\\a|b"}, true, true, "C:\\A", "D:\\a|b"},
      // Two folders from a launcher.
      {{"/my docs ", "/a|b"}, true, false, "C:\\my docs ", "C:\\a|b"},
      {{"/a", ""}, false, false, "", ""},
      // One folder alone is dir 1 (and, until another is chosen, dir 2); with a
      // separator inside it is a pair in one argument.
      {{"/my docs "}, true, false, "C:\\my docs ", "C:\\my docs "},
      {{"/a | /b"}, true, false, "C:\\a", "C:\\b"},
      {{"/a", "/b", "/c"}, false, false, "", ""},
      {{"C:\\A", "", "D:\\B"}, false, false, "", ""},
      // Anything else is one line.
      {{"C:\\my", "docs", "|", "D:\\B"}, true, false, "C:\\my docs", "D:\\B"},
      {{"C:\\A | D:\\B "}, true, false, "C:\\A", "D:\\B"},
      {{"C:\\A", "D:\\B"}, false, false, "", ""},
      {{}, true, false, "E:\\", "E:\\"},
  };
  const NativePathTranslator translate = [](const QString& native) -> std::optional<QString> {
    if (native.startsWith("/elsewhere")) return std::nullopt;
    return "C:" + QString(native).replace(u'/', u'\\');
  };
  for (const bool as_line : {true, false}) {
    for (const Case& c : as_line ? lines : arguments) {
      SCOPED_TRACE(c.input.join(u'^').toStdString());
      const CommandLine line = as_line ? parse_command_line(c.input[0], u'E', translate)
                                       : parse_arguments(c.input, u'E', translate);
      EXPECT_EQ(line.valid, c.valid);
      // Only a native path no drive covers is named as such.
      EXPECT_EQ(line.outside, c.input.value(0).startsWith("/elsewhere") ? "/elsewhere" : "");
      if (!c.valid) continue;
      EXPECT_EQ(line.tree, c.tree);
      EXPECT_EQ(line.path1, c.path1);
      EXPECT_EQ(line.path2, c.path2);
    }
  }
}

TEST(CommandLineTest, AnInvalidLineSaysWhatIsWrongWithIt) {
  CommandLine outside;
  outside.outside = "/elsewhere";
  EXPECT_EQ(invalid_line_message(outside, "\r\n"),
            "\"/elsewhere\" lies outside every drive of the drive table (TENZOR_DRIVES)");
  outside.outside = "/home/a\\b";
  EXPECT_EQ(invalid_line_message(outside, "\r\n"),
            "\"/home/a\\b\" cannot be written as a drive path: a name in it holds a backslash, "
            "which a drive path takes for a separator");
  EXPECT_EQ(invalid_line_message(parse_arguments({"/a", "/b", "/c"}, u'C', {}), "\r\n"),
            "Tenzor compares two folders at a time: give it one folder or two.");
}

}  // namespace
}  // namespace tz::test
