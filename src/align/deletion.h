#pragma once

#include <QString>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "models/entry.h"
#include "models/list_id.h"

namespace tz {

class Context;
class WindowModel;
class Panes;

// Deleting files of the compared pair from the lists: the delete button, the lists'
// context menu and the delete target.
class Deletion {
 public:
  Deletion(Context& ctx, Panes& panes) : ctx_(ctx), panes_(panes) {}

  // Deletes the files of the selected entries of a list, asking first unless
  // confirmations are off. True when at least one file was deleted.
  bool delete_selected_files(ListId id);

  void bot_delete_Click();
  // The context menu, acting on the list it was opened on.
  void m_select_all_Click();
  void m_delete_selected_files_Click();
  void m_delete_all_files_Click();
  void m_skip_delete_confirmations_Click();

  // The dragged entry dropped on the delete target Text2.
  void Text2_DragDrop();

 private:
  // "No file deleted.", or the refill of the file view when both panes show one
  // directory.
  void finish(bool any_deleted);
  void refill_when_same_directory();
  // What deletions did to the lists and directories, applied in blocks.
  struct Moves {
    std::vector<Entry> gone;                           // to leave the list deleted from
    std::map<ListId, std::vector<Entry>> left;         // what is left of them, by list
    std::set<std::shared_ptr<OpenDirectory>> touched;  // to flush
    // Flushes the directories, then updates the lists, even when a flush fails (which
    // is thrown after).
    void apply(WindowModel& w, ListId id);
  };
  // Deletes the files of `entry` standing in list `id` (dir 1's first) and notes in
  // `moves` where the entry goes, also when it throws after one file went. `deleted`
  // turns true as soon as one file is gone.
  void delete_entry(ListId id, const Entry& listed, Moves& moves, bool& deleted);

  Context& ctx_;
  Panes& panes_;
};

}  // namespace tz
