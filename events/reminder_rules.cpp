#include "events/reminder_rules.h"

#include "platform/dates.h"
#include "events/repeat_rule.h"

namespace reminders {

namespace {

bool isBlank(const QVariant &v)
{
    if (v.isNull())
        return true;
    // Numbers, and the dates and times the file holds, are never blank; only
    // text made of nothing but white space is.
    if (v.typeId() != QMetaType::QString)
        return false;
    const QString text = v.toString();
    return text.isEmpty() || (text.front().isSpace() && text.trimmed().isEmpty());
}

// The typed values of a row; `ok` is false when a value is there but cannot be
// read, which makes the row one to skip rather than a reason to stop the check.
struct RowTimes {
    QDate date;
    QTime time;      // null: no time stored
    qint64 lead = 0; // minutes; none stored is none in advance
    bool ok = false;
};

RowTimes readTimes(const QVariant &date, const QVariant &time, const QVariant &leadMinutes)
{
    RowTimes r;
    r.date = dateFromDb(date);
    if (!r.date.isValid())
        return r;
    if (!isBlank(time)) {
        // A time stored with a date in front of it still gives its time of day.
        r.time = timeFromDb(time);
        if (!r.time.isValid())
            return r;
    }
    if (!isBlank(leadMinutes)) {
        bool ok = false;
        r.lead = leadMinutes.toLongLong(&ok);
        if (!ok) {
            const double d = leadMinutes.toDouble(&ok);
            if (!ok || d < -1e9 || d > 1e9)
                return r;
            r.lead = qint64(d);
        }
    }
    r.ok = true;
    return r;
}

// Times are reckoned on the wall clock, as the file holds them: a reminder 60
// minutes ahead of 2:30 am is at 1:30 am on the day the clocks change too, and
// no time zone is looked up for the thousands of rows of a large file.
QDateTime at(const QDate &date, const QTime &time)
{
    return QDateTime(date, time.isValid() ? time : QTime(0, 0), Qt::UTC);
}

QDateTime wallClock(const QDateTime &t) { return QDateTime(t.date(), t.time(), Qt::UTC); }

// Back to the local time the rest of the program deals in.
QDateTime local(const QDateTime &t) { return QDateTime(t.date(), t.time()); }

QDateTime minuteOf(const QDateTime &t)
{
    return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute()), Qt::UTC);
}

bool isOverdue(const QDateTime &dueTime, const DueClock &clock) { return minuteOf(wallClock(dueTime)) < clock.minute; }

QString dueText(const QDate &date, const QTime &time, bool showTime, const DueClock &clock)
{
    QString text;
    if (isOverdue(at(date, time), clock))
        text = QStringLiteral("Overdue - ");
    if (showTime && time.isValid())
        text += vbFormatTimeAmPm(time) + QLatin1Char(' ');
    return text + vbFormatLongDate(date);
}

} // namespace

DueClock::DueClock(const QDateTime &when) : now(when), wall(wallClock(when)), minute(minuteOf(wall)) {}

QDate funNextOccurrence(const QDate &first, const QDate &until, int repeatEvery, const QDate &acknowledgedOn)
{
    if (!until.isValid())
        return {};
    // An occurrence counts as acknowledged up to the midnight after the moment
    // written for it, so the look starts on the next day.
    QDate from = first;
    if (acknowledgedOn.isValid() && acknowledgedOn >= first)
        from = acknowledgedOn.addDays(1);
    return repeat_rule::Recurrence(repeat_rule::repeatTypeOf(repeatEvery), first, until).next(from).date;
}

bool funIsOverdue(const QDateTime &dueTime, const QDateTime &now) { return isOverdue(dueTime, DueClock(now)); }

QString funDueText(const QDate &date, const QTime &time, bool showTime, const QDateTime &now)
{
    return dueText(date, time, showTime, DueClock(now));
}

DueCheck funSingleDue(const QVariant &date, const QVariant &time, const QVariant &allDay, const QVariant &leadMinutes,
                      const QDateTime &now)
{
    return funSingleDue(date, time, allDay, leadMinutes, DueClock(now));
}

DueCheck funSingleDue(const QVariant &date, const QVariant &time, const QVariant &allDay, const QVariant &leadMinutes,
                      const DueClock &clock)
{
    DueCheck c;
    const RowTimes r = readTimes(date, time, leadMinutes);
    if (!r.ok) {
        c.verdict = DueCheck::Bad;
        return c;
    }
    const QDateTime remindAt = at(r.date, r.time).addSecs(-r.lead * 60);
    if (remindAt > clock.wall)
        return c;
    c.verdict = DueCheck::Due;
    c.dueText = dueText(r.date, r.time, allDay.toLongLong() == 0, clock);
    c.acknowledgeValue = clock.now;
    return c;
}

DueCheck funRepeatingDue(const QVariant &date, const QVariant &time, const QVariant &leadMinutes,
                         const QVariant &endDate, const QVariant &repeatEvery, const QVariant &acknowledged,
                         const QDateTime &now)
{
    return funRepeatingDue(date, time, leadMinutes, endDate, repeatEvery, acknowledged, DueClock(now));
}

DueCheck funRepeatingDue(const QVariant &date, const QVariant &time, const QVariant &leadMinutes,
                         const QVariant &endDate, const QVariant &repeatEvery, const QVariant &acknowledged,
                         const DueClock &clock)
{
    DueCheck c;
    const RowTimes r = readTimes(date, time, leadMinutes);
    QDate until = r.date;
    if (r.ok && !isBlank(endDate))
        until = dateFromDb(endDate);
    if (!r.ok || !until.isValid()) {
        c.verdict = DueCheck::Bad;
        return c;
    }
    // A repeat that is none of the four, or an acknowledged date that cannot be
    // read (taken as never acknowledged), does not make the row unreadable.
    const QDate on =
        funNextOccurrence(r.date, until, int(repeat_rule::repeatTypeOf(repeatEvery)), dateFromDb(acknowledged));
    if (!on.isValid())
        return c;
    const QDateTime occurs = at(on, r.time);
    if (!(occurs.addSecs(-r.lead * 60) < clock.wall))
        return c;
    c.verdict = DueCheck::Due;
    c.dueText = dueText(on, r.time, true, clock);
    c.acknowledgeValue = local(occurs.addSecs(1));
    return c;
}

} // namespace reminders
