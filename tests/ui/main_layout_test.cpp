#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

#include "ui/twips.h"
#include "ui/window_layout.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

// Pixel numbers below are at 96 dpi, 15 twips to the pixel, as offscreen reports it.
class UiWindowLayout : public WindowTest {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(p.tz);
    ASSERT_EQ(ui::logical_dpi(window.get()), 96.0);
  }
  QRect at(const char* name) const {
    return window->control(QString::fromLatin1(name))->geometry();
  }
  Globals& globals() { return p.tz.globals(); }
};

TEST_F(UiWindowLayout, WindowOpensAtTheSmallestSize) {
  show_window();
  EXPECT_EQ(window->size(), QSize(641, 482));
  EXPECT_EQ(window->minimumSize(), QSize(641, 482));

  EXPECT_EQ(at("List2"), QRect(517, 211, 103, 132));
  EXPECT_EQ(at("List5"), QRect(269, 130, 103, 234));
  // Measured inside the frame.
  EXPECT_EQ(window->control("bot_compare")->parentWidget(), window->control("Frame_bottoni"));
  EXPECT_EQ(at("bot_compare"), QRect(130, 12, 115, 25));
}

TEST_F(UiWindowLayout, RequestedGeometryIsTheOuterWindowAndTheLayoutFollowsIt) {
  // A title bar of 300 twips lies outside the widget.
  p.facts.frame = 300;
  model().set_geometry(1500, 750, 12000, 9000);
  emit model().initial_layout_requested();
  show_window();

  EXPECT_EQ(window->pos(), QPoint(100, 50));
  EXPECT_EQ(window->size(), QSize(800, 580));
  EXPECT_EQ(window->minimumSize(), QSize(641, 462));
  EXPECT_EQ(at("List2"), QRect(649, 211, 104, 132));
  EXPECT_EQ(at("Frame_bottoni"), QRect(9, 507, 780, 43));
}

TEST_F(UiWindowLayout, ResizeAfterLoadingFollowsTheWindowSnapsBackAndWaitsForARestore) {
  show_window();
  globals().GLB_caption_extra = 75;

  // While loading, a resize moves nothing.
  window->resize(700, 550);
  EXPECT_EQ(at("List1"), QRect(21, 211, 103, 132));

  globals().GLB_loading = false;
  window->resize(800, 600);
  EXPECT_EQ(at("List1"), QRect(21, 211, 132, 256));
  EXPECT_EQ(at("Frame_bottoni"), QRect(8, 502, 780, 43));
  // The hint line keeps the frame's old width until the next resize layout; it rises
  // to show one whole line above the frame.
  EXPECT_EQ(at("lab_drag_drop"), QRect(9, 491, 621, 11));
  emit model().resize_layout_requested();
  EXPECT_EQ(at("lab_drag_drop"), QRect(8, 491, 780, 11));
  // A resize leaves the step-through's button as it was.
  EXPECT_FALSE(window->control("b_next_alignment")->isVisible());

  window->resize(300, 200);
  EXPECT_EQ(window->size(), QSize(641, 482));
  EXPECT_EQ(at("List1"), QRect(21, 211, 100, 138));

  // A minimised window is laid out only when restored.
  window->showMinimized();
  ASSERT_TRUE(window->isMinimized());
  window->resize(800, 600);
  EXPECT_EQ(at("List1"), QRect(21, 211, 100, 138));
  window->showNormal();
  EXPECT_EQ(at("List1"), QRect(21, 211, 132, 256));
}

// Each caption whole inside its control, with every caption the control shows, as the
// window loads and after a resize at the smallest size; the hint line ends above the
// button frame. (CTest runs this again at twice the scale.)
TEST_F(UiWindowLayout, EveryCaptionIsWholeAndTheHintStaysAboveTheFrame) {
  show_window();
  const auto check = [this](const char* when) {
    SCOPED_TRACE(when);
    int measured = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      const QString name = widget->objectName();
      QString caption;
      int room = 0;
      if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        caption = button->text();
        room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
      } else if (auto* label = qobject_cast<QLabel*>(widget);
                 label && !label->wordWrap() && name != "Label5") {
        caption = label->text();
        room = label->contentsRect().width();
      }
      if (caption.isEmpty()) continue;
      ++measured;
      EXPECT_LE(widget->fontMetrics().size(Qt::TextShowMnemonic, caption).width(), room)
          << name.toStdString() << ": " << caption.toStdString();
    }
    EXPECT_GE(measured, 20);
    // At least one whole line of the hint, and none over the frame.
    EXPECT_LT(at("lab_drag_drop").bottom(), at("Frame_bottoni").top());
    EXPECT_GE(at("lab_drag_drop").height(),
              window->control("lab_drag_drop")->fontMetrics().lineSpacing());
  };
  check("as built");
  model().bot_list3.set_caption("align selected files");
  model().lab_list4.set_caption("newer in dir 2");
  check("captions of a comparison");
  globals().GLB_loading = false;
  emit model().resize_layout_requested();
  check("resized");
  // The captions the smaller font keeps whole are still readable.
  EXPECT_GE(window->font().pointSizeF(), 6.0);
}

}  // namespace
}  // namespace tz::test
