#pragma once

#include <QFont>
#include <QString>
#include <span>

namespace tz::ui {

// "Courier New" at `points`, or the system's fixed-pitch font where it is missing: the
// texts that line up in columns.
QFont fixed_pitch_font(double points);

// A caption and the pixels its control leaves for it.
struct CaptionRoom {
  QString text;  // "&" marks an access key, which takes no room
  double pixels;
};

// `font` at the largest size, up to `points` and down to `smallest` in steps of a quarter
// point, at which every caption fits its room. The window's places were drawn for a
// narrower font than the ones at hand: a smaller size keeps every caption whole.
QFont fitting_font(QFont font, double points, double smallest, std::span<const CaptionRoom> rooms);

}  // namespace tz::ui
