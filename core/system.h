#pragma once
// Folders of the program, the folder picker, opening through the desktop, and help.

#include <QString>

class QWidget;

// The records' folder (funGetRecordsFolder) plus "/Pictures", and the program
// folder plus "/Samples" (no trailing "/").
QString funGetPicturesFolder();
QString funGetSamplesFolder();

// Lets the user pick a folder, with `title` as the prompt; "" when nothing was picked.
QString funGetFolder(QWidget *form, const QString &title);
// The folder picker itself, owned by `form`'s window; "" when the user cancels.
QString funPickFolder(QWidget *form, const QString &title);

// Opens stored or typed text as a web or mail address (http, https, mailto;
// "http://" is put before text without a scheme). Anything else (a program, a
// local file, another scheme) is not opened, and the user is told so; empty text
// opens nothing. `parameters` has no use for an address.
void subShellOpen(QWidget *form, const QString &file, const QString &parameters = {});

// Opens a folder the user chose (the local photo folder) in the file manager;
// anything but an existing folder is not opened, and the user is told so.
void subShellOpenFolder(QWidget *form, const QString &folder);

// Our own two programs, which are the only ones we start, by their own paths.
enum class OurProgram { Main, Reminder };
// The program folder plus "/Zorbi" or "/Zorbi_Reminder".
QString funGetProgramPath(OurProgram program);
// Starts one of them with `parameters` as its command line; nothing is reported.
void subStartProgram(QWidget *form, OurProgram program, const QString &parameters = {});

// The program's own documents and folders, opened with the desktop's handler.
enum class ProgramFile { License, PicturesFolder, SamplesFolder };
void subShellOpenProgramFile(QWidget *form, ProgramFile file);

// Help, by action: 2 the page of `context`; 3 the index; 4 closes help;
// 5 the search page; 1 and any other the contents. The pages live in the folder
// gHelpFile names (the program folder's "Help" when it is not set).
bool funHelp(QWidget *form, int action, int context = 0);
