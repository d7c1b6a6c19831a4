#pragma once
// The main program's side of the reminder program: whether it runs, stopping
// and starting it, and starting it when the user logs in; with the preferences
// dispatcher.

#include <QString>

class QWidget;

// "Zorbi 2003 Reminders": the reminder program's title, by which the main
// program finds it.
QString funGetReminderTitle();
// The reminder program's executable: the program folder plus "/Zorbi_Reminder".
QString funGetReminderProgram();

namespace reminder_control {

// True when the reminder program runs for this user.
bool funRemindersRunning(QWidget *form = nullptr);

// Action 0: asks the running reminder program to end (true when one was told;
// it does not wait for the program to go). Action 1: starts it with
// `parameters` as its command line (true). Any other action: false.
bool funRemindersControl(QWidget *form, int action, const QString &parameters = {});

// Code 5 shows the preferences on tab `tab`; any other code says it is not one.
bool funPrefsHandler(QWidget *form, int code, int tab);
bool funPrefsShow(QWidget *form, int tab);

// The autostart of the reminder program: an entry in the user's autostart
// folder named "Zorbi 2003" that starts the executable.
void subAutoStartOn();
void subAutoStartOff();
bool funAutoStartIsOn();

// The autostart store by value name: the program a value starts ("" when none),
// writing it (an error report and false when the store cannot be written), and
// removing it (false when it is still there).
QString funRegistryGetVal(const QString &name);
bool funRegistrySetVal(const QString &name, const QString &value);
bool funRegistryDelVal(const QString &name);

} // namespace reminder_control
