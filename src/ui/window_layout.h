#pragma once

#include <span>

#include "ui/twips.h"

namespace tz::ui {

// Where every placed control of the main window stands. The five command buttons are
// measured inside `Frame_bottoni`, everything else inside the window's client area.
struct WindowLayout {
  TwipRect lab_dir1, lab_dir2, Drive1, Drive2, Dir1, Dir2, lab_bytes_dir1, lab_bytes_dir2;
  TwipRect lab_drop_to_see, lab_drop_to_delete, Text1, Text2, Picture1, Picture2;
  TwipRect lab_list1, lab_list2, lab_list3, lab_list4, lab_list5;
  TwipRect List1, List2, List3, List4, List5;
  TwipRect bot_list1, bot_list2, bot_list3, bot_list4;
  TwipRect b_next_alignment, lab_drag_drop;
  TwipRect Frame_bottoni, bot_compare_tree, bot_compare, bot_delete, bot_cancel, bot_exit;
  TwipRect history;
};

// A placed control's name and its rectangle in the layout.
struct PlacedControl {
  const char* name;
  TwipRect WindowLayout::*rect;
};
std::span<const PlacedControl> placed_controls();

// The places the window takes as it loads, for a window of the given outer size.
WindowLayout initial_layout(float window_width, float window_height);

// The places after a change of the window's outer size. What it does not move keeps its
// place in `current`; the hint line takes the button frame's place from `current`, so
// it follows a change of width one resize later. `caption_extra` is the amount by which
// the window's title bar and borders exceed the height the layout was drawn for.
WindowLayout resize_layout(const WindowLayout& current, float window_width, float window_height,
                           int caption_extra);

}  // namespace tz::ui
