#include "platform/host_system_facts.h"

#include <QDir>
#include <QFile>

namespace tz {

QByteArray HostSystemFacts::windows_directory() {
  // Bytes as the environment holds them: a `\` or a name that is not UTF-8 stays exact.
  QByteArray data_home = qgetenv("XDG_DATA_HOME");
  // A relative value is invalid and ignored, as the base directory rules say.
  if (!data_home.startsWith('/')) data_home = QFile::encodeName(QDir::homePath()) + "/.local/share";
  while (data_home.size() > 1 && data_home.endsWith('/')) data_home.chop(1);
  return data_home == "/" ? QByteArrayLiteral("/tenzor") : data_home + "/tenzor";
}

}  // namespace tz
