#include "models/window_model.h"

#include "texts/texts.h"

namespace tz {

WindowModel::WindowModel()
    : caption("form_tenzor", text::app_title),
      lab_dir1("lab_dir1", text::lab_dir1),
      lab_dir2("lab_dir2", text::lab_dir2),
      lab_bytes_dir1("lab_bytes_dir1", text::bytes_free),
      lab_bytes_dir2("lab_bytes_dir2", text::bytes_free),
      pane1(1),
      pane2(2),
      lab_drop_to_see("lab_drop_to_see", text::drop_to_see),
      lab_drop_to_delete("lab_drop_to_delete", text::drop_to_delete),
      lab_list1("lab_list1", text::design_list1),
      lab_list2("lab_list2", text::only_in_dir2),
      lab_list3("lab_list3", text::design_list3),
      lab_list4("lab_list4", text::newer_in_dir2),
      lab_list5("lab_list5", text::aligned),
      bot_list1("bot_list1", text::align_these_files),
      bot_list2("bot_list2", text::align_these_files),
      bot_list3("bot_list3", text::align_these_files),
      bot_list4("bot_list4", text::align_these_files),
      b_next_alignment("b_next_alignment", text::next_subdir),
      lab_drag_drop("lab_drag_drop", text::design_hint),
      Label5("Label5", text::label5),
      bot_compare_tree("bot_compare_tree", text::compare_trees),
      bot_compare("bot_compare", text::compare_dirs),
      bot_delete("bot_delete", text::delete_selected),
      bot_cancel("bot_cancel", text::cancel),
      bot_exit("bot_exit", text::exit),
      history_box("history", QString()),
      m_file("m_file", text::m_file),
      m_refresh("m_refresh", text::m_refresh),
      m_skip_delete_confirmations("m_skip_delete_confirmations", text::m_skip_delete_confirmations),
      exit("exit", text::m_exit),
      m_history("m_history", text::m_history),
      m_close("m_close", text::m_close),
      m_select("m_select", text::m_select),
      m_delete("m_delete", text::m_delete),
      m_clear_all("m_clear_all", text::m_clear_all),
      m_tree("m_tree", text::m_tree),
      m_help("m_help", text::m_help),
      m_comman_line("m_comman_line", text::m_comman_line),
      m_directory_flags("m_directory_flags", text::m_directory_flags),
      m_version_history("m_version_history", text::m_version_history),
      m_web_site("m_web_site", text::m_web_site),
      m_about("m_about", text::m_about),
      m_popup("m_popup", text::m_popup),
      m_select_all("m_select_all", text::m_select_all),
      m_delete_all_files("m_delete_all_files", text::m_delete_all_files),
      m_delete_selected_files("m_delete_selected_files", text::m_delete_selected_files),
      m_popup_dir("m_popup_dir", text::m_popup_dir),
      m_rename_dir("m_rename_dir", text::m_rename_dir),
      m_delete_dir("m_delete_dir", text::m_delete_dir),
      m_create_dir("m_create_dir", text::m_create_dir) {
  const char* list_names[] = {"List1", "List2", "List3", "List4", "List5"};
  for (ListId id : all_lists) list(id).setObjectName(list_names[list_number(id) - 1]);
  history.setObjectName("history");
  // Shown only while a step-through of subdirectories waits.
  b_next_alignment.set_visible(false);
  Label5.set_visible(false);
  history_box.set_visible(false);
  // Never shown: its command runs only for a tree command line.
  m_tree.set_visible(false);
  // Context menus, opened at the pointer only.
  m_popup.set_visible(false);
  m_popup_dir.set_visible(false);
}

FileList& WindowModel::list(ListId id) {
  switch (id) {
    case ListId::List1:
      return List1;
    case ListId::List2:
      return List2;
    case ListId::List3:
      return List3;
    case ListId::List4:
      return List4;
    case ListId::List5:
      return List5;
  }
  no_such_list();
}

Control& WindowModel::list_caption(ListId id) {
  switch (id) {
    case ListId::List1:
      return lab_list1;
    case ListId::List2:
      return lab_list2;
    case ListId::List3:
      return lab_list3;
    case ListId::List4:
      return lab_list4;
    case ListId::List5:
      return lab_list5;
  }
  no_such_list();
}

Control& WindowModel::align_button(ListId id) {
  switch (id) {
    case ListId::List1:
      return bot_list1;
    case ListId::List2:
      return bot_list2;
    case ListId::List3:
      return bot_list3;
    case ListId::List4:
      return bot_list4;
    case ListId::List5:
      break;  // "aligned" has no such button
  }
  no_such_list();
}

void WindowModel::set_geometry(int left, int top, int width, int height) {
  emit geometry_requested(left, top, width, height);
}

void WindowModel::clear_lists() {
  for (ListId id : all_lists) list(id).clear();
}

void WindowModel::clear_free_space_labels() {
  lab_bytes_dir1.set_caption(QString());
  lab_bytes_dir2.set_caption(QString());
}

int WindowModel::difference_count() const {
  return List1.count() + List2.count() + List3.count() + List4.count();
}

std::vector<Control*> WindowModel::controls() {
  return {&caption,
          &lab_dir1,
          &lab_dir2,
          &lab_bytes_dir1,
          &lab_bytes_dir2,
          &lab_drop_to_see,
          &lab_drop_to_delete,
          &lab_list1,
          &lab_list2,
          &lab_list3,
          &lab_list4,
          &lab_list5,
          &bot_list1,
          &bot_list2,
          &bot_list3,
          &bot_list4,
          &b_next_alignment,
          &lab_drag_drop,
          &Label5,
          &bot_compare_tree,
          &bot_compare,
          &bot_delete,
          &bot_cancel,
          &bot_exit,
          &m_file,
          &m_refresh,
          &m_skip_delete_confirmations,
          &exit,
          &m_history,
          &m_close,
          &m_select,
          &m_delete,
          &m_clear_all,
          &m_tree,
          &m_help,
          &m_comman_line,
          &m_directory_flags,
          &m_version_history,
          &m_web_site,
          &m_about,
          &m_popup,
          &m_select_all,
          &m_delete_all_files,
          &m_delete_selected_files,
          &m_popup_dir,
          &m_rename_dir,
          &m_delete_dir,
          &m_create_dir};
}

void WindowModel::begin_run() {
  if (runs_++ == 0) emit running_changed(true);
}

void WindowModel::end_run() {
  if (--runs_ == 0) emit running_changed(false);
}

}  // namespace tz
