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
  // The hint line keeps the frame's old width until the next resize layout.
  EXPECT_EQ(at("lab_drag_drop"), QRect(9, 492, 621, 33));
  emit model().resize_layout_requested();
  EXPECT_EQ(at("lab_drag_drop"), QRect(8, 492, 780, 33));
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

}  // namespace
}  // namespace tz::test
