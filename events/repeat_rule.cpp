#include "events/repeat_rule.h"

#include <algorithm>

namespace repeat_rule {

RepeatType repeatTypeOf(int stored)
{
    switch (stored) {
    case int(RepeatType::Day):
    case int(RepeatType::Week):
    case int(RepeatType::Month):
    case int(RepeatType::Year): return RepeatType(stored);
    default: return RepeatType::None;
    }
}

RepeatType repeatTypeOf(const QVariant &stored)
{
    return stored.isNull() ? RepeatType::None : repeatTypeOf(stored.toInt());
}

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

Recurrence::Recurrence(RepeatType type, const QDate &first, const QDate &last)
    : m_type(type), m_first(first), m_last(last.isValid() ? last : first), m_key(keyOf(first))
{
}

namespace {

int daysInMonth(int year, int month)
{
    switch (month) {
    case 2: return QDate::isLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
    }
}

} // namespace

// A monthly or yearly item in one month: on its own day, or on the month's
// last day when the month is too short for it.
Occurrence Recurrence::inMonth(int year, int month) const
{
    const int days = daysInMonth(year, month);
    return {QDate(year, month, std::min(m_key.day, days)), m_key.day > days};
}

// Worked out from the day's parts rather than day by day: the calendar asks
// this for every item on every day it shows one.
Occurrence Recurrence::next(const QDate &from) const
{
    if (!m_first.isValid() || !from.isValid())
        return {};
    const QDate day = std::max(from, m_first);
    Occurrence o;
    int y = 0, m = 0, d = 0;
    switch (m_type) {
    case RepeatType::Day: o.date = day; break;
    case RepeatType::Week:
        o.date = day.addDays((m_key.weekday - (day.dayOfWeek() % 7 + 1) + 7) % 7); // Sunday 1 .. Saturday 7
        break;
    case RepeatType::Month:
        day.getDate(&y, &m, &d);
        if (std::min(m_key.day, daysInMonth(y, m)) < d) {
            m = m % 12 + 1;
            y += m == 1 ? 1 : 0;
        }
        o = inMonth(y, m);
        break;
    case RepeatType::Year:
        day.getDate(&y, &m, &d);
        if (m > m_key.month || (m == m_key.month && std::min(m_key.day, daysInMonth(y, m)) < d))
            ++y;
        o = inMonth(y, m_key.month);
        break;
    case RepeatType::None: break;
    }
    if (!o.isValid() || o.date > m_last)
        return {};
    return o;
}

bool Recurrence::occursOn(const QDate &day) const { return day.isValid() && next(day).date == day; }

} // namespace repeat_rule
