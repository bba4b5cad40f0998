#include "platform/host_system_facts.h"

#include <QDir>

namespace tz {

QString HostSystemFacts::windows_directory() {
  QString data_home = qEnvironmentVariable("XDG_DATA_HOME");
  if (!data_home.startsWith(u'/')) data_home = QDir::homePath() + QStringLiteral("/.local/share");
  const QString folder = QDir::cleanPath(data_home + QStringLiteral("/tenzor"));
  QString drive_form = table_.to_drive_form(folder).value_or(folder);
  if (drive_form.endsWith(u'\\')) drive_form.chop(1);
  return drive_form;
}

}  // namespace tz
