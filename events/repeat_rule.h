#pragma once
// When a repeating item comes round: the one rule that the calendar and the
// reminder check both ask, knowing the repeat types, the span an item repeats
// over, and where an occurrence goes in a month too short for it.
//
// An item repeats from its own date (its first day) to its last day; without a
// last day it stands on its first day only. Within that span it comes round on
// every day whose key equals the key of its first day: daily every day, weekly
// the same weekday, monthly the same day of the month, yearly the same month
// and day. A monthly item on the 29th to 31st, or a yearly one on 29 February,
// comes round on the last day of a month that lacks its day instead.
//
// Keys are numbers taken from the dates themselves, never text, so the rule
// does not depend on the user's language or on any stored label.

#include <QDate>
#include <QVariant>

namespace repeat_rule {

// The repeat types by the values the data file stores in event_repeat_every
// (the ids of the system file's repeat types "Day", "Week", "Month", "Year").
// None stands for any other stored value: such an item never comes round.
enum class RepeatType { None = 0, Day = 1, Week = 2, Month = 3, Year = 4 };

// The repeat type of a stored value; a Null, or a value that is none of the
// four, is None.
RepeatType repeatTypeOf(int stored);
RepeatType repeatTypeOf(const QVariant &stored);

// The parts of a date the repeat types compare.
struct DayKey {
    int weekday = 0; // 1 Sunday .. 7 Saturday
    int day = 0;     // day of the month
    int month = 0;
    int monthDays = 0; // days in the date's month
    bool isValid() const { return day != 0; }
};
DayKey keyOf(const QDate &date);

// One day on which an item comes round.
struct Occurrence {
    QDate date;            // null: there is none
    bool monthEnd = false; // the last day of a month, standing in for a day the month lacks
    bool isValid() const { return date.isValid(); }
};

// The rule of one repeating item.
class Recurrence {
public:
    Recurrence() = default;
    // `last` null: the item stands on `first` only.
    Recurrence(RepeatType type, const QDate &first, const QDate &last);

    // The first occurrence on or after `from` within the span, or none.
    Occurrence next(const QDate &from) const;
    bool occursOn(const QDate &day) const;

    // The item's own day of the month, the day a month-end occurrence stands in for.
    int dayOfMonth() const { return m_key.day; }

private:
    Occurrence inMonth(int year, int month) const;

    RepeatType m_type = RepeatType::None;
    QDate m_first, m_last;
    DayKey m_key;
};

inline bool occursOn(RepeatType type, const QDate &first, const QDate &last, const QDate &day)
{
    return Recurrence(type, first, last).occursOn(day);
}

} // namespace repeat_rule
