#pragma once

#include <QDir>
#include <QStringList>

#include "platform/drive_table.h"
#include "platform/services.h"

namespace tz {

// Facts a console process can know. The window side adds the screen and frame sizes.
class HostSystemFacts : public SystemFacts {
 public:
  // `arguments` without the program's own name.
  HostSystemFacts(const DriveTable& table, QStringList arguments)
      : table_(table), arguments_(std::move(arguments)) {}

  QString command_line() override { return arguments_.join(u' '); }
  QStringList arguments() override { return arguments_; }
  QString current_directory() override { return table_.current_directory(); }
  QString working_directory() override { return QDir::currentPath(); }
  // The per-user data folder: $XDG_DATA_HOME/tenzor, ~/.local/share/tenzor by default.
  QByteArray windows_directory() override;
  QSize screen_twips() override { return {}; }
  int frame_height_twips() override { return 0; }

 private:
  DriveTable table_;
  QStringList arguments_;
};

}  // namespace tz
