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

// A monthly or yearly item in one month: on its own day, or on the month's
// last day when the month is too short for it.
Occurrence Recurrence::inMonth(int year, int month) const
{
    const int days = QDate(year, month, 1).daysInMonth();
    if (days == 0)
        return {};
    return {QDate(year, month, std::min(m_key.day, days)), m_key.day > days};
}

Occurrence Recurrence::next(const QDate &from) const
{
    if (!m_first.isValid() || !from.isValid())
        return {};
    const QDate day = std::max(from, m_first);
    Occurrence o;
    switch (m_type) {
    case RepeatType::Day: o.date = day; break;
    case RepeatType::Week: o.date = day.addDays((m_key.weekday - keyOf(day).weekday + 7) % 7); break;
    case RepeatType::Month:
        o = inMonth(day.year(), day.month());
        if (o.isValid() && o.date < day) {
            const QDate nextMonth = QDate(day.year(), day.month(), 1).addMonths(1);
            o = inMonth(nextMonth.year(), nextMonth.month());
        }
        break;
    case RepeatType::Year:
        o = inMonth(day.year(), m_key.month);
        if (o.isValid() && o.date < day)
            o = inMonth(day.year() + 1, m_key.month);
        break;
    case RepeatType::None: break;
    }
    if (!o.isValid() || o.date > m_last)
        return {};
    return o;
}

bool Recurrence::occursOn(const QDate &day) const { return day.isValid() && next(day).date == day; }

} // namespace repeat_rule
