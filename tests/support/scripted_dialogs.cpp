#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tz::test {
namespace {

const char* name(Answer answer) {
  const char* names[] = {"Ok", "Yes", "No", "Cancel"};
  return names[static_cast<int>(answer)];
}

bool offers(Buttons buttons, Answer answer) {
  if (buttons == Buttons::Ok) return answer == Answer::Ok;
  return answer != Answer::Ok && (buttons == Buttons::YesNoCancel || answer != Answer::Cancel);
}

std::string quoted(const QString& text) {
  return '"' + text.toStdString() + '"';
}

}  // namespace

ScriptedDialogs::~ScriptedDialogs() {
  for (const Expected& left : expected_)
    ADD_FAILURE_AT(left.where.file_name(), static_cast<int>(left.where.line()))
        << "expected box never shown: " << quoted(left.text);
}

void ScriptedDialogs::expect(const QString& text, Answer answer, Where where) {
  expected_.push_back({text, true, answer, where});
}

void ScriptedDialogs::expect_starting(const QString& start, Answer answer, Where where) {
  expected_.push_back({start, false, answer, where});
}

void ScriptedDialogs::expect_input(const QString& prompt, const QString& title,
                                   std::optional<QString> typed, const QString& default_text,
                                   Where where) {
  expected_.push_back({prompt, true, Answer::Ok, where, true, title, default_text,
                       typed.value_or(QString()), !typed.has_value()});
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
  std::optional<Expected> taken(std::move(expected_.front()));
  expected_.pop_front();
  return taken;
}

Answer ScriptedDialogs::message_box(const MessageBox& box) {
  boxes.push_back(box);
  const Answer cautious = box.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  const std::optional<Expected> expected = take(box.text);
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
                                                  const QString& default_text) {
  const std::optional<Expected> expected = take(prompt, true);
  if (!expected) return std::nullopt;
  if (title != expected->title || default_text != expected->default_text) {
    ADD_FAILURE_AT(expected->where.file_name(), static_cast<int>(expected->where.line()))
        << "input box " << quoted(prompt) << " has the title " << quoted(title)
        << " and the default " << quoted(default_text) << "\nwhere " << quoted(expected->title)
        << " and " << quoted(expected->default_text) << " were expected";
    return std::nullopt;
  }
  if (expected->cancelled) return std::nullopt;
  return expected->typed;
}

std::vector<QString> ScriptedDialogs::texts() const {
  std::vector<QString> out;
  for (const MessageBox& box : boxes) out.push_back(box.text);
  return out;
}

const MessageBox& ScriptedDialogs::box(int index, Where where) const {
  static const MessageBox none;
  const auto count = static_cast<int>(boxes.size());
  const int at = index < 0 ? count + index : index;
  if (at < 0 || at >= count) {
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "no box " << index << ": " << count << " shown";
    return none;
  }
  return boxes[static_cast<size_t>(at)];
}

}  // namespace tz::test
