#pragma once

#include <QString>

#include "core/entry.h"
#include "core/list_id.h"

namespace tz {

class Context;
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
  // Deletes the files of `entry` standing in list `id` (dir 1's first) and moves the
  // entry on. `deleted` turns true as soon as one file is gone.
  void delete_entry(ListId id, const Entry& listed, bool& deleted);

  Context& ctx_;
  Panes& panes_;
};

}  // namespace tz
