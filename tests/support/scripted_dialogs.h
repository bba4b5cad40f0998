#pragma once

#include <deque>
#include <optional>
#include <source_location>
#include <vector>

#include "platform/dialogs.h"

namespace tz::test {

// Dialogs for tests: a test names every box it expects, in the order the boxes come.
// A box that was not expected, or does not match the next expected one, fails the test
// and is answered No (Ok when Ok is its only button); so does an expected box that was
// never shown, when the dialogs go at the end of the test. Input boxes take their turn
// the same way, and one that was not expected is cancelled.
class ScriptedDialogs : public Dialogs {
  using Where = std::source_location;

 public:
  ScriptedDialogs() = default;
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;
  ~ScriptedDialogs() override;

  // A box showing exactly `text`, answered `answer`; Ok only for a box whose one button
  // is Ok.
  void expect(const QString& text, Answer answer = Answer::Ok, Where where = Where::current());
  // The same for a long text, given by its beginning.
  void expect_starting(const QString& start, Answer answer = Answer::Ok,
                       Where where = Where::current());
  // An input box with exactly `prompt`, `title` and `default_text`, answered `typed`
  // (nothing for Cancel).
  void expect_input(const QString& prompt, const QString& title, std::optional<QString> typed,
                    const QString& default_text = QString(), Where where = Where::current());

  Answer message_box(const MessageBox& box) override;
  std::optional<QString> input_box(const QString& prompt, const QString& title,
                                   const QString& default_text) override;

  // The texts of the boxes shown so far.
  std::vector<QString> texts() const;

  // Box `index` of those shown so far, the last one by default. When there is no such
  // box the test fails, saying so where it asked, and gets an empty box.
  const MessageBox& box(int index = -1, Where where = Where::current()) const;

  // Every box shown so far.
  std::vector<MessageBox> boxes;

 private:
  struct Expected {
    QString text;       // a message box's text, an input box's prompt
    bool whole = true;  // else the text's beginning
    Answer answer = Answer::Ok;
    Where where;
    bool input = false;
    QString title{}, default_text{};  // an input box's
    // What is typed, unless Cancel is pressed (kept apart: an optional QString here
    // trips a false warning of the compiler).
    QString typed{};
    bool cancelled = false;

    bool matches(const QString& shown) const {
      return whole ? shown == text : shown.startsWith(text);
    }
  };

  // Takes the next expected box if it is `shown`, of the same kind; else fails the test.
  std::optional<Expected> take(const QString& shown, bool input = false);

  std::deque<Expected> expected_;
};

}  // namespace tz::test
