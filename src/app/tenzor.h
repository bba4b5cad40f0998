#pragma once

#include <QString>
#include <memory>

#include "core/context.h"

namespace tz {

class Panes;
class Comparison;
class PairOpener;
class TreeComparison;
class Results;
class History;
class Copier;
class Transfers;
class BulkAlign;
class Deletion;
class Opener;
class DirectoryMenu;
class Help;

// The program's logic put together: the shared context and every feature, each given
// the others it works with. The load step, the report, the keys and the window reach
// the features through it; the features never do.
class Tenzor {
 public:
  explicit Tenzor(const Services& services);
  ~Tenzor();
  Tenzor(const Tenzor&) = delete;
  Tenzor& operator=(const Tenzor&) = delete;

  Context& context() { return context_; }
  const Services& services() const { return context_.services(); }
  FileSystem& fs() const { return context_.fs(); }
  Globals& globals() { return context_.globals(); }
  WindowModel& window() { return context_.window(); }
  Common& common() { return context_.common(); }
  Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                 int default_button = 0) {
    return context_.message(text, buttons, icon, default_button);
  }

  Panes& panes() { return *panes_; }
  Comparison& comparison() { return *comparison_; }
  PairOpener& pair_opener() { return *pair_opener_; }
  TreeComparison& tree() { return *tree_; }
  Results& results() { return *results_; }
  History& history() { return *history_; }
  Copier& copier() { return *copier_; }
  Transfers& transfers() { return *transfers_; }
  BulkAlign& bulk_align() { return *bulk_align_; }
  Deletion& deletion() { return *deletion_; }
  Opener& opener() { return *opener_; }
  DirectoryMenu& directory_menu() { return *directory_menu_; }
  Help& help() { return *help_; }

 private:
  Context context_;
  std::unique_ptr<Panes> panes_;
  std::unique_ptr<Comparison> comparison_;
  std::unique_ptr<TreeComparison> tree_;
  std::unique_ptr<Results> results_;
  std::unique_ptr<History> history_;
  std::unique_ptr<PairOpener> pair_opener_;
  std::unique_ptr<Copier> copier_;
  std::unique_ptr<Transfers> transfers_;
  std::unique_ptr<BulkAlign> bulk_align_;
  std::unique_ptr<Deletion> deletion_;
  std::unique_ptr<Opener> opener_;
  std::unique_ptr<DirectoryMenu> directory_menu_;
  std::unique_ptr<Help> help_;
};

}  // namespace tz
