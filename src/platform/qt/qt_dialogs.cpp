#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QList>
#include <QMessageBox>

namespace tz {

namespace {

QString title_or_default(const QString& title) {
  return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

QMessageBox::Icon qt_icon(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// The buttons from the left, as `default_button` counts them.
QList<QMessageBox::StandardButton> qt_buttons(Buttons buttons) {
  switch (buttons) {
    case Buttons::YesNo:
      return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesNoCancel:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case Buttons::Ok:
      break;
  }
  return {QMessageBox::Ok};
}

Answer answer_for(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Cancel:
      return Answer::Cancel;
    default:
      return Answer::Ok;
  }
}

}  // namespace

Answer QtDialogs::message_box(const MessageBox& box) {
  QMessageBox message(qt_icon(box.icon), title_or_default(box.title), box.text,
                      QMessageBox::NoButton, QApplication::activeWindow());
  const QList<QMessageBox::StandardButton> buttons = qt_buttons(box.buttons);
  for (QMessageBox::StandardButton button : buttons) message.addButton(button);
  const int default_index =
      box.default_button >= 0 && box.default_button < buttons.size() ? box.default_button : 0;
  message.setDefaultButton(buttons[default_index]);
  // Esc answers the most cautious choice: Cancel when offered, else No.
  message.setEscapeButton(buttons.last());
  message.exec();
  QAbstractButton* clicked = message.clickedButton();
  if (clicked == nullptr) return answer_for(buttons.last());
  return answer_for(message.standardButton(clicked));
}

std::optional<QString> QtDialogs::input_box(const QString& prompt, const QString& title,
                                            const QString& default_text) {
  bool accepted = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), title_or_default(title),
                                             prompt, QLineEdit::Normal, default_text, &accepted);
  if (!accepted) return std::nullopt;
  return text;
}

}  // namespace tz
