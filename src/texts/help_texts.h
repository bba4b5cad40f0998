#pragma once

#include <QString>
#include <QStringList>

// The long texts of the Help menu and the text window, each defined once.
namespace tz::text {

// The maker's web site: the Help menu opens it and the about box names it.
inline const QString maker_web_site = QStringLiteral("https://tenzor.org");

// The version history, newest entry first, each entry "NN^YYMMDD.k) K: description":
// NN is the last component of the program's version, YYMMDD the date of its release, k
// counts the entries of that date and K is F (bug fixed), I (improvement) or N (new
// function). The newest entry is the program's version: a release adds its entry on top.
inline const QStringList version_history = {
    QStringLiteral("31^031026.7) I: Setup kit now puts shortcut to program on the desktop."),
    QStringLiteral("30^031026.6) I: Avoid false error message upon file copy where file dates "
                   "differ of max 2 seconds (normal with Windows XP)."),
    QStringLiteral("29^031026.5) I: Setup kit will keep more recent files without asking."),
    QStringLiteral("28^031026.4) F: In dir 1 box missing context menu."),
    QStringLiteral(
        "27^031026.3) I: In dir boxes, context menu to create/raname/delete directories."),
    QStringLiteral("26^031026.2) I: Hidden folders are now visible."),
    QStringLiteral("25^031026.1) F: Error in 'select all' from second list."),
    QStringLiteral("24^030830.5) F: History window was not resized with the main window."),
    QStringLiteral("23^030830.4) F: Form layout did not leave enough room for file details."),
    QStringLiteral("22^030830.3) I: Size of window is now variable."),
    QStringLiteral("21^030830.2) F: When comparing trees, directories with 'archive' status were "
                   "not always rcognized as folders."),
    QStringLiteral("18^030405.1) I: In file menu, new command 'skip delete confirmations on/off'."),
    QStringLiteral("17^030223.2) I: In 'delete all files in list' hourglass mouse pointer used "
                   "during deletions."),
    QStringLiteral(
        "16^030223.1) I: Prompt to skip delete confirmation after second confirmation request."),
    QStringLiteral("15^020722.3) I: 'Select all' command in context menu of the five lists."),
    QStringLiteral("14^020722.2) F: Avoid error when viewing two picture files at the same time."),
    QStringLiteral("13^020722.1) F: Avoid Error 53 when moving mouse over file name if file "
                   "deleted manually."),
    QStringLiteral(
        "12^020508.1) F: Copy error not detected when trying to overwrite read-only file."),
    QStringLiteral("11^020501.1) F: Avoid error while copying open file."),
    QStringLiteral("08^010701.1) I: Improved color of main window."),
    QStringLiteral("07^010602.1) F: Missing file scrrun.dll in installation kit."),
    QStringLiteral("05^010515.1) F: At startup, erroenous 'directory not found' warning."),
    QStringLiteral(
        "04^010512.1) I: Compare tree: suppress warning when there are no subdirectories."),
    QStringLiteral("02^010511.2) N: Version history."),
};
inline const QString version_history_base =
    QStringLiteral("------------------------- VERSION 2.2.0 -----------------------------");
inline const QString version_history_end = QStringLiteral("[end of version history]");
// The version is this and the newest entry's number.
inline const QString version_prefix = QStringLiteral("2.2.");

// The release notes in the text window.
inline const QString release_notes_heading = QStringLiteral("TENZOR VERSION HISTORY ");
inline const QString current_version_is = QStringLiteral("Current version is ");
inline const QString release_notes_legend = QStringLiteral(
    "It includes the following changes (F = bug fixed, I = improvement, N = new function)");
inline const QString release_notes_rule = QStringLiteral(
    "------------------------------------------------------------------------------------");
inline const QString version_history_caption = QStringLiteral(" - Version history");

// The about box: its title is "About " and the application title; the maker's lines follow
// the version.
inline const QString about = QStringLiteral("About ");
inline const QString version_word = QStringLiteral(" version ");
inline const QString about_maker = QStringLiteral("Made by the Tenzor developers.");
inline const QString about_updates = QStringLiteral("Look for updates on the web site ");

// The command-line help: lines ended by LF, two more after each example.
inline const QString command_line_help = QStringLiteral(
    "Format of optional command line for single directory comparison: \n"
    "              'TENZOR.EXE dir1spec | dir2spec' \n"
    "where dir1spec and dir2spec (optional parameters) are the complete path names\n"
    "of the two directories, separated by one space and including drive specifier.\n"
    "Example:\n"
    "              'TENZOR.EXE C:\\XYZ\\ABC | A:\\JKL').\n\n\n"
    "Format of optional command line for directory tree comparison: \n"
    "              'TENZOR.EXE dir1spec \u00a7 dir2spec' \n"
    "where dir1spec and dir2spec (optional parameters) are the complete path names\n"
    "of the two directories, separated by one space and including drive specifier.\n"
    "  Example:\n"
    "              'TENZOR.EXE C:\\XYZ\\ABC \u00a7 A:\\JKL').\n\n\n");

// The directory-flag help, around the flag file's name.
inline const QString directory_flags_start =
    QStringLiteral("To avoid tenzoring a directory, place an empty text file named \"");
inline const QString directory_flags_end = QStringLiteral("\" in that directory.");

// The text window's button.
inline const QString b_ok = QStringLiteral("OK");

}  // namespace tz::text
