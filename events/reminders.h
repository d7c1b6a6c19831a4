#pragma once
// The reminder check: which events and vaccinations have fallen due, the
// reminder window that lists them, acknowledging and snoozing them, and the
// periodic driver the reminder program runs on its timer.

#include <QDateTime>
#include <QString>

class frm_reminder;
class QWidget;

namespace db {
class Database;
struct DbError;
} // namespace db

namespace reminders {

// The unit ("n", minutes) and the length ("5") of the interval between checks.
QString funGetFrequency();
QString funGetInterval();

// The reminder program's periodic driver: when the next check has come, or when
// `forced`, it opens both files, checks (with the snooze list; the "nothing due"
// message only when forced) and closes them again. `programWindow` is the
// reminder program's hidden window, which owns the check's boxes.
void subReminderTimer(QWidget *programWindow, bool forced);

// Lists the due items of the open data file in the reminder window and waits for
// the window to close: true when it was shown. `showSnooze` marks the reminder
// program's window (with its snooze list); `messageIfNone` says so when nothing
// is due. While a check is under way a further one does nothing and answers false.
bool funCheckReminders(bool showSnooze, bool messageIfNone);

// Builds gReminders from `data` as of `now`, showing nothing: single events and
// vaccinations in date and time order, then repeating events. A row that cannot
// be read is left out. False when a query fails (the engine's error in `error`).
bool funCollectReminders(db::Database &data, const QDateTime &now, db::DbError *error);

// Done in the reminder window: acknowledges the marked rows on the open data
// file; the reminder program's variant opens and closes both files itself, puts
// the next check off by the snooze and closes its other windows.
void subAcknowledgeChecked(frm_reminder *form);
void subAcknowledgeReminders(frm_reminder *form);

// Writes the acknowledged date of item `index` of gReminders; a record deleted
// meanwhile counts as done. False after an error report.
bool funAcknowledgeEvent(long &index);
bool funAcknowledgeVaccine(long &index);

// The reminder window while a check shows it, else nullptr.
frm_reminder *reminderWindow();

// `t` plus `number` units of `unit` ("s", "n", "h" or "d").
QDateTime funDateAdd(const QString &unit, qint64 number, const QDateTime &t);

} // namespace reminders
