#pragma once
// When a reminder falls due, and what the reminder window says of it. The rules
// take a row of the reminder queries as the file holds it and "now" from the
// caller, so that every case can be tried at any moment.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

namespace reminders {

// The day a repeating event falls on next: its first occurrence by its repeat
// type (the value stored in event_repeat_every) from `first` up to `until` (both
// included) that lies after `acknowledgedOn` (the day of its last
// acknowledgement, which covers that whole day). A null date when there is
// none, or the repeat is none of the four.
QDate funNextOccurrence(const QDate &first, const QDate &until, int repeatEvery, const QDate &acknowledgedOn);

// True when `dueTime` lies before the current minute (a reminder for 9:00 is not
// overdue until 9:01).
bool funIsOverdue(const QDateTime &dueTime, const QDateTime &now);

// "Overdue - " when overdue, the time as "h:mm am/pm" and a blank when `time` is
// given and `showTime`, then the date as "dddd, mmmm d, yyyy".
QString funDueText(const QDate &date, const QTime &time, bool showTime, const QDateTime &now);

// "Now" as the rules reckon with it, worked out once for a whole check of
// thousands of rows: the local moment, and its wall-clock time and minute.
struct DueClock {
    explicit DueClock(const QDateTime &now);
    QDateTime now, wall, minute;
};

// What the check makes of one row.
struct DueCheck {
    enum Verdict { NotDue, Due, Bad };
    Verdict verdict = NotDue;
    QString dueText;            // when due
    QDateTime acknowledgeValue; // when due: what acknowledging the item writes
};

// A single event or a vaccination: due once its reminder time (date and time,
// less the lead minutes) has come, `now` included. The time is not shown for an
// all-day item. Acknowledging writes the moment of the check.
DueCheck funSingleDue(const QVariant &date, const QVariant &time, const QVariant &allDay, const QVariant &leadMinutes,
                      const QDateTime &now);
DueCheck funSingleDue(const QVariant &date, const QVariant &time, const QVariant &allDay, const QVariant &leadMinutes,
                      const DueClock &clock);

// A repeating event: only its next occurrence after the last acknowledged one is
// looked at, and it is due once its reminder time has passed (strictly). A stored
// time is shown even for an all-day event. Acknowledging writes the occurrence's
// time plus one second, so that the next look starts the day after it. Without an
// until date the event falls on its own date only.
DueCheck funRepeatingDue(const QVariant &date, const QVariant &time, const QVariant &leadMinutes,
                         const QVariant &endDate, const QVariant &repeatEvery, const QVariant &acknowledged,
                         const QDateTime &now);
DueCheck funRepeatingDue(const QVariant &date, const QVariant &time, const QVariant &leadMinutes,
                         const QVariant &endDate, const QVariant &repeatEvery, const QVariant &acknowledged,
                         const DueClock &clock);

} // namespace reminders
