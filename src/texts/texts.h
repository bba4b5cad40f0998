#pragma once

#include <QString>

// The program's own texts, each defined once. QStringLiteral keeps them as static data:
// using one builds no string.
namespace tz::text {

inline const QString app_title = QStringLiteral("Tenzor");

// Captions of the five lists as the window is built, in the comparison, and in the
// file view.
inline const QString design_list1 = QStringLiteral("only in dir1");
inline const QString design_list3 = QStringLiteral("newer in dir1");
inline const QString only_in_dir1 = QStringLiteral("only in dir 1");
inline const QString only_in_dir2 = QStringLiteral("only in dir 2");
inline const QString newer_in_dir1 = QStringLiteral("newer in dir 1");
inline const QString newer_in_dir2 = QStringLiteral("newer in dir 2");
inline const QString aligned = QStringLiteral("aligned");
inline const QString files_in_dir1 = QStringLiteral("files in dir 1");
inline const QString files_in_dir2 = QStringLiteral("files in dir 2");

inline const QString design_hint = QStringLiteral(
    "drag/drop file names over file boxes to align or move files between the directories");
inline const QString default_hint = QStringLiteral(
    "Drag/drop file names over file boxes to align or move files between the directories");

inline const QString dirs_equal = QStringLiteral(
    "dir1 and dir2 are equal and in the same drive; please select a different drive or "
    "path for one of the two directories");
inline const QString length_warning_start = QStringLiteral("Warning! files ");
inline const QString length_warning_middle =
    QStringLiteral(" have same date/time and different lengths!");
inline const QString bytes_in_dir1 = QStringLiteral("Bytes in dir 1: ");
inline const QString bytes_in_dir2 = QStringLiteral("Bytes in dir 2: ");
inline const QString larger_is_newer = QStringLiteral("The larger one will be considered newer.");
inline const QString comparison_stopped = QStringLiteral("The comparison stopped at ");
inline const QString comparison_stopped_end = QStringLiteral(
    "The lists stay empty: nothing can be aligned from a comparison that did not finish.");

// Standard error, when no window can open.
inline const QString no_display = QStringLiteral("no display found (DISPLAY is not set)");
inline const QString display_empty = QStringLiteral("no display found (DISPLAY is empty)");
inline const QString display_not_opened_start = QStringLiteral("the display \"");
inline const QString display_not_opened_end = QStringLiteral("\" cannot be opened");
inline const QString desktop_program = QStringLiteral(
    ". Tenzor is a desktop program: start it in a graphical session, or under a virtual "
    "display such as xvfb-run.");

inline const QString invalid_call_line = QStringLiteral("Invalid call line format.");
inline const QString usage = QStringLiteral("Usage: <drive:\\path 1> | <drive:\\path 2> ");
inline const QString two_folders_at_a_time =
    QStringLiteral("Tenzor compares two folders at a time: give it one folder or two.");
inline const QString path_not_reachable = QStringLiteral("Path cannot be reached: ");
inline const QString path_does_not_exist = QStringLiteral("Path does not exist: ");
inline const QString start_pair_not_opened =
    QStringLiteral("Directory not found or disk drive not ready (");
inline const QString bad_path = QStringLiteral("Bad path: ");
inline const QString report_stopped =
    QStringLiteral("The comparison stopped early: a file could not be read. No report was made.");
inline const QString pair_not_opened =
    QStringLiteral("Directory not found or disk drive not ready.");
inline const QString pair_separator = QStringLiteral(" <-> ");

// Controls.
inline const QString lab_dir1 = QStringLiteral("dir 1");
inline const QString lab_dir2 = QStringLiteral("dir 2");
inline const QString bytes_free = QStringLiteral("bytes free:");
inline const QString drop_to_see = QStringLiteral("drop here to open/run file");
inline const QString drop_to_delete = QStringLiteral("drop here to delete file");
inline const QString align_these_files = QStringLiteral("align these files");
// Between an align button's caption and its list's, in the name a screen reader speaks.
inline const QString name_and_list = QStringLiteral(": ");
inline const QString next_subdir = QStringLiteral("next subdir");
inline const QString label5 = QStringLiteral("Label5");
inline const QString compare_trees = QStringLiteral("compare &trees");
inline const QString compare_dirs = QStringLiteral("&compare dir's");
inline const QString delete_selected = QStringLiteral("&delete selected files");
inline const QString cancel = QStringLiteral("ca&ncel");
inline const QString exit = QStringLiteral("&exit");

// Menus.
inline const QString m_file = QStringLiteral("&File");
inline const QString m_refresh = QStringLiteral("&Refresh directories");
inline const QString m_skip_delete_confirmations =
    QStringLiteral("Skip &delete confirmations on/off");
inline const QString m_exit = QStringLiteral("&Exit program (the same with ESC key)");
inline const QString m_history = QStringLiteral("&History");
inline const QString m_close = QStringLiteral("&Close");
inline const QString m_select = QStringLiteral("&Select");
inline const QString m_delete = QStringLiteral("&Delete");
inline const QString m_clear_all = QStringLiteral("Clear &all");
inline const QString m_tree = QStringLiteral("Compare &tree");
inline const QString m_help = QStringLiteral("&Help");
inline const QString m_comman_line = QStringLiteral("&Command line");
inline const QString m_directory_flags = QStringLiteral("&Directory flags");
inline const QString m_version_history = QStringLiteral("Version history");
inline const QString m_web_site = QStringLiteral("Author's web site");
inline const QString m_about = QStringLiteral("A&bout Tenzor");
inline const QString m_popup = QStringLiteral("popup");
inline const QString m_select_all = QStringLiteral("Select all files in list");
inline const QString m_delete_all_files = QStringLiteral("Delete all files in list");
inline const QString m_delete_selected_files = QStringLiteral("Delete selected files in list");
inline const QString m_popup_dir = QStringLiteral("Popup_dir");
inline const QString m_rename_dir = QStringLiteral("Rename directory");
inline const QString m_delete_dir = QStringLiteral("Delete directory");
inline const QString m_create_dir = QStringLiteral("Create subdirectory");

// Copying.
inline const QString unable_to_copy = QStringLiteral("Unable to copy file ");
inline const QString fatal_error = QStringLiteral("Error ");
inline const QString error_separator = QStringLiteral(" - ");
inline const QString fatal_file = QStringLiteral("File: ");
// The file-error messages of transfers and bulk alignment.
inline const QString error_prefix = QStringLiteral("ERROR ");
inline const QString error_57 = QStringLiteral("ERROR 57: Device I/O error");
inline const QString error_61 = QStringLiteral("ERROR 61: Disk full");
inline const QString error_61_while_copying = QStringLiteral(" while copying ");
inline const QString error_68 = QStringLiteral("ERROR 68: Drive A not available.");
inline const QString error_75 =
    QStringLiteral("ERROR 75: Path/File access error (file may be protected)");
inline const QString error_76 = QStringLiteral("ERROR 76: That path doesn't exist in drive a:");

// Checks before a file is overwritten or deleted.
inline const QString changed_since_comparison = QStringLiteral(
    " has changed since the comparison (it is another file now, or its time or length is not "
    "what was compared). Nothing was done: compare the directories again.");
inline const QString appeared_since_comparison = QStringLiteral(
    " already exists: it was not there when the directories were compared. Nothing was "
    "done: compare the directories again.");
inline const QString exists_not_compared = QStringLiteral(
    " already exists, and the directories have not been compared yet. Nothing was done: "
    "compare them to see which file is newer.");
inline const QString changed_while_moved = QStringLiteral(
    " changed while it was being moved: the copy was made, and the file itself was kept. "
    "The lists show both files as they are now.");
inline const QString taken_unlisted = QStringLiteral(
    " is taken by a directory or by a link that reaches no file, which the lists do not "
    "show. Nothing was done.");
inline const QString case_ignored = QStringLiteral(
    " cannot be made: the file system there ignores letter case, and a name that differs "
    "from it only in letter case is there already. Nothing was done.");
inline const QString one_file_and = QStringLiteral(" and ");
inline const QString one_file_twice = QStringLiteral(
    " are one and the same file on disk. Nothing was done, so that its only copy is not "
    "lost.");

// Transfers and bulk alignment.
inline const QString bytes_between = QStringLiteral(", bytes ");
inline const QString align_selected_files = QStringLiteral("align selected files");
inline const QString align_all_files = QStringLiteral("align all files");

// Deletion and opening.
inline const QString delete_question = QStringLiteral("do you want to delete ");
inline const QString delete_from = QStringLiteral(" from ");
inline const QString question_end = QStringLiteral("?");
inline const QString word_dir1 = QStringLiteral("dir1");
inline const QString word_dir2 = QStringLiteral("dir2");
inline const QString word_both = QStringLiteral("both directories");
inline const QString drop_from_dir1 = QStringLiteral(" from dir 1?");
inline const QString drop_from_dir2 = QStringLiteral(" from dir 2?");
inline const QString drop_from_both = QStringLiteral("from both directories?");
inline const QString skip_confirmations =
    QStringLiteral("do you want to skip further confirmation requests?");
inline const QString no_file_deleted = QStringLiteral("No file deleted.");
inline const QString error_colon = QStringLiteral("Error: ");
inline const QString current_file = QStringLiteral("Current file: ");

// History.
inline const QString history_file = QStringLiteral("tenzor_his.tmp");
inline const QString no_history = QStringLiteral("No history data available.");
inline const QString history_kept_out_start = QStringLiteral("The pair \"");
inline const QString history_kept_out_end = QStringLiteral(
    "\" was not added to the history, which cannot give back a path that holds a line break "
    "or ends in a blank, nor a dir 1 path that holds \" <-> \". The pair is compared all the "
    "same.");
inline const QString no_record_selected = QStringLiteral("No record is selected.");
inline const QString history_not_saved = QStringLiteral("The history could not be saved to ");
inline const QString history_not_saved_end =
    QStringLiteral("The comparison goes on; the history is kept until the program ends.");
inline const QString history_not_read = QStringLiteral("The history file could not be read: ");
inline const QString history_not_read_end =
    QStringLiteral("It is left as it is: the pairs compared now are not saved in it.");

// Tree comparison.
inline const QString checking_dir = QStringLiteral("checking dir ");
inline const QString path_word = QStringLiteral("Path ");
inline const QString create_question = QStringLiteral(" does not exist. Do you want to create it?");
inline const QString only_in_tree1 = QStringLiteral("Only in tree 1: ");
inline const QString only_in_tree2 = QStringLiteral("Only in tree 2: ");
inline const QString end_of_tree = QStringLiteral("End of tree comparison.");
inline const QString not_compared = QStringLiteral("Not compared: ");
inline const QString name_taken =
    QStringLiteral("the other tree holds the name as a file or a link");
inline const QString tree_stopped = QStringLiteral("The tree comparison stopped at ");
inline const QString tree_stopped_end =
    QStringLiteral("Nothing was created or compared: a part of the trees could not be read.");
inline const QString not_a_drive_path = QStringLiteral(
    " cannot be opened by its path: a name in it holds a backslash or bytes that are not "
    "UTF-8.");
inline const QString branch_not_shown = not_a_drive_path + " Its files were not compared.";
// The report of one-sided branches.
inline const QString results_caption = QStringLiteral("Tree comparison");
inline const QString results_title = QStringLiteral("The following branches do not match:");
inline const QString proceed_common = QStringLiteral("proceed with common branches");
inline const QString save_notepad = QStringLiteral("save text in notepad file");
inline const QString cancel_operation = QStringLiteral("cancel operation");
inline const QString log_file = QStringLiteral("tenzor.log");
inline const QString log_heading = QStringLiteral("TENZOR.LOG ");
inline const QString log_not_saved = QStringLiteral("tenzor.log could not be saved in the folder ");
inline const QString no_editor = QStringLiteral("The text editor could not be started for ");
inline const QString no_browser = QStringLiteral("The web browser could not be started for ");
// The plain file that keeps a directory, and everything below it, out of a tree
// comparison.
inline const QString no_tenzor_flag = QStringLiteral("_no_tenzor.flg");

// The directory boxes' context menu.
inline const QString subdir_name_prompt = QStringLiteral("Name of subdirectory?");
inline const QString creating_subdir_of = QStringLiteral("Creating subdirectory of ");
inline const QString new_dir_name_prompt = QStringLiteral("New name of directory?");
inline const QString renaming = QStringLiteral("Renaming ");
inline const QString delete_dir_question =
    QStringLiteral("Are you sure you want to delete directory ");
inline const QString dir_name_refused = QStringLiteral("The name \"");
inline const QString dir_name_refused_end = QStringLiteral(
    "\" was not used: a directory's name cannot hold \\ or /, and cannot be \".\" or \"..\". "
    "Nothing was done.");
inline const QString drive_root_not_deleted = QStringLiteral(
    " is the root directory of a drive, which cannot be deleted. Nothing was deleted.");
inline const QString dir_gone = QStringLiteral(
    " is no longer there: it was renamed, moved or deleted since the box showed it. Nothing "
    "was done.");
inline const QString delete_dir_stopped = QStringLiteral("Deleting the directory stopped at ");
inline const QString delete_dir_stopped_some = QStringLiteral(
    "Some of its files were already deleted. The boxes and lists now show what is left.");
inline const QString delete_dir_stopped_none = QStringLiteral("Nothing was deleted.");

}  // namespace tz::text
