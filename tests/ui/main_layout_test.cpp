#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

#include "ui/twips.h"
#include "ui/window_layout.h"
#include "window_fixture.h"

namespace tz::test {
namespace {

using namespace ui;

#define EXPECT_RECT(r, ...)                \
  do {                                     \
    SCOPED_TRACE(#r);                      \
    expect_rect(r, TwipRect{__VA_ARGS__}); \
  } while (false)

TEST(UiLayout, InitialLayoutAtTheSmallestWindow) {
  const WindowLayout l = initial_layout(9615, 7230);

  // Lists: five of 1550 with six equal gaps of 310.83, dir 1 first and dir 2 last; List3
  // ends with List1, List5 with the align buttons. The captions and align buttons are placed
  // by one rule for all lists; what the resize keeps is checked below.
  EXPECT_RECT(l.List1, 310.833f, 3165, 1550, 1980);
  EXPECT_RECT(l.List3, 2171.667f, 2845, 1550, 2300);
  EXPECT_RECT(l.List5, 4032.5f, 1955, 1550, 3500);
  EXPECT_RECT(l.List4, 5893.333f, 2845, 1550, 2300);
  EXPECT_RECT(l.List2, 7754.167f, 3165, 1550, 1980);
  EXPECT_RECT(l.lab_list3, 2171.667f, 2645, 1550, 255);
  EXPECT_RECT(l.bot_list1, 310.833f, 5205, 1550, 250);

  // Selectors over the outer lists, dir 2 flush with List2's right edge. Their tops and
  // sizes, and lab_bytes_dir2 whole, pass through the resize and are checked there.
  EXPECT_RECT(l.Dir1, 310.833f, 550, 1815, 2055);
  EXPECT_RECT(l.lab_bytes_dir1, 310.833f, 2605, 1815, 195);
  EXPECT_RECT(l.Drive2, 7489.167f, 255, 1815, 315);

  // Drop boxes with three equal gaps of 454.44 between the directory lists.
  EXPECT_RECT(l.lab_drop_to_see, 2580.278f, 255, 2000, 225);
  EXPECT_RECT(l.Text1, 2580.278f, 460, 2000, 1275);
  EXPECT_RECT(l.Text2, 5034.722f, 460, 2000, 1275);
  EXPECT_RECT(l.lab_drop_to_delete, 5034.722f, 255, 2000, 225);
  EXPECT_RECT(l.Picture1, 3302.778f, 820, 555, 555);
  EXPECT_RECT(l.Picture2, 5794.722f, 820, 480, 480);

  // The button frame; its buttons, measured inside it, are placed by one rule.
  EXPECT_RECT(l.Frame_bottoni, 130, 5830, 9315, 650);
  EXPECT_RECT(l.bot_compare_tree, 104, 185, 1725, 375);
  EXPECT_RECT(l.bot_compare, 1945, 185, 1731, 375);
  EXPECT_RECT(l.bot_exit, 7468, 185, 1731, 375);

  EXPECT_RECT(l.lab_drag_drop, 360, 5415, 9165, 495);
  EXPECT_RECT(l.b_next_alignment, 2614.167f, 2040, 930, 375);
  EXPECT_RECT(l.history, 20, 0, 9495, 6540);
}

TEST(UiLayout, ResizeLayoutAtTheSmallestAndALargerWindowWithATallerCaption) {
  const WindowLayout start = initial_layout(9615, 7230);
  const WindowLayout smallest = resize_layout(start, 9615, 7230, 0);
  // The title bar's extra height of 75 comes off the lists and the frame's top.
  const WindowLayout larger = resize_layout(start, 12000, 9000, 75);
  struct Row {
    const char* name;
    TwipRect WindowLayout::*rect;
    TwipRect at_smallest, at_larger;
  };
  // clang-format off
#define ROW(name, ...) Row{#name, &WindowLayout::name, __VA_ARGS__}
  // clang-format on
  const Row rows[] = {
      ROW(List1, {310.833f, 3165, 1503, 2150}, {310.833f, 3165, 1980, 3845}),
      ROW(List3, {2163.833f, 2845, 1503, 2350}, {2640.833f, 2845, 1980, 4045}),
      ROW(List5, {4016.833f, 1955, 1503, 3550}, {4970.833f, 1955, 1980, 5245}),
      ROW(List4, {5869.833f, 2845, 1503, 2350}, {7300.833f, 2845, 1980, 4045}),
      ROW(List2, {7722.833f, 3165, 1503, 2150}, {9630.833f, 3165, 1980, 3845}),
      // Each align button 30 under its own list, so those of List3 and List4 stand higher.
      ROW(bot_list1, {310.833f, 5345, 1503, 250}, {310.833f, 7040, 1980, 250}),
      ROW(Drive1, {310.833f, 255, 1932.5f, 315}, {310.833f, 255, 3125, 315}),
      ROW(Text1, {2593.333f, 460, 2000, 1275}, {3785.833f, 460, 2000, 1275}),
      ROW(Text2, {4943.333f, 460, 2000, 1275}, {6135.833f, 460, 2000, 1275}),
      ROW(Drive2, {7293.333f, 255, 1932.5f, 315}, {8485.833f, 255, 3125, 315}),
      ROW(Dir2, {7308.333f, 550, 1902.5f, 2055}, {8500.833f, 550, 3095, 2055}),
      ROW(b_next_alignment, {2665.083f, 2040, 930, 375}, {3738.333f, 2040, 930, 375}),
      ROW(Frame_bottoni, {120, 5830, 9315, 650}, {120, 7525, 11700, 650}),
      ROW(bot_compare, {1943, 185, 1743, 375}, {2420, 185, 2220, 375}),
      ROW(bot_exit, {7472, 185, 1743, 375}, {9380, 185, 2220, 375}),
      ROW(history, {20, 0, 9495, 6540}, {20, 0, 11880, 8310}),
      // The hint line under the align buttons takes the frame's place from before the
      // resize: here, where the initial layout put it.
      ROW(lab_drag_drop, {130, 5685, 9315, 495}, {130, 7380, 9315, 495}),
  };
#undef ROW
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    expect_rect(smallest.*row.rect, row.at_smallest);
    expect_rect(larger.*row.rect, row.at_larger);
  }

  EXPECT_RECT(smallest.lab_list5, 4016.833f, 1755, 1503, 255);
  EXPECT_RECT(smallest.bot_list3, 2163.833f, 5225, 1503, 250);
  EXPECT_RECT(smallest.lab_dir1, 310.833f, 60, 1932.5f, 255);
  EXPECT_RECT(smallest.Dir1, 325.833f, 550, 1902.5f, 2055);
  EXPECT_FLOAT_EQ(smallest.lab_drop_to_delete.left, smallest.Text2.left);
  EXPECT_RECT(smallest.Picture1, 3315.833f, 820, 555, 555);
  EXPECT_RECT(smallest.Picture2, 5703.333f, 820, 480, 480);
  EXPECT_RECT(smallest.bot_compare_tree, 100, 185, 1743, 375);
  EXPECT_RECT(larger.bot_list4, 7300.833f, 6920, 1980, 250);
  EXPECT_RECT(larger.lab_list2, 9630.833f, 2980, 1980, 255);
  EXPECT_RECT(larger.lab_dir2, 8485.833f, 60, 3125, 255);
  // Left alone: the free-space labels, where the initial layout put them.
  EXPECT_RECT(larger.lab_bytes_dir2, 7489.167f, 2605, 1815, 195);
  // The hint line catches up with the frame at the next resize.
  EXPECT_RECT(resize_layout(larger, 12000, 9000, 75).lab_drag_drop, 120, 7380, 11700, 495);

  // A smaller window is laid out as the smallest.
  const WindowLayout small = resize_layout(start, 6000, 4000, 0);
  for (const PlacedControl& control : placed_controls()) {
    SCOPED_TRACE(control.name);
    expect_rect(small.*control.rect, smallest.*control.rect);
  }
}

// The window laid out.

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

TEST_F(UiWindowLayout, OpensAtTheSmallestSizeResizeAfterLoadingFollowsSnapsBackAndWaits) {
  show_window();
  EXPECT_EQ(window->size(), QSize(641, 482));
  EXPECT_EQ(window->minimumSize(), QSize(641, 482));
  EXPECT_EQ(at("List2"), QRect(517, 211, 103, 132));
  // Measured inside the frame.
  EXPECT_EQ(window->control("bot_compare")->parentWidget(), window->control("Frame_bottoni"));
  EXPECT_EQ(at("bot_compare"), QRect(130, 12, 115, 25));

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
