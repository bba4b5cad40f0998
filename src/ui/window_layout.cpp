#include "ui/window_layout.h"

#include <algorithm>
#include <array>

#include "models/window_size.h"

namespace tz::ui {

namespace {

// Sizes the window was drawn with, which neither layout changes.
constexpr float label_height = 255;
constexpr float drive_height = 315;
constexpr float bytes_height = 195;
constexpr float list12_height = 1980;
constexpr float frame_button_height = 375;
constexpr float design_compare_tree_width = 1725;
constexpr float picture1_size = 555;
constexpr float picture2_size = 480;
constexpr TwipRect design_next_alignment{0, 2040, 930, 375};
constexpr TwipRect design_drag_drop{360, 5415, 9165, 495};

// The space between the lists, the selectors and the frame's buttons after a resize.
constexpr float resize_gap = 350;
constexpr float resize_button_gap = 100;

#define TZ_PLACED(name) PlacedControl(#name, &WindowLayout::name)
constexpr std::array placed{
    TZ_PLACED(lab_dir1),
    TZ_PLACED(lab_dir2),
    TZ_PLACED(Drive1),
    TZ_PLACED(Drive2),
    TZ_PLACED(Dir1),
    TZ_PLACED(Dir2),
    TZ_PLACED(lab_bytes_dir1),
    TZ_PLACED(lab_bytes_dir2),
    TZ_PLACED(lab_drop_to_see),
    TZ_PLACED(lab_drop_to_delete),
    TZ_PLACED(Text1),
    TZ_PLACED(Text2),
    TZ_PLACED(Picture1),
    TZ_PLACED(Picture2),
    TZ_PLACED(lab_list1),
    TZ_PLACED(lab_list2),
    TZ_PLACED(lab_list3),
    TZ_PLACED(lab_list4),
    TZ_PLACED(lab_list5),
    TZ_PLACED(List1),
    TZ_PLACED(List2),
    TZ_PLACED(List3),
    TZ_PLACED(List4),
    TZ_PLACED(List5),
    TZ_PLACED(bot_list1),
    TZ_PLACED(bot_list2),
    TZ_PLACED(bot_list3),
    TZ_PLACED(bot_list4),
    TZ_PLACED(b_next_alignment),
    TZ_PLACED(lab_drag_drop),
    TZ_PLACED(Frame_bottoni),
    TZ_PLACED(bot_compare_tree),
    TZ_PLACED(bot_compare),
    TZ_PLACED(bot_delete),
    TZ_PLACED(bot_cancel),
    TZ_PLACED(bot_exit),
    TZ_PLACED(history),
};
#undef TZ_PLACED

// The lists as they stand from left to right: dir 1 only, dir 1 newer, aligned...
std::array<TwipRect*, 5> lists_left_to_right(WindowLayout& l) {
  return {&l.List1, &l.List3, &l.List5, &l.List4, &l.List2};
}
// The frame's buttons from left to right.
std::array<TwipRect*, 5> frame_buttons(WindowLayout& l) {
  return {&l.bot_compare_tree, &l.bot_compare, &l.bot_delete, &l.bot_cancel, &l.bot_exit};
}

// Each list with its caption and its align button.
struct Captioned {
  TwipRect* list;
  TwipRect* caption;
  TwipRect* button;  // null for List5
};
std::array<Captioned, 5> captioned_lists(WindowLayout& l) {
  return {{{&l.List1, &l.lab_list1, &l.bot_list1},
           {&l.List2, &l.lab_list2, &l.bot_list2},
           {&l.List3, &l.lab_list3, &l.bot_list3},
           {&l.List4, &l.lab_list4, &l.bot_list4},
           {&l.List5, &l.lab_list5, nullptr}}};
}

void centre_next_alignment(WindowLayout& l) {
  const float drive_right = right_edge(l.Drive1);
  l.b_next_alignment.left =
      drive_right + (l.List5.left - drive_right - l.b_next_alignment.width) / 2;
}

void place_top_band(WindowLayout& l) {
  l.lab_dir1.top = 60;
  l.lab_dir1.height = l.lab_dir2.height = label_height;
  l.lab_dir2.top = l.lab_dir1.top;
  l.Drive1.top = bottom_edge(l.lab_dir1) - 60;
  l.Drive1.height = l.Drive2.height = drive_height;
  l.Drive2.top = l.Drive1.top;
  l.Drive1.width = 1815;
  l.Drive2.width = l.Dir1.width = l.Dir2.width = l.Drive1.width;
  l.Dir1.top = bottom_edge(l.Drive1) - 20;
  l.Dir2.top = l.Dir1.top;
  l.Dir1.height = 2055;
  l.Dir2.height = l.Dir1.height;
  l.lab_bytes_dir1.top = bottom_edge(l.Dir1);
  l.lab_bytes_dir1.height = l.lab_bytes_dir2.height = bytes_height;
  l.lab_bytes_dir2.top = l.lab_bytes_dir1.top;
}

void place_list_band(WindowLayout& l, float window_width) {
  l.List1.width = 1550;
  for (TwipRect* list : lists_left_to_right(l)) list->width = l.List1.width;
  for (const Captioned& c : captioned_lists(l)) c.caption->height = label_height;
  l.lab_list1.top = bottom_edge(l.lab_bytes_dir1) + 180;
  l.lab_list2.top = l.lab_list1.top;
  l.List1.top = bottom_edge(l.lab_list1) - 70;
  l.List2.top = l.List1.top;
  l.List1.height = l.List2.height = list12_height;
  for (const Captioned& c : captioned_lists(l)) {
    if (c.button == nullptr) continue;
    c.button->top = bottom_edge(l.List1) + 60;
    c.button->width = l.List1.width;
    c.button->height = 250;
  }
  l.List3.height = 2300;
  l.List4.height = 2300;
  l.List5.height = 3500;
  l.List3.top = bottom_edge(l.List1) - l.List3.height;
  l.List4.top = l.List3.top;
  l.lab_list3.top = l.lab_list4.top = l.List3.top - 200;
  l.List5.top = bottom_edge(l.bot_list1) - l.List5.height;
  l.lab_list5.top = l.List5.top - 200;

  const float gap = (window_width - 5 * l.List1.width) / 6;
  int k = 0;
  for (TwipRect* list : lists_left_to_right(l)) list->left = gap + k++ * (l.List1.width + gap);
  for (const Captioned& c : captioned_lists(l)) {
    if (c.button != nullptr) c.button->left = (l.List1.width - c.button->width) / 2 + c.list->left;
    c.caption->width = l.List1.width;
    c.caption->left = c.list->left;
  }
}

void place_selectors(WindowLayout& l) {
  l.lab_dir1.width = l.lab_dir2.width = l.Drive1.width;
  l.Drive1.left = l.lab_dir1.left = l.Dir1.left = l.List1.left;
  l.Drive2.left = right_edge(l.List2) - l.Drive2.width;
  l.lab_dir2.left = l.Dir2.left = l.Drive2.left;
  l.lab_bytes_dir1.width = l.lab_bytes_dir2.width = l.Dir1.width;
  l.lab_bytes_dir1.left = l.Dir1.left;
  l.lab_bytes_dir2.left = l.Dir2.left;
}

void place_drop_boxes(WindowLayout& l) {
  l.lab_drop_to_see.top = l.Drive1.top;
  l.lab_drop_to_delete.top = l.lab_drop_to_see.top;
  l.lab_drop_to_see.height = l.lab_drop_to_delete.height = 225;
  l.Text1.top = bottom_edge(l.lab_drop_to_delete) - 20;
  l.Text2.top = l.Text1.top;
  l.Text1.width = l.Text2.width = 2000;
  l.Text1.height = l.Text2.height = 1275;
  const float space = (l.Dir2.left - right_edge(l.Dir1) - l.Text1.width - l.Text2.width) / 3;
  l.Text1.left = right_edge(l.Dir1) + space;
  l.Text2.left = right_edge(l.Text1) + space;
  l.lab_drop_to_see.width = l.Text1.width;
  l.lab_drop_to_see.left = l.Text1.left;
  l.lab_drop_to_delete.width = l.Text2.width;
  l.lab_drop_to_delete.left = l.Text2.left;
  l.Picture1.width = l.Picture1.height = picture1_size;
  l.Picture2.width = l.Picture2.height = picture2_size;
  l.Picture1.top = (l.Text1.height - l.Picture1.height) / 2 + l.Text1.top;
  l.Picture1.left = (l.Text1.width - l.Picture1.width) / 2 + l.Text1.left;
  l.Picture2.top = l.Picture1.top;
  l.Picture2.left = (l.Text2.width - l.Picture2.width) / 2 + l.Text2.left;
}

void place_button_frame(WindowLayout& l, float window_width, float window_height) {
  TwipRect& frame = l.Frame_bottoni;
  frame.top = window_height - 1400;
  frame.height = 650;
  frame.width = window_width - 300;
  frame.left = (window_width - frame.width) / 2 - 20;
  const float width = (frame.width - 110 * 6) / 5;
  int k = 0;
  for (TwipRect* button : frame_buttons(l)) {
    button->width = width;
    button->height = frame_button_height;
    button->top = (frame.height - 300) / 2 + 10;
    button->left = 110 + k++ * (width + 110) - 6;
  }
  l.bot_compare_tree.width = design_compare_tree_width;
}

void size_history(WindowLayout& l, float window_width, float window_height) {
  l.history.width = window_width - 120;
  l.history.height = window_height - 690;
}

}  // namespace

std::span<const PlacedControl> placed_controls() {
  return placed;
}

WindowLayout initial_layout(float window_width, float window_height) {
  WindowLayout l;
  place_top_band(l);
  place_list_band(l, window_width);
  place_selectors(l);
  place_drop_boxes(l);
  place_button_frame(l, window_width, window_height);
  // Placed by neither routine: where the window was drawn. The step-through's button
  // stands where the resize layout will put it.
  l.lab_drag_drop = design_drag_drop;
  l.b_next_alignment = design_next_alignment;
  centre_next_alignment(l);
  // The history view covers the client area at its own place.
  l.history.left = 20;
  l.history.top = 0;
  size_history(l, window_width, window_height);
  return l;
}

WindowLayout resize_layout(const WindowLayout& current, float window_width, float window_height,
                           int caption_extra) {
  window_width = std::max(window_width, static_cast<float>(design_window_width));
  window_height = std::max(window_height, static_cast<float>(design_window_height));
  const auto extra = static_cast<float>(caption_extra);
  WindowLayout l = current;

  l.Drive1.width = (window_width - (l.Text2.width + l.Text1.width) - 5 * resize_gap) / 2;

  l.List1.width = (window_width - 6 * resize_gap) / 5;
  const auto lists = lists_left_to_right(l);
  for (std::size_t k = 1; k < lists.size(); ++k) {
    lists[k]->width = l.List1.width;
    lists[k]->left = right_edge(*lists[k - 1]) + resize_gap;
  }
  for (const Captioned& c : captioned_lists(l)) {
    c.caption->width = l.List1.width;
    c.caption->left = c.list->left;
  }
  centre_next_alignment(l);
  for (const Captioned& c : captioned_lists(l)) {
    if (c.button == nullptr) continue;
    c.button->width = l.List1.width;
    c.button->left = c.list->left;
  }

  l.List1.height = window_height - 5080 - extra;
  l.List2.height = l.List1.height;
  l.List3.height = l.List4.height = l.List1.height + 200;
  l.List5.height = l.List1.height + 1400;
  for (const Captioned& c : captioned_lists(l))
    if (c.button != nullptr) c.button->top = bottom_edge(*c.list) + 30;
  l.lab_drag_drop.top = bottom_edge(l.bot_list1) + 90;

  TwipRect& frame = l.Frame_bottoni;
  frame.top = window_height - frame.height - 750 - extra;
  l.lab_drag_drop.width = frame.width;
  l.lab_drag_drop.left = frame.left;
  frame.width = window_width - 300;
  frame.left = (window_width - frame.width) / 2 - 30;
  const float button_width = (frame.width - 6 * resize_button_gap) / 5;
  float left = resize_button_gap;
  for (TwipRect* button : frame_buttons(l)) {
    button->width = button_width;
    button->left = left;
    left = right_edge(*button) + resize_button_gap;
  }

  l.Text1.left = right_edge(l.Drive1) + resize_gap;
  l.Text2.left = right_edge(l.Text1) + resize_gap;
  l.Drive2.width = l.Drive1.width;
  l.Drive2.left = right_edge(l.Text2) + resize_gap;
  l.lab_dir1.left = l.Drive1.left;
  l.lab_dir1.width = l.Drive1.width;
  l.lab_dir2.left = l.Drive2.left;
  l.lab_dir2.width = l.Drive2.width;
  l.lab_drop_to_see.left = l.Text1.left;
  l.lab_drop_to_delete.left = l.Text2.left;
  l.Dir1.left = l.Drive1.left + 15;
  l.Dir2.left = l.Drive2.left + 15;
  l.Dir1.width = l.Drive1.width - 30;
  l.Dir2.width = l.Drive2.width - 30;
  l.Picture1.left = l.Text1.left + (l.Text1.width - l.Picture1.width) / 2;
  l.Picture2.left = l.Text2.left + (l.Text2.width - l.Picture2.width) / 2;

  size_history(l, window_width, window_height);
  return l;
}

}  // namespace tz::ui
