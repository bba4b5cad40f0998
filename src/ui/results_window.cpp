#include "ui/results_window.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "texts/texts.h"
#include "tree/results.h"
#include "ui/control_binding.h"
#include "ui/fonts.h"
#include "ui/twips.h"

namespace tz {

using namespace ui;

namespace {

// Outer size, title bar included, as the window was drawn.
constexpr int window_width = 9615;
constexpr int window_height = 7230;
constexpr double design_font_points = 8.25;
constexpr double report_font_points = 9;

struct Place {
  const char* name;
  int left, top, width, height;
};
constexpr Place places[] = {
    {"l_title", 240, 120, 2670, 195},    {"Text1", 240, 360, 9015, 5535},
    {"b_proceed", 360, 6120, 2895, 495}, {"b_save_notepad", 3360, 6120, 2895, 495},
    {"b_cancel", 6360, 6120, 2895, 495},
};

// The report box. Enter belongs to the default button, as in any dialog: the report
// takes no new lines anyway.
class ReportBox : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      event->ignore();
      return;
    }
    QPlainTextEdit::keyPressEvent(event);
  }
};

// The title bar and borders of the windows here, measured on the window below: the
// window manager frames this one alike.
int frame_height_pixels(const QWidget* parent) {
  const QWidget* window = parent != nullptr ? parent->window() : nullptr;
  if (window == nullptr || !window->isVisible()) return 0;
  return std::max(0, window->frameGeometry().height() - window->geometry().height());
}

}  // namespace

ResultsWindow::ResultsWindow(Results& results, QWidget* parent)
    : QDialog(parent), results_(results) {
  set_control_name(this, QStringLiteral("f_results"));
  setWindowTitle(text::results_caption);
  setModal(true);
  // The places were drawn for captions of 8.25 point.
  QFont font = this->font();
  font.setPointSizeF(design_font_points);
  setFont(font);
  build();
  place();
}

void ResultsWindow::build() {
  // Made in tab order: the report first, then the buttons from left to right.
  text_ = new ReportBox(this);
  set_control_name(text_, QStringLiteral("Text1"));
  text_->setFont(fixed_pitch_font(report_font_points));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The report is first in the tab order, not the only stop: Tab reaches the buttons.
  text_->setTabChangesFocus(true);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(text_, &QPlainTextEdit::textChanged, this, &ResultsWindow::keep_report);

  auto* title = new QLabel(text::results_title, this);
  set_control_name(title, QStringLiteral("l_title"));
  title->setTextFormat(Qt::PlainText);
  title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  title->setBuddy(text_);
  text_->setAccessibleName(text::results_title);

  auto add_button = [this](const char* name, const QString& caption, auto on_click) {
    auto* button = new QPushButton(caption, this);
    set_control_name(button, QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, on_click);
    return button;
  };
  QPushButton* proceed = add_button("b_proceed", text::proceed_common, [this] {
    results_.b_proceed_Click();
    accept();
  });
  proceed->setDefault(true);
  add_button("b_save_notepad", text::save_notepad, [this] { results_.b_save_notepad_Click(); });
  add_button("b_cancel", text::cancel_operation, [this] {
    results_.b_cancel_Click();
    done(QDialog::Rejected);
  });
}

void ResultsWindow::place() {
  const double dpi = logical_dpi(this);
  const int frame = frame_height_pixels(parentWidget());
  const int width = twips_to_pixels(window_width, dpi);
  const int height = twips_to_pixels(window_height, dpi) - frame;
  setFixedSize(width, height);
  for (const Place& p : places) {
    auto* widget = findChild<QWidget*>(QString::fromLatin1(p.name));
    QRect rect = twips_rect(p.left, p.top, p.width, p.height, dpi);
    // A caption may reach past its box rather than lose its last letters.
    if (auto* label = qobject_cast<QLabel*>(widget))
      rect.setWidth(std::max(rect.width(), label->sizeHint().width()));
    widget->setGeometry(rect);
  }

  // A window's position is that of its frame.
  const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  move(area.left() + (area.width() - width) / 2, area.top() + (area.height() - height - frame) / 2);
}

void ResultsWindow::run() {
  show_report();
  place();
  text_->setFocus();
  exec();
}

void ResultsWindow::reject() {
  results_.b_proceed_Click();
  accept();
}

void ResultsWindow::show_report() {
  filling_ = true;
  text_->setPlainText(results_.shown_text());
  filling_ = false;
  // The box turns CR LF into its own line breaks.
  shown_ = text_->toPlainText();
}

void ResultsWindow::keep_report() {
  if (filling_ || text_->toPlainText() == shown_) return;
  // The caret stays about where the edit was, so that selecting can go on from there.
  const int at = text_->textCursor().position();
  filling_ = true;
  text_->setPlainText(shown_);
  filling_ = false;
  QTextCursor cursor = text_->textCursor();
  cursor.setPosition(std::min(at, static_cast<int>(shown_.size())));
  text_->setTextCursor(cursor);
}

void show_results_window(Results& results, QWidget* parent) {
  if (parent == nullptr) {
    ResultsWindow window(results);
    window.run();
    return;
  }
  ResultsWindow* window = nullptr;
  for (ResultsWindow* child :
       parent->findChildren<ResultsWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (&child->results() == &results) window = child;
  }
  if (window == nullptr) window = new ResultsWindow(results, parent);
  window->run();
}

}  // namespace tz
