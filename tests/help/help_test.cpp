#include "help/help.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/program.h"

namespace tz::test {
namespace {

TEST(HelpVersion, HistoryListsEveryEntryAsStoredNewestFirst) {
  const QString history = version_history_text(false);
  EXPECT_TRUE(
      history.startsWith("\r\n31^031026.7) I: Setup kit now puts shortcut to program on "
                         "the desktop.\r\n30^031026.6) I: Avoid false error"));
  EXPECT_TRUE(
      history.endsWith("\r\n02^010511.2) N: Version history."
                       "\r\n------------------------- VERSION 2.2.0 -----------------------------"
                       "\r\n\r\n[end of version history]"));
  // 24 entries, the base version's line, the empty line and the end line.
  EXPECT_EQ(history.count("\r\n"), 27);
  // Entries whose neighbours are from other dates, and texts kept as they were written.
  EXPECT_TRUE(
      history.contains("\r\n22^030830.3) I: Size of window is now variable.\r\n21^030830"
                       ".2) F: When comparing trees, directories with 'archive' status "
                       "were not always rcognized as folders.\r\n18^030405.1) I: In "
                       "file menu, new command 'skip delete confirmations on/off'.\r\n"));
  EXPECT_TRUE(
      history.contains("\r\n11^020501.1) F: Avoid error while copying open file.\r\n08^"
                       "010701.1) I: Improved color of main window.\r\n07^010602.1) F: "
                       "Missing file scrrun.dll in installation kit.\r\n05^010515.1) F: "
                       "At startup, erroenous 'directory not found' warning.\r\n"));
}

TEST(HelpUrl, KnowsAddressesByTheirBeginningInAnyCase) {
  for (const char* url : {"https://a.org", "ftp://a.org/f", "http://a.org", "www.a.org",
                          "WWW.A.ORG", "HTTP://A.ORG", "Https://a.org"})
    EXPECT_TRUE(is_url(url)) << url;
  for (const char* text : {"", "C:\\www.a.org", "mailto:ann@a.org", "file:///tmp/a",
                           " http://a.org", "a.org", "www", "https:/a.org"})
    EXPECT_FALSE(is_url(text)) << text;
}

TEST(HelpUrl, OpensOnlyTheFirstLineOfAnAddress) {
  RecordingProcesses processes;
  EXPECT_TRUE(open_url(processes, "https://a.org/x\r\nhttps://b.org"));
  EXPECT_TRUE(open_url(processes, "https://c.org\nsecond line"));
  // Without a scheme the address would be taken for a file.
  EXPECT_TRUE(open_url(processes, "Www.d.org\r\n"));
  // The address is on the second line only.
  EXPECT_FALSE(open_url(processes, "see\r\nhttps://a.org"));
  EXPECT_EQ(processes.opened,
            (std::vector<QString>{"https://a.org/x", "https://c.org", "http://Www.d.org"}));
  // An address that no handler opens is not opened either.
  processes.open_succeeds = false;
  EXPECT_FALSE(open_url(processes, "https://a.org"));
}

class HelpMenu : public ::testing::Test {
 protected:
  struct Shown {
    QString msg, capt;
  };
  CoreProgram p;
  std::vector<Shown> shown;
  Help help{p.tz.context(), [this](const QString& msg, const QString& capt) {
              shown.push_back({msg, capt});
            }};
};

TEST_F(HelpMenu, VersionHistoryGoesToTheTextWindowUnderItsHeading) {
  help.m_version_history_Click();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].capt, "Tenzor - Version history");
  EXPECT_TRUE(shown[0].msg.startsWith(
      "TENZOR VERSION HISTORY \r\n\r\nCurrent version is 2.2.31 (26/Oct/2003)\r\n\r\nIt includes "
      "the following changes (F = bug fixed, I = improvement, N = new function)\r\n"
      "------------------------------------------------------------------------------------"
      "\r\n31^031026.7) I: "));
  EXPECT_TRUE(shown[0].msg.endsWith("-----\r\n\r\n[end of version history]"));
  // Without a window (the report) it shows nothing.
  Help(p.tz.context(), nullptr).release_notes();
  EXPECT_TRUE(p.dialogs.boxes.empty());
}

TEST_F(HelpMenu, WebSiteOpensTheMakersAddressOrSaysThatNoBrowserStarted) {
  help.m_web_site_Click();
  EXPECT_EQ(p.processes.opened, std::vector<QString>{"https://tenzor.org"});
  EXPECT_TRUE(p.dialogs.boxes.empty());
  p.processes.open_succeeds = false;
  p.dialogs.expect("The web browser could not be started for https://tenzor.org.");
  help.m_web_site_Click();
}

TEST_F(HelpMenu, CommandLineFlagAndAboutHelpAreShownPlain) {
  p.dialogs.expect(
      QString::fromUtf8("Format of optional command line for single directory comparison: \n"
                        "              'TENZOR.EXE dir1spec | dir2spec' \n"
                        "where dir1spec and dir2spec (optional parameters) are the complete "
                        "path names\n"
                        "of the two directories, separated by one space and including drive "
                        "specifier.\n"
                        "Example:\n"
                        "              'TENZOR.EXE C:\\XYZ\\ABC | A:\\JKL').\n\n\n"
                        "Format of optional command line for directory tree comparison: \n"
                        "              'TENZOR.EXE dir1spec \xC2\xA7 dir2spec' \n"
                        "where dir1spec and dir2spec (optional parameters) are the complete "
                        "path names\n"
                        "of the two directories, separated by one space and including drive "
                        "specifier.\n"
                        "  Example:\n"
                        "              'TENZOR.EXE C:\\XYZ\\ABC \xC2\xA7 A:\\JKL').\n\n\n"));
  p.dialogs.expect(
      "To avoid tenzoring a directory, place an empty text file named \"_no_tenzor.flg\" in that "
      "directory.");
  p.dialogs.expect(
      "Tenzor version 2.2.31 (26/Oct/2003)\r\n\r\nMade by the Tenzor developers.\r\n\r\n"
      "Look for updates on the web site https://tenzor.org\r\n");
  help.m_comman_line_Click();
  help.m_directory_flags_Click();
  help.m_about_Click();
  for (const MessageBox& box : p.dialogs.boxes) {
    EXPECT_EQ(box.title, &box == &p.dialogs.boxes.back() ? "About Tenzor" : "Tenzor");
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_EQ(box.icon, Icon::None);
  }
}

}  // namespace
}  // namespace tz::test
