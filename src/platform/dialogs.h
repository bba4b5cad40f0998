#pragma once

#include <QString>
#include <optional>

namespace tz {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Critical, Question, Exclamation };
enum class Answer { Ok, Yes, No, Cancel };

// One modal message box. `default_button` counts the buttons from the left (0 first).
struct MessageBox {
  QString text;
  QString title;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  int default_button = 0;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer message_box(const MessageBox& box) = 0;
  // The text the user typed, or nothing when the box was cancelled.
  virtual std::optional<QString> input_box(const QString& prompt, const QString& title,
                                           const QString& default_text) = 0;
};

}  // namespace tz
