#pragma once

#include <QString>
#include <functional>

namespace tz {

class Context;
class Processes;

// The whole version history as one text: every entry, the base version's line and
// "[end of version history]", each after a CR LF, the last after an empty line. With
// `version_only`, the program's version instead: "2.2." and the newest entry's number,
// then the date of that entry, e.g. "2.2.31 (26/Oct/2003)".
QString version_history_text(bool version_only);
// The program's version, as the about box and the version history show it.
QString program_version();
// The version's number alone, "2.2.31".
QString version_number();

// True for a text that begins with "https://", "ftp://", "http://" or "www.", in any
// letter case.
bool is_url(const QString& text);
// Opens the address (its first line, when it has several) with the system's handler
// for it. False, and nothing done, when the text is no address; false too when the
// system has no handler that starts.
bool open_url(Processes& processes, const QString& address);

// The Help menu: short help texts, the version history, the about box and the maker's
// web site.
class Help {
 public:
  // Shows a long text in the text window over the main window, with its caption (the
  // window's Big_box). Without a window nothing is shown.
  using BigBox = std::function<void(const QString& msg, const QString& capt)>;

  explicit Help(Context& ctx, BigBox big_box = {}) : ctx_(ctx), big_box_(std::move(big_box)) {}

  // The window's text window, once there is a window.
  void set_big_box(BigBox big_box) { big_box_ = std::move(big_box); }

  // The version history in the text window, captioned "Tenzor - Version history".
  void release_notes();
  // "About Tenzor": the version and the maker's lines.
  void show_about();

  void m_comman_line_Click();
  void m_directory_flags_Click();
  void m_version_history_Click() { release_notes(); }
  void m_web_site_Click();
  void m_about_Click() { show_about(); }

 private:
  Context& ctx_;
  BigBox big_box_;
};

}  // namespace tz
