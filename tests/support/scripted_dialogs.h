#pragma once

#include <deque>
#include <vector>

#include "platform/dialogs.h"

namespace tz::test {

// Dialogs for tests: records every box and answers from a queue. A box for which no
// answer was queued fails the test (an OK-only box needs no answer).
class ScriptedDialogs : public Dialogs {
 public:
  // Queues the answer for the next box that asks a question.
  void expect(Answer answer) { answers_.push_back(answer); }

  Answer message_box(const MessageBox& box) override;
  std::optional<QString> input_box(const QString& prompt, const QString& title,
                                   const QString& default_text) override;

  // The texts of the boxes shown so far.
  std::vector<QString> texts() const;

  std::vector<MessageBox> boxes;
  std::deque<std::optional<QString>> inputs;

 private:
  std::deque<Answer> answers_;
};

}  // namespace tz::test
