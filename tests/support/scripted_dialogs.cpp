#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tz::test {

Answer ScriptedDialogs::message_box(const MessageBox& box) {
  boxes.push_back(box);
  if (box.buttons == Buttons::Ok) return Answer::Ok;
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected message box: " << box.text.toStdString();
    return box.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
  }
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<QString> ScriptedDialogs::input_box(const QString& prompt, const QString& title,
                                                  const QString&) {
  boxes.push_back(MessageBox{prompt, title, Buttons::Ok, Icon::None, 0});
  if (inputs.empty()) {
    ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
    return std::nullopt;
  }
  // Unpacked and packed again: copying the optional itself trips a false warning of g++.
  const bool answered = inputs.front().has_value();
  const QString text = inputs.front().value_or(QString());
  inputs.pop_front();
  if (!answered) return std::nullopt;
  return text;
}

std::vector<QString> ScriptedDialogs::texts() const {
  std::vector<QString> out;
  for (const MessageBox& box : boxes) out.push_back(box.text);
  return out;
}

}  // namespace tz::test
