#pragma once

#include <QString>
#include <memory>

#include "app/globals.h"
#include "app/window_model.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/services.h"

namespace tz {

class Common;
class Panes;
class Comparison;
class TreeComparison;
class History;
class Copier;
class Transfers;
class BulkAlign;
class Deletion;
class Opener;

// The outside services the logic uses, all passed in.
struct Services {
  FileSystem& fs;
  Dialogs& dialogs;
  EventPump& pump;
  BusyPointer& busy;
  Clock& clock;
  SystemFacts& facts;
  Processes& processes;
  ProgramExit& exit;
};

// The program's logic as one object: the shared state, the window's controls and the
// parts that act on them. Each part reaches the others through it.
class Tenzor {
 public:
  explicit Tenzor(const Services& services);
  ~Tenzor();
  Tenzor(const Tenzor&) = delete;
  Tenzor& operator=(const Tenzor&) = delete;

  const Services& services() const { return services_; }
  FileSystem& fs() const { return services_.fs; }
  Dialogs& dialogs() const { return services_.dialogs; }

  Globals& globals() { return globals_; }
  WindowModel& window() { return window_; }
  Common& common() { return *common_; }
  Panes& panes() { return *panes_; }
  Comparison& comparison() { return *comparison_; }
  TreeComparison& tree() { return *tree_; }
  History& history() { return *history_; }
  Copier& copier() { return *copier_; }
  Transfers& transfers() { return *transfers_; }
  BulkAlign& bulk_align() { return *bulk_align_; }
  Deletion& deletion() { return *deletion_; }
  Opener& opener() { return *opener_; }

  // A message box with the application title.
  Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                 int default_button = 0);

 private:
  Services services_;
  Globals globals_;
  WindowModel window_;
  std::unique_ptr<Common> common_;
  std::unique_ptr<Panes> panes_;
  std::unique_ptr<Comparison> comparison_;
  std::unique_ptr<TreeComparison> tree_;
  std::unique_ptr<History> history_;
  std::unique_ptr<Copier> copier_;
  std::unique_ptr<Transfers> transfers_;
  std::unique_ptr<BulkAlign> bulk_align_;
  std::unique_ptr<Deletion> deletion_;
  std::unique_ptr<Opener> opener_;
};

}  // namespace tz
