#pragma once

#include <QFont>

namespace tz::ui {

// "Courier New" at `points`, or the system's fixed-pitch font where it is missing: the
// texts that line up in columns.
QFont fixed_pitch_font(double points);

}  // namespace tz::ui
