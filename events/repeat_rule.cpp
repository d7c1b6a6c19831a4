#include "events/repeat_rule.h"

namespace repeat_rule {

DayKey keyOf(const QDate &date)
{
    DayKey k;
    if (!date.isValid())
        return k;
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    k.weekday = date.dayOfWeek() % 7 + 1; // Qt counts Monday 1 .. Sunday 7
    k.day = d;
    k.month = m;
    k.monthDays = date.daysInMonth();
    return k;
}

bool inSpan(const QDate &first, const QDate &last, const QDate &day)
{
    if (!first.isValid() || !day.isValid() || day < first)
        return false;
    return day <= (last.isValid() ? last : first);
}

bool sameKey(int unit, const DayKey &first, const DayKey &day)
{
    if (!first.isValid() || !day.isValid())
        return false;
    switch (unit) {
    case Daily: return true;
    case Weekly: return first.weekday == day.weekday;
    case Monthly: return first.day == day.day;
    case Yearly: return first.month == day.month && first.day == day.day;
    default: return false;
    }
}

bool sameKey(int unit, const QDate &first, const QDate &day) { return sameKey(unit, keyOf(first), keyOf(day)); }

bool fallsOnMonthEnd(int unit, const DayKey &first, const DayKey &day)
{
    if (!first.isValid() || !day.isValid() || day.day != day.monthDays || first.day <= day.day)
        return false;
    return unit == Monthly || (unit == Yearly && first.month == day.month);
}

bool fallsOnMonthEnd(int unit, const QDate &first, const QDate &day)
{
    return fallsOnMonthEnd(unit, keyOf(first), keyOf(day));
}

bool occursOn(int unit, const QDate &first, const QDate &last, const QDate &day)
{
    if (!inSpan(first, last, day))
        return false;
    const DayKey f = keyOf(first), d = keyOf(day);
    return sameKey(unit, f, d) || fallsOnMonthEnd(unit, f, d);
}

} // namespace repeat_rule
