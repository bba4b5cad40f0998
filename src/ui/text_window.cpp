#include "ui/text_window.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionSizeGrip>
#include <algorithm>
#include <cmath>

#include "platform/services.h"
#include "texts/help_texts.h"
#include "texts/texts.h"
#include "ui/control_binding.h"
#include "ui/fonts.h"
#include "ui/twips.h"

namespace tz::ui {

namespace {

constexpr float min_height = 2000;
constexpr int grip_pixels = 12;
constexpr double text_font_points = 9;
constexpr double twips_per_inch = 1440.0;

// The sizing grip is a picture only: the window's border does the sizing.
QPixmap grip_picture(const QWidget& widget) {
  QPixmap picture(grip_pixels, grip_pixels);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  QStyleOptionSizeGrip option;
  option.initFrom(&widget);
  option.rect = picture.rect();
  option.corner = Qt::BottomRightCorner;
  widget.style()->drawControl(QStyle::CE_SizeGrip, &option, &painter, &widget);
  return picture;
}

}  // namespace

TextWindowLayout text_window_layout(const TextWindowLayout& current, float width, float height,
                                    ShowState state) {
  if (state == ShowState::Minimised) return current;
  TextWindowLayout l = current;
  l.Text1.top = 90;
  l.b_ok.height = 300;
  l.b_ok.width = 1500;
  l.Text1.width = width - 300;
  l.Text1.left = (width - 90 - l.Text1.width) / 2;
  // A maximised window is as high as the screen makes it.
  if (state == ShowState::Normal && height < min_height) height = min_height;
  l.height = height;
  l.Text1.height = height - l.b_ok.height - 650;
  l.b_ok.top = bottom_edge(l.Text1) + 120;
  l.b_ok.left = (width - 90 - l.b_ok.width) / 2;
  l.pic_adjust.left = width - l.pic_adjust.width - 120;
  l.pic_adjust.top = height - l.pic_adjust.height - 400;
  return l;
}

TextWindow::TextWindow(SystemFacts& facts) : QWidget(nullptr, Qt::Window), facts_(facts) {
  set_control_name(this, QStringLiteral("f_msgbox"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(text::app_title);

  Text1_ = new QPlainTextEdit(this);
  set_control_name(Text1_, QStringLiteral("Text1"));
  Text1_->setFont(fixed_pitch_font(text_font_points));
  Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Tab goes on to "OK": the text takes no typing anyway.
  Text1_->setTabChangesFocus(true);
  connect(Text1_, &QPlainTextEdit::textChanged, this, &TextWindow::keep_text);

  b_ok_ = new QPushButton(text::b_ok, this);
  set_control_name(b_ok_, QStringLiteral("b_ok"));
  connect(b_ok_, &QPushButton::clicked, this, &QWidget::close);

  pic_adjust_ = new QLabel(this);
  set_control_name(pic_adjust_, QStringLiteral("pic_adjust"));
  pic_adjust_->setPixmap(grip_picture(*this));
  pic_adjust_->setAlignment(Qt::AlignRight | Qt::AlignBottom);

  // Esc closes the window whichever control has the focus.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  set_layout();
}

void TextWindow::set_text(const QString& text) {
  filling_ = true;
  Text1_->setPlainText(text);
  filling_ = false;
  // The box turns CR LF into its own line breaks.
  shown_ = Text1_->toPlainText();
}

void TextWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  set_layout();
}

void TextWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    // Coming back from the task bar needs no change of size, but a new layout.
    set_layout();
  } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    Text1_->setFocus();
  }
}

void TextWindow::set_layout() {
  if (isMinimized()) return;
  const double d = dpi();
  const int frame = facts_.frame_height_twips();
  const auto width = static_cast<float>(pixels_to_twips(this->width(), d));
  const auto height = static_cast<float>(pixels_to_twips(this->height(), d) + frame);
  const ShowState state =
      isMaximized() || isFullScreen() ? ShowState::Maximised : ShowState::Normal;
  layout_ = text_window_layout(layout_, width, height, state);
  if (layout_.height > height) {
    // Rounded up, so that the window is not found too low again at the next resize.
    const auto pixels = static_cast<int>(std::ceil((layout_.height - frame) * d / twips_per_inch));
    resize(this->width(), pixels);
  }
  Text1_->setGeometry(pixel_rect(layout_.Text1, d));
  b_ok_->setGeometry(pixel_rect(layout_.b_ok, d));
  pic_adjust_->setGeometry(pixel_rect(layout_.pic_adjust, d));
}

void TextWindow::keep_text() {
  // Only a change of letter case passes: texts are compared without regard to it.
  if (filling_ || Text1_->toPlainText().compare(shown_, Qt::CaseInsensitive) == 0) return;
  // The caret stays about where the edit was, so that selecting can go on from there.
  const int at = Text1_->textCursor().position();
  filling_ = true;
  Text1_->setPlainText(shown_);
  filling_ = false;
  QTextCursor cursor = Text1_->textCursor();
  cursor.setPosition(std::min(at, static_cast<int>(shown_.size())));
  Text1_->setTextCursor(cursor);
}

double TextWindow::dpi() const {
  return logical_dpi(this);
}

BigBox::BigBox(QWidget& main_window, SystemFacts& facts)
    : QObject(&main_window), main_window_(main_window), facts_(facts) {}

BigBox::~BigBox() {
  delete window_.data();
}

void BigBox::Big_box(const QString& msg, const QString& capt) {
  if (!window_) window_ = new TextWindow(facts_);
  window_->set_text(msg);
  window_->setWindowTitle(capt);
  window_->setWindowIcon(main_window_.windowIcon());
  // A window still open from before, maximised or minimised, takes the main window's
  // place as well.
  window_->setWindowState(Qt::WindowNoState);
  // Positions are those of the frames; both windows are framed alike.
  window_->move(main_window_.pos());
  window_->resize(main_window_.size());
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace tz::ui
