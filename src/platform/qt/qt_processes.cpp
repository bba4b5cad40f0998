#include "platform/qt/qt_processes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include "platform/file_error.h"

namespace tz {

void QtProcesses::start_detached(const QString& program, const QStringList& arguments) {
  if (!QProcess::startDetached(program, arguments)) throw FileError(err::file_not_found);
}

bool QtProcesses::open_url(const QString& path_or_url) {
  // A one-letter scheme would be a drive letter, never a web address.
  const QUrl url(path_or_url, QUrl::StrictMode);
  if (!path_or_url.startsWith(QLatin1Char('/')) && url.isValid() && url.scheme().size() > 1)
    return QDesktopServices::openUrl(url);
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path_or_url));
}

void QtProcesses::beep() {
  QApplication::beep();
}

}  // namespace tz
