#pragma once

#include "platform/dialogs.h"

namespace tz {

// Modal boxes shown with Qt over the active window.
class QtDialogs : public Dialogs {
 public:
  Answer message_box(const MessageBox& box) override;
  std::optional<QString> input_box(const QString& prompt, const QString& title,
                                   const QString& default_text) override;
};

}  // namespace tz
