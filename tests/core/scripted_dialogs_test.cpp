// The scripted dialogs are what fails every logic test on a box it did not expect: they
// must not quietly grow lenient.
#include "support/scripted_dialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace tz::test {
namespace {

const MessageBox question{"do you want to delete A from dir1?", "", Buttons::YesNoCancel,
                          Icon::Question, 1};
const MessageBox error{"ERROR 61: Disk full", "", Buttons::Ok, Icon::Critical, 0};
const MessageBox none_deleted{"No file deleted.", "", Buttons::Ok, Icon::None, 0};

TEST(ScriptedDialogsTest, BoxesNotExpectedNotMatchingOrNeverShownFailAndAreAnsweredCautiously) {
  ScriptedDialogs dialogs;
  Answer answer = Answer::Yes;
  EXPECT_NONFATAL_FAILURE(answer = dialogs.message_box(question),
                          "unexpected box \"do you want to delete A from dir1?\"");
  EXPECT_EQ(answer, Answer::No);

  // A box out of turn leaves the expected one for the boxes after it.
  dialogs.expect("No file deleted.");
  EXPECT_NONFATAL_FAILURE(answer = dialogs.message_box(error),
                          "where the box \"No file deleted.\" was expected");
  EXPECT_EQ(answer, Answer::Ok);
  EXPECT_EQ(dialogs.message_box(none_deleted), Answer::Ok);

  // A question takes its answer from the test, and only one of its buttons.
  dialogs.expect("do you want to delete A from dir1?");
  EXPECT_NONFATAL_FAILURE(answer = dialogs.message_box(question),
                          "has no button for the expected answer Ok");
  EXPECT_EQ(answer, Answer::No);
  dialogs.expect_starting("do you want to delete A", Answer::Cancel);
  EXPECT_EQ(dialogs.message_box(question), Answer::Cancel);
  EXPECT_EQ(dialogs.boxes.size(), 5u);

  // An expected box never shown fails when the dialogs go.
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedDialogs waiting;
        waiting.expect("No file deleted.");
        waiting.expect("ERROR 61: Disk full");
        waiting.message_box(none_deleted);
      },
      "expected box never shown: \"ERROR 61: Disk full\"");
}

// An input box is answered only by an input box expected with its prompt, title and
// default; anything else fails and is cancelled.
TEST(ScriptedDialogsTest, InputBoxesAreAnsweredOnlyAsExpected) {
  ScriptedDialogs dialogs;
  dialogs.expect("Name:");
  std::optional<QString> typed = "x";
  EXPECT_NONFATAL_FAILURE(typed = dialogs.input_box("Name:", "Create", ""),
                          "unexpected input box \"Name:\"");
  EXPECT_EQ(typed, std::nullopt);
  EXPECT_EQ(dialogs.message_box(MessageBox{"Name:", "", Buttons::Ok, Icon::None, 0}), Answer::Ok);

  dialogs.expect_input("Name:", "Create", QString("new"));
  EXPECT_NONFATAL_FAILURE(typed = dialogs.input_box("Name:", "Rename", ""), "has the title");
  EXPECT_EQ(typed, std::nullopt);
  dialogs.expect_input("Name:", "Create", QString("new"));
  dialogs.expect_input("Name:", "Create", std::nullopt);
  EXPECT_EQ(dialogs.input_box("Name:", "Create", ""), QString("new"));
  EXPECT_EQ(dialogs.input_box("Name:", "Create", ""), std::nullopt);
}

}  // namespace
}  // namespace tz::test
