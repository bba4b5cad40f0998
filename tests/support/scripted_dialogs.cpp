#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tz::test {
namespace {

const char* name(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return "Ok";
    case Answer::Yes:
      return "Yes";
    case Answer::No:
      return "No";
    case Answer::Cancel:
      return "Cancel";
  }
  return "?";
}

bool offers(Buttons buttons, Answer answer) {
  switch (buttons) {
    case Buttons::Ok:
      return answer == Answer::Ok;
    case Buttons::YesNo:
      return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
      return answer != Answer::Ok;
  }
  return false;
}

std::string quoted(const QString& text) {
  return '"' + text.toStdString() + '"';
}

}  // namespace

ScriptedDialogs::~ScriptedDialogs() {
  for (const Expected& left : expected_)
    ADD_FAILURE_AT(left.where.file_name(), static_cast<int>(left.where.line()))
        << (left.input ? "expected input box never shown: " : "expected box never shown: ")
        << quoted(left.text);
}

void ScriptedDialogs::expect(const QString& text, Answer answer, Where where) {
  expected_.push_back({text, true, false, answer, false, {}, where});
}

void ScriptedDialogs::expect_starting(const QString& start, Answer answer, Where where) {
  expected_.push_back({start, false, false, answer, false, {}, where});
}

void ScriptedDialogs::expect_input(const QString& prompt, const std::optional<QString>& typed,
                                   Where where) {
  expected_.push_back(
      {prompt, true, true, Answer::Ok, typed.has_value(), typed.value_or(QString()), where});
}

std::optional<ScriptedDialogs::Expected> ScriptedDialogs::take(const QString& shown, bool input) {
  const char* kind = input ? "input box " : "box ";
  if (expected_.empty()) {
    ADD_FAILURE() << "unexpected " << kind << quoted(shown);
    return std::nullopt;
  }
  // A box that does not match leaves the expectation for the boxes after it.
  const Expected& next = expected_.front();
  if (next.input != input || !next.matches(shown)) {
    ADD_FAILURE_AT(next.where.file_name(), static_cast<int>(next.where.line()))
        << "unexpected " << kind << quoted(shown) << "\nwhere the "
        << (next.input ? "input box " : "box ") << (next.whole ? "" : "beginning ")
        << quoted(next.text) << " was expected";
    return std::nullopt;
  }
  Expected taken = next;
  expected_.pop_front();
  return taken;
}

Answer ScriptedDialogs::message_box(const MessageBox& box) {
  boxes.push_back(box);
  const Answer cautious = box.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  const std::optional<Expected> expected = take(box.text, false);
  if (!expected) return cautious;
  if (!offers(box.buttons, expected->answer)) {
    ADD_FAILURE_AT(expected->where.file_name(), static_cast<int>(expected->where.line()))
        << "box " << quoted(box.text) << " has no button for the expected answer "
        << name(expected->answer);
    return cautious;
  }
  return expected->answer;
}

std::optional<QString> ScriptedDialogs::input_box(const QString& prompt, const QString& title,
                                                  const QString&) {
  boxes.push_back(MessageBox{prompt, title, Buttons::Ok, Icon::None, 0});
  const std::optional<Expected> expected = take(prompt, true);
  if (!expected || !expected->typed) return std::nullopt;
  return expected->text_typed;
}

std::vector<QString> ScriptedDialogs::texts() const {
  std::vector<QString> out;
  for (const MessageBox& box : boxes) out.push_back(box.text);
  return out;
}

}  // namespace tz::test
