#pragma once

namespace tz {

class Context;

// Sets the shared values the way the program starts: loading, line break, history
// file path (creating the data folder), one second and the window frame's extra
// height from the host.
void start_up(Context& ctx);

}  // namespace tz
