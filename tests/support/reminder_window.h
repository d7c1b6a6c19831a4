#pragma once
// Driving the reminder window, which a check shows and waits on, without blocking.

#include <functional>

class frm_reminder;

namespace testsupport {

// Acts on the reminder window once a check shows it. Whatever the act leaves
// open is then closed (without Done), so that no test can hang on the window.
void onReminderWindow(std::function<void(frm_reminder *)> act);
// Stops waiting for a window that did not come.
void stopWatchingReminderWindow();
// How many reminder windows the acts have seen; reset with resetReminderWindowCount().
int reminderWindowsShown();
void resetReminderWindowCount();

} // namespace testsupport
