#include "help/help.h"

#include <QDate>
#include <QLocale>

#include "core/context.h"
#include "texts/help_texts.h"
#include "texts/texts.h"

namespace tz {

namespace {

const QString crlf = QStringLiteral("\r\n");

// Where the number of the newest entry ends: at the first "^" of the history.
qsizetype first_caret(const QString& history) {
  return history.indexOf(u'^');
}

QString history_text() {
  QString text;
  for (const QString& entry : text::version_history) text += crlf + entry;
  return text + crlf + text::version_history_base + crlf + crlf + text::version_history_end;
}

QString number_of(const QString& history) {
  return text::version_prefix + history.mid(first_caret(history) - 2, 2);
}

}  // namespace

QString version_history_text(bool version_only) {
  const QString history = history_text();
  if (!version_only) return history;
  const qsizetype p = first_caret(history);
  const QDate date(2000 + history.mid(p + 1, 2).toInt(), history.mid(p + 3, 2).toInt(),
                   history.mid(p + 5, 2).toInt());
  // Month names in English whatever the user's locale, as the entries themselves are.
  return number_of(history) + QStringLiteral(" (") +
         QLocale::c().toString(date, QStringLiteral("dd/MMM/yyyy")) + u')';
}

QString program_version() {
  return version_history_text(true);
}

QString version_number() {
  return number_of(history_text());
}

bool is_url(const QString& text) {
  static const char* const schemes[] = {"https://", "ftp://", "http://", "www."};
  for (const char* scheme : schemes) {
    if (text.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) return true;
  }
  return false;
}

bool open_url(Processes& processes, const QString& address) {
  // Only the first line: lines here may end in LF alone, and neither is part of an
  // address.
  qsizetype end = 0;
  while (end < address.size() && address[end] != u'\r' && address[end] != u'\n') ++end;
  QString url = address.left(end);
  if (!is_url(url)) return false;
  // Without a scheme the system would take "www.example.org" for a file name; browsers open such
  // an address as http.
  if (url.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
    url.prepend(QLatin1String("http://"));
  return processes.open_url(url);
}

void Help::release_notes() {
  const QString msg = text::release_notes_heading + crlf + crlf + text::current_version_is +
                      program_version() + crlf + crlf + text::release_notes_legend + crlf +
                      text::release_notes_rule + version_history_text(false);
  if (big_box_) big_box_(msg, text::app_title + text::version_history_caption);
}

void Help::show_about() {
  const QString msg = text::app_title + text::version_word + program_version() + crlf + crlf +
                      text::about_maker + crlf + crlf + text::about_updates + text::maker_web_site +
                      crlf;
  ctx_.services().dialogs.message_box(
      MessageBox{msg, text::about + text::app_title, Buttons::Ok, Icon::None, 0});
}

void Help::m_comman_line_Click() {
  ctx_.message(text::command_line_help);
}

void Help::m_directory_flags_Click() {
  ctx_.message(text::directory_flags_start + text::no_tenzor_flag + text::directory_flags_end);
}

void Help::m_web_site_Click() {
  // Without a browser the desktop shows nothing: the user would wait for a page.
  if (!open_url(ctx_.services().processes, text::maker_web_site))
    ctx_.message(text::no_browser + text::maker_web_site + u'.');
}

}  // namespace tz
