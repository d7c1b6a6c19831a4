#pragma once
// Start-up and exit of the main program.

#include <QString>
#include <QStringList>

// "Zorbi 2003": the main window's caption and the default title of its boxes.
QString funGetAppTitle();
// The program's own web site, without "http://": the printouts' footer and
// the About box show it.
QString funGetWebAddress();

// True when the program's arguments (not its own path) contain `sw`, compared
// without regard to case, anywhere in the line.
bool funIsCommand(const QString &sw);
// The arguments funIsCommand looks at; tests set them (an empty list clears).
void setCommandArguments(const QStringList &arguments);

// What both programs set on their application object before start-up: the
// names the settings are kept under, the version, and that closing the last
// window does not end the program (it lives while its forms are loaded).
void subInitApplication();

// The start-up procedure.  Returns -1 when the program goes on into the event
// loop, or the exit code with which it ends now.
int Main();

// The exit procedure: the automatic-backup rule, closing both files, deleting the
// program folder's temporary files; then the process ends.  Never returns.
[[noreturn]] void subExitProgram();
// Everything subExitProgram does before the process ends (tests call this).
void subExitProcedure();

// The automatic-backup rule: true when the backup prompt is due; otherwise the
// count of exits since the last prompt is raised and stored.
bool funBackupPromptDue();
// A stored count as a whole number, or `fallback` when it is empty or not a
// number (as the backup rule reads its settings).

// The exits between backup prompts ("AutomaticBackupCount"): the one range the
// preferences take and the exit's rule reads.
constexpr int kBackupCountMin = 1;
constexpr int kBackupCountMax = 32767;
// The count typed as text: true, with the number, when it is a whole number in
// that range.
bool funBackupCountAccepted(const QString &text, int *count = nullptr);
// The count the rule uses: the stored one; 5 when none is stored or it is no
// number; one stored out of range (by hand, or before the box checked it) is
// held to the nearest end of the range, never taken for the default.
int funBackupCountLimit();

void subDeleteTempFiles();
void subInitReports();
