#include "core/context.h"

#include "texts/texts.h"

namespace tz {

Answer Context::message(const QString& text, Buttons buttons, Icon icon, int default_button) {
  return services_.dialogs.message_box(
      MessageBox{text, text::app_title, buttons, icon, default_button});
}

}  // namespace tz
