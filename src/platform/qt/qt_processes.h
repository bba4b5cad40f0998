#pragma once

#include "platform/services.h"

namespace tz {

// Other programs started through Qt, never through a shell.
class QtProcesses : public Processes {
 public:
  void start_detached(const QString& program, const QStringList& arguments) override;
  // A host path or a URL with a scheme (http:, mailto:, file:...).
  bool open_url(const QString& path_or_url) override;
  void beep() override;
};

}  // namespace tz
