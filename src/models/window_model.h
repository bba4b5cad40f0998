#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "models/control.h"
#include "models/file_list.h"
#include "models/history_list.h"
#include "models/list_id.h"
#include "models/pane_model.h"

namespace tz {

// Every control of the main window that the logic reads or writes, under its own
// name. The window is a thin view over this model.
class WindowModel : public QObject {
  Q_OBJECT

 public:
  WindowModel();

  // The window's caption.
  Control caption;

  Control lab_dir1, lab_dir2, lab_bytes_dir1, lab_bytes_dir2;
  PaneModel pane1, pane2;
  Control lab_drop_to_see, lab_drop_to_delete;
  Control lab_list1, lab_list2, lab_list3, lab_list4, lab_list5;
  FileList List1, List2, List3, List4, List5;
  Control bot_list1, bot_list2, bot_list3, bot_list4;
  Control b_next_alignment;
  Control lab_drag_drop;
  Control Label5;
  Control bot_compare_tree, bot_compare, bot_delete, bot_cancel, bot_exit;
  // The history list: its entries, and its box's visibility.
  HistoryList history;
  Control history_box;

  // Menus.
  Control m_file, m_refresh, m_skip_delete_confirmations, exit;
  Control m_history, m_close, m_select, m_delete, m_clear_all, m_tree;
  Control m_help, m_comman_line, m_directory_flags, m_version_history, m_web_site, m_about;
  Control m_popup, m_select_all, m_delete_all_files, m_delete_selected_files;
  Control m_popup_dir, m_rename_dir, m_delete_dir, m_create_dir;

  // Lists, their captions and their align buttons (List1 to List4 have one).
  FileList& list(ListId id);
  Control& list_caption(ListId id);
  Control& align_button(ListId id);
  PaneModel& pane(int number) { return number == 1 ? pane1 : pane2; }

  // The directories the five lists stand in: the compared pair, or the panes'
  // directories in the file view. Entries reach their files through these.
  std::shared_ptr<OpenDirectory> listed_dir1, listed_dir2;
  std::shared_ptr<OpenDirectory>& listed_dir(int number) {
    return number == 1 ? listed_dir1 : listed_dir2;
  }

  // True while List1 and List2 show the panes' files (the file view): no comparison
  // stands behind the lists.
  bool file_view = false;

  // Empties the five lists.
  void clear_lists();
  // The free-space labels of both panes go blank once files have changed.
  void clear_free_space_labels();

  // The list the lists' context menu was opened on.
  std::optional<ListId> popup_list;
  // Entries in List1 to List4 together.
  int difference_count() const;

  // Every control, for lookups by name.
  std::vector<Control*> controls();

  // The window's outer geometry in twips, set by the logic and applied by the view.
  void set_geometry(int left, int top, int width, int height);

  // True while a run (a comparison, a bulk alignment, a deletion, a tree walk or step, a
  // pause of the copy chain) lets window events run. Meanwhile the window takes no
  // input that could change the pair or its files: only cancel and exit act, so every
  // file a run touches lies in the pair it started on.
  bool running() const { return runs_ > 0; }
  void begin_run();
  void end_run();

 signals:
  void geometry_requested(int left, int top, int width, int height);
  // The view places every control as the window is loaded, and shows the window.
  void initial_layout_requested();
  void show_requested();
  // The view runs its resize layout.
  void resize_layout_requested();
  // The logic asks the window to give the input focus to the named control.
  void focus_requested(const QString& name);
  // The window "Tree comparison" shows the report of one-sided branches and returns
  // once it is closed; without a window nothing is shown, as if it were closed at once.
  void results_requested();
  // A run began or ended.
  void running_changed(bool running);

 private:
  int runs_ = 0;
};

// Marks a run for as long as it lives; runs nest.
class RunScope {
 public:
  explicit RunScope(WindowModel& w) : w_(w) { w_.begin_run(); }
  ~RunScope() { w_.end_run(); }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  WindowModel& w_;
};

}  // namespace tz
