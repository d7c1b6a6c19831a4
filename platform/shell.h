#pragma once
// Opening a web or mail address, a folder, or one of our own programs, the way
// the desktop would when the user opened it.
//
// Text from the data file, the settings or a text box only ever becomes a web or
// mail address: an address the user stored must never run a program or open a
// local file (a "photo site" set to a program, or to file:///etc/passwd).

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace shell {

// Stored or typed text as the web or mail address it stands for: http, https
// and mailto only, with "http://" put before a text that names no scheme
// ("www.x.org", "x.org:8080/pets"). An empty QUrl for anything else: another
// scheme (file:, javascript:, ftp:), a path, or text with blanks or line breaks.
QUrl webAddress(const QString &text);

// A link address as plain ASCII that no quoting of a file format can be
// broken by: blanks, controls, everything outside ASCII (as its UTF-8 bytes),
// and " \\ ( ) < > { } | ^ ` go by their %-codes; the rest, "%" included, stays.
QString encodedAddress(const QString &address);

// Opens webAddress(text) with the desktop's handler; false, opening nothing,
// when the text is not such an address.
bool openAddress(const QString &text);

// Opens a folder in the desktop's file manager; false, opening nothing, unless
// `path` is an existing folder (never a file, so never a program).
bool openFolder(const QString &path);

// Opens a document or folder of the program's own (its help, its license) with
// the desktop's handler. Only for paths the program makes itself, never for
// stored or typed text.
void openOwnFile(const QString &path);

// Opens a file the program has just written where the user asked (an
// exported web page) with the desktop's handler for its kind; false, opening
// nothing, unless `path` is an existing plain file that is not a program.
bool openDocument(const QString &path);

// Starts a program on its own with `parameters` split as a command line. Only
// for our own programs by the paths the program makes itself.
void startProgram(const QString &path, const QString &parameters);

// The system-information tools of the desktops, in the order they are looked
// for; the first one on PATH is the system's, "" when there is none.
QStringList systemInfoPrograms();
QString findSystemInfoProgram();
// Starts that tool; false, starting nothing, when there is none.
bool startSystemInfo();

// Replaces the opening, for tests: the opener receives what would be opened (the
// address, a "file://" address for a folder or document, or the program's path)
// and whether it is a program. nullptr opens for real again.
using Opener = std::function<void(const QString &target, const QString &parameters, bool isProgram)>;
void setOpener(Opener opener);

} // namespace shell
