#pragma once
// Folders of the program, the folder picker, opening through the desktop, and help.

#include <QString>

class QWidget;

// The program folder plus "/Pictures" and plus "/Samples" (no trailing "/").
QString funGetPicturesFolder();
QString funGetSamplesFolder();

// Lets the user pick a folder, with `title` as the prompt; "" when nothing was picked.
QString funGetFolder(QWidget *form, const QString &title);
// The folder picker itself, owned by `form`'s window; "" when the user cancels.
QString funPickFolder(QWidget *form, const QString &title);

// Opens a document, folder, web or mail address, or starts a program with
// `parameters`; nothing is reported either way.
void subShellOpen(QWidget *form, const QString &file, const QString &parameters = {});

// Help, by action: 2 the page of `context`; 3 the index; 4 closes help;
// 5 the search page; 1 and any other the contents. The pages live in the folder
// gHelpFile names (the program folder's "Help" when it is not set).
bool funHelp(QWidget *form, int action, int context = 0);
