#include "core/common.h"

#include <algorithm>

#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

// The longest the window goes without its events running during a pause.
constexpr double pause_turn_seconds = 0.025;

}  // namespace

EventTurns::EventTurns(Clock& clock, EventPump& pump)
    : clock_(clock), pump_(pump), last_(clock.monotonic_seconds()) {}

bool EventTurns::due() {
  return clock_.monotonic_seconds() - last_ >= event_turn_seconds;
}

void EventTurns::run() {
  pump_.process_events();
  last_ = clock_.monotonic_seconds();
}

void Common::show_busy(bool flag) {
  ctx_.services().busy.set_busy(flag);
}

void Common::pause_seconds(double seconds) {
  if (seconds <= 0) return;
  const Services& services = ctx_.services();
  const Globals& g = ctx_.globals();
  const RunScope run(ctx_.window());
  // A monotonic clock, so that a wait across midnight or a clock change ends on time.
  const double start = services.clock.monotonic_seconds();
  for (;;) {
    services.pump.process_events();
    // A closed window ends the program: nothing is left to wait for.
    if (g.GLB_closing) return;
    const double left = seconds - (services.clock.monotonic_seconds() - start);
    if (left <= 0) return;
    // Sleeping between short event turns keeps the core idle and the window alive.
    services.clock.sleep_seconds(std::min(left, pause_turn_seconds));
  }
}

bool Common::file_exists(const QString& path) {
  if (path.trimmed().isEmpty()) return false;
  try {
    auto listing =
        ctx_.fs().list(path, attr::hidden | attr::system | attr::volume | attr::directory);
    return listing->next().has_value();
  } catch (const FileError&) {
    return false;
  }
}

QString Common::unreachable_path_message(const QString& path, const QString& missing_text) {
  try {
    ctx_.fs().info(path);
  } catch (const FileError& error) {
    if (error.number() == err::permission_denied)
      return text::path_not_reachable + path +
             QStringLiteral(" (%1 %2)").arg(error.number()).arg(error.description());
  }
  return missing_text + path;
}

bool Common::same_place(const QString& a, const QString& b) {
  return same_text(a, b) || ctx_.fs().same_file(a, b);
}

void Common::show_stopped(const QString& start, const QString& where, const FileError& error,
                          const QString& end) {
  const QString& crlf = ctx_.globals().GLB_crlf;
  ctx_.message(start + where + crlf + text::error_colon + QString::number(error.number()) +
                   text::error_separator + error.description() + crlf + end,
               Buttons::Ok, Icon::Critical);
}

void Common::show_error_message(const FileError& error) {
  ctx_.message(text::fatal_error + QString::number(error.number()) + text::error_separator +
               error.description());
}

QByteArray Common::windows_directory() {
  QByteArray dir = ctx_.services().facts.windows_directory();
  while (dir.size() > 1 && dir.endsWith('/')) dir.chop(1);
  return dir;
}

QByteArray Common::data_directory() {
  const QByteArray dir = windows_directory() + "/temp";
  try {
    // A fresh account may not even have the folder that holds the per-user data.
    ctx_.fs().make_own_folder(dir);
  } catch (const FileError&) {
    // Saving the history says why it cannot; the program works without it.
  }
  return dir;
}

}  // namespace tz
