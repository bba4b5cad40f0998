#pragma once

// The program's own texts, each defined once.
namespace tz::text {

inline constexpr char app_title[] = "Tenzor";

// Captions of the five lists as the window is built, in the comparison, and in the
// file view.
inline constexpr char design_list1[] = "only in dir1";
inline constexpr char design_list3[] = "newer in dir1";
inline constexpr char only_in_dir1[] = "only in dir 1";
inline constexpr char only_in_dir2[] = "only in dir 2";
inline constexpr char newer_in_dir1[] = "newer in dir 1";
inline constexpr char newer_in_dir2[] = "newer in dir 2";
inline constexpr char aligned[] = "aligned";
inline constexpr char files_in_dir1[] = "files in dir 1";
inline constexpr char files_in_dir2[] = "files in dir 2";

inline constexpr char design_hint[] =
    "drag/drop file names over file boxes to align or move files between the directories";
inline constexpr char default_hint[] =
    "Drag/drop file names over file boxes to align or move files between the directories";

inline constexpr char dirs_equal[] =
    "dir1 and dir2 are equal and in the same drive; please select a different drive or "
    "path for one of the two directories";
inline constexpr char length_warning_start[] = "Warning! files ";
inline constexpr char length_warning_middle[] = " have same date/time and different lengths!";
inline constexpr char bytes_in_dir1[] = "Bytes in dir 1: ";
inline constexpr char bytes_in_dir2[] = "Bytes in dir 2: ";
inline constexpr char larger_is_newer[] = "The larger one will be considered newer.";
inline constexpr char comparison_stopped[] = "The comparison stopped at ";
inline constexpr char comparison_stopped_end[] =
    "The lists stay empty: nothing can be aligned from a comparison that did not finish.";

inline constexpr char invalid_call_line[] = "Invalid call line format.";
inline constexpr char usage[] = "Usage: <drive:\\path 1> | <drive:\\path 2> ";
inline constexpr char path_does_not_exist[] = "Path does not exist: ";
inline constexpr char start_pair_not_opened[] = "Directory not found or disk drive not ready (";
inline constexpr char bad_path[] = "Bad path: ";
inline constexpr char report_stopped[] =
    "The comparison stopped early: a file could not be read. No report was made.";
inline constexpr char pair_not_opened[] = "Directory not found or disk drive not ready.";
inline constexpr char pair_separator[] = " <-> ";

// Controls.
inline constexpr char lab_dir1[] = "dir 1";
inline constexpr char lab_dir2[] = "dir 2";
inline constexpr char bytes_free[] = "bytes free:";
inline constexpr char drop_to_see[] = "drop here to open/run file";
inline constexpr char drop_to_delete[] = "drop here to delete file";
inline constexpr char align_these_files[] = "align these files";
inline constexpr char next_subdir[] = "next subdir";
inline constexpr char label5[] = "Label5";
inline constexpr char compare_trees[] = "compare &trees";
inline constexpr char compare_dirs[] = "&compare dir's";
inline constexpr char delete_selected[] = "&delete selected files";
inline constexpr char cancel[] = "ca&ncel";
inline constexpr char exit[] = "&exit";

// Menus.
inline constexpr char m_file[] = "&File";
inline constexpr char m_refresh[] = "&Refresh directories";
inline constexpr char m_skip_delete_confirmations[] = "Skip &delete confirmations on/off";
inline constexpr char m_exit[] = "&Exit program (the same with ESC key)";
inline constexpr char m_history[] = "&History";
inline constexpr char m_close[] = "&Close";
inline constexpr char m_select[] = "&Select";
inline constexpr char m_delete[] = "&Delete";
inline constexpr char m_clear_all[] = "Clear &all";
inline constexpr char m_tree[] = "Compare &tree";
inline constexpr char m_help[] = "&Help";
inline constexpr char m_comman_line[] = "&Command line";
inline constexpr char m_directory_flags[] = "&Directory flags";
inline constexpr char m_version_history[] = "Version history";
inline constexpr char m_web_site[] = "Author's web site";
inline constexpr char m_about[] = "A&bout Tenzor";
inline constexpr char m_popup[] = "popup";
inline constexpr char m_select_all[] = "Select all files in list";
inline constexpr char m_delete_all_files[] = "Delete all files in list";
inline constexpr char m_delete_selected_files[] = "Delete selected files in list";
inline constexpr char m_popup_dir[] = "Popup_dir";
inline constexpr char m_rename_dir[] = "Rename directory";
inline constexpr char m_delete_dir[] = "Delete directory";
inline constexpr char m_create_dir[] = "Create subdirectory";

// Copying.
inline constexpr char unable_to_copy[] = "Unable to copy file ";
inline constexpr char fatal_error[] = "Error ";
inline constexpr char error_separator[] = " - ";
inline constexpr char fatal_file[] = "File: ";
// The file-error messages of transfers and bulk alignment.
inline constexpr char error_prefix[] = "ERROR ";
inline constexpr char error_57[] = "ERROR 57: Device I/O error";
inline constexpr char error_61[] = "ERROR 61: Disk full";
inline constexpr char error_61_while_copying[] = " while copying ";
inline constexpr char error_68[] = "ERROR 68: Drive A not available.";
inline constexpr char error_75[] = "ERROR 75: Path/File access error (file may be protected)";
inline constexpr char error_76[] = "ERROR 76: That path doesn't exist in drive a:";

// Checks before a file is overwritten or deleted.
inline constexpr char changed_since_comparison[] =
    " has changed since the comparison (its time or length is not what was compared). "
    "Nothing was done: compare the directories again.";
inline constexpr char appeared_since_comparison[] =
    " already exists: it was not there when the directories were compared. Nothing was "
    "done: compare the directories again.";
inline constexpr char one_file_and[] = " and ";
inline constexpr char one_file_twice[] =
    " are one and the same file on disk. Nothing was done, so that its only copy is not "
    "lost.";

// Transfers and bulk alignment.
inline constexpr char bytes_between[] = ", bytes ";
inline constexpr char align_selected_files[] = "align selected files";
inline constexpr char align_all_files[] = "align all files";

// Deletion and opening.
inline constexpr char delete_question[] = "do you want to delete ";
inline constexpr char delete_from[] = " from ";
inline constexpr char question_end[] = "?";
inline constexpr char word_dir1[] = "dir1";
inline constexpr char word_dir2[] = "dir2";
inline constexpr char word_both[] = "both directories";
inline constexpr char drop_from_dir1[] = " from dir 1?";
inline constexpr char drop_from_dir2[] = " from dir 2?";
inline constexpr char drop_from_both[] = "from both directories?";
inline constexpr char skip_confirmations[] = "do you want to skip further confirmation requests?";
inline constexpr char no_file_deleted[] = "No file deleted.";
inline constexpr char error_colon[] = "Error: ";
inline constexpr char current_file[] = "Current file: ";

}  // namespace tz::text
