#pragma once
// Start-up and end of the reminder program, its tray menu, and starting the
// main program from it.

#include <QString>
#include <functional>

namespace main_systray {

// The start-up procedure. Returns -1 when the program goes on into the event
// loop, or the exit code with which it ends now.
int Main();

// Fills the tray menu and keeps the number of each entry.
void subBuildTrayMenu();

// Starts the main program with `sw` ("", "/about" or "/add_event") as its
// command line. Always false: nobody learns whether it started.
bool funStartMain(const QString &sw);

// Ends the reminder program: the icon goes, the files close, the program's
// single-instance lock and socket are given up, and the process ends (Exit, and
// the main program's quit message).
void subEndProgram();

// What ends the process; tests replace it (nullptr puts back the real end).
void setProcessEnd(std::function<void(int code)> end);

} // namespace main_systray
