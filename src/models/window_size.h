#pragma once

namespace tz {

// The main window's outer size as it was drawn, in twips: the size it opens with, and
// the smallest the user can make it.
inline constexpr int design_window_width = 9615;
inline constexpr int design_window_height = 7230;

}  // namespace tz
