#include "core/startup.h"

#include "core/context.h"
#include "texts/texts.h"

namespace tz {

namespace {
// The frame height the window layout was drawn for.
constexpr int design_frame_height = 405;
}  // namespace

void start_up(Context& ctx) {
  Globals& g = ctx.globals();
  const int frame = ctx.services().facts.frame_height_twips();
  // Without a window frame (offscreen) the layout needs no correction at all.
  g.GLB_caption_extra = frame > 0 ? frame - design_frame_height : 0;
  g.GLB_loading = true;
  g.GLB_crlf = QStringLiteral("\r\n");
  g.GLB_history_file = ctx.common().data_directory() + '/' + text::history_file.toUtf8();
  g.GLB_one_second = 1;
}

}  // namespace tz
