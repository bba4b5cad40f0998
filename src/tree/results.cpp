#include "tree/results.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include "core/common.h"
#include "core/context.h"
#include "platform/file_error.h"
#include "texts/texts.h"

namespace tz {

namespace {

constexpr int beeps_when_saved = 3;

// "TENZOR.LOG " and the moment, in the forms the user's locale writes them short.
QString log_heading() {
  const QLocale locale = QLocale::system();
  const QDateTime now = QDateTime::currentDateTime();
  return text::log_heading + locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
         locale.toString(now.time(), QLocale::ShortFormat);
}

}  // namespace

QString Results::shown_text() const {
  return ctx_.globals().GLB_mismatch_text.mid(2);
}

void Results::b_cancel_Click() {
  ctx_.globals().GLB_mismatch_text.clear();
}

void Results::b_save_notepad_Click() {
  save_in_notepad(ctx_.globals().GLB_mismatch_text);
}

void Results::save_in_notepad(const QString& text) {
  // The process's own working directory as the host names it: the drive table may cover
  // it with another drive, or not at all.
  const QString folder = ctx_.services().facts.working_directory();
  const QString path = (folder.endsWith(u'/') ? folder : folder + u'/') + text::log_file;

  // write_lines ends every line with CR LF: the heading, the text's own lines and the
  // final CR LF come out as one block of bytes.
  QStringList lines{log_heading()};
  lines += text.split(QStringLiteral("\r\n"));
  try {
    // A native path reaches the file system as text, where "\" separates names: such a
    // folder could only be missed, and another one written instead.
    if (folder.contains(u'\\')) throw FileError(err::bad_file_name);
    ctx_.fs().write_lines(path, lines);
  } catch (const FileError& error) {
    ctx_.message(text::fatal_error + QString::number(error.number()) + text::error_separator +
                 error.description() + ctx_.globals().GLB_crlf + text::log_not_saved + folder);
    return;
  }

  Processes& processes = ctx_.services().processes;
  for (int i = 0; i < beeps_when_saved; ++i) processes.beep();
  // The log is saved whatever happens now; only showing it can still fail.
  if (!processes.open_url(path)) ctx_.message(text::no_editor + path + u'.');
}

}  // namespace tz
