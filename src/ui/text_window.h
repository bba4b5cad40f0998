#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/window_layout.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tz {
class SystemFacts;
}

namespace tz::ui {

enum class ShowState { Normal, Minimised, Maximised };

// Where the text window's controls stand, in twips, and the window's outer height once
// laid out.
struct TextWindowLayout {
  TwipRect Text1, b_ok;
  // The grip's picture box keeps its drawn size.
  TwipRect pic_adjust{0, 0, 180, 180};
  float height = 0;
};

// The text window's set_layout for a window of this outer size: the text fills the
// window above a centred "OK", the grip sits in the lower right corner. A minimised
// window keeps `current`; a window in its normal state is no lower than 2000 twips.
TextWindowLayout text_window_layout(const TextWindowLayout& current, float width, float height,
                                    ShowState state);

// The window f_msgbox: a long text in a fixed-pitch font, which can be scrolled,
// selected and copied but not changed (an edit is undone at once, unless it changes
// only the case of letters). "OK" and Esc close it; it is deleted once closed.
class TextWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TextWindow(SystemFacts& facts);

  void set_text(const QString& text);
  const TextWindowLayout& current_layout() const { return layout_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void set_layout();
  void keep_text();
  double dpi() const;

  SystemFacts& facts_;
  QPlainTextEdit* Text1_ = nullptr;
  QPushButton* b_ok_ = nullptr;
  QLabel* pic_adjust_ = nullptr;
  TextWindowLayout layout_;
  // The text as the box gives it back, and whether the box is being filled by us.
  QString shown_;
  bool filling_ = false;
};

// The main window's Big_box: shows a long text in the text window, made when none is
// open, over the main window at its size. The window has no owner: the main window
// stays usable and may come on top of it. It goes with the main window.
class BigBox : public QObject {
  Q_OBJECT

 public:
  BigBox(QWidget& main_window, SystemFacts& facts);
  ~BigBox() override;

  void Big_box(const QString& msg, const QString& capt);
  // The open text window; null when none is.
  TextWindow* window() const { return window_; }

 private:
  QWidget& main_window_;
  SystemFacts& facts_;
  QPointer<TextWindow> window_;
};

}  // namespace tz::ui
