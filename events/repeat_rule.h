#pragma once
// When a repeating item comes round: the one place that knows the repeat units
// (1 daily, 2 weekly, 3 monthly, 4 yearly), the span an item repeats over, and
// where an occurrence goes in a month too short for it.
//
// An item repeats from its own date (its first day) to its last day; without a
// last day it stands on its first day only. Within that span it comes round on
// every day whose key equals the key of its first day: daily every day, weekly
// the same weekday, monthly the same day of the month, yearly the same month
// and day. A monthly item on the 29th to 31st, or a yearly one on 29 February,
// also comes round on the last day of a month that lacks its day.
//
// Keys are numbers taken from the dates themselves, never text, so the rules
// do not depend on the user's language or on any stored label.

#include <QDate>

namespace repeat_rule {

enum Unit { Daily = 1, Weekly = 2, Monthly = 3, Yearly = 4 };

// The parts of a date the units compare. Made once per date, so that a long
// walk over days and items compares plain numbers.
struct DayKey {
    int weekday = 0; // 1 Sunday .. 7 Saturday
    int day = 0;     // day of the month
    int month = 0;
    int monthDays = 0; // days in the date's month
    bool isValid() const { return day != 0; }
};
DayKey keyOf(const QDate &date);

// True when `day` lies within the span: first <= day <= last, or day == first
// when there is no last day (a null `last`).
bool inSpan(const QDate &first, const QDate &last, const QDate &day);

// True when `day` has the key of `first` for `unit`; an unknown unit never matches.
bool sameKey(int unit, const DayKey &first, const DayKey &day);
bool sameKey(int unit, const QDate &first, const QDate &day);

// True when `day` is the last day of its month and stands in for a monthly or
// yearly occurrence that the month lacks (its day of the month lies beyond it).
bool fallsOnMonthEnd(int unit, const DayKey &first, const DayKey &day);
bool fallsOnMonthEnd(int unit, const QDate &first, const QDate &day);

// The whole rule: the item comes round on `day`, by its key or in place of a
// missing day at the month's end, within its span.
bool occursOn(int unit, const QDate &first, const QDate &last, const QDate &day);

} // namespace repeat_rule
