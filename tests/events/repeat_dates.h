#pragma once
// The days on which repeating items come round, a month at a time: one table
// that both the calendar's fill and the reminder check are held to, so that
// neither can drift from the rule the other follows.

#include <QDate>
#include <QList>
#include <QTest>

namespace repeatdates {

using Dates = QList<QDate>;

// Columns: "type" (int, as event_repeat_every stores it), "first", "until" (a
// null date when the item has none), "month" (its first day), and "dates":
// every day of that month on which the item comes round.
inline void addTable()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("until");
    QTest::addColumn<QDate>("month");
    QTest::addColumn<Dates>("dates");

    const QDate none;
    const QDate feb26(2026, 2, 1), apr26(2026, 4, 1), feb28(2028, 2, 1);
    auto day = [](int y, int m, int d) { return QDate(y, m, d); };

    QTest::newRow("daily into the month")
        << 1 << day(2026, 3, 29) << day(2026, 4, 2) << apr26 << Dates{day(2026, 4, 1), day(2026, 4, 2)};
    QTest::newRow("daily, no until: its own date") << 1 << day(2026, 4, 5) << none << apr26 << Dates{day(2026, 4, 5)};
    QTest::newRow("daily, until the month's last day")
        << 1 << day(2026, 4, 29) << day(2026, 4, 30) << apr26 << Dates{day(2026, 4, 29), day(2026, 4, 30)};
    QTest::newRow("daily, until the last day of the month before")
        << 1 << day(2026, 3, 1) << day(2026, 3, 31) << apr26 << Dates{};
    QTest::newRow("weekly on its weekday")
        << 2 << day(2026, 3, 3) << day(2026, 12, 31) << apr26
        << Dates{day(2026, 4, 7), day(2026, 4, 14), day(2026, 4, 21), day(2026, 4, 28)};
    QTest::newRow("weekly, until mid-month")
        << 2 << day(2026, 3, 3) << day(2026, 4, 20) << apr26 << Dates{day(2026, 4, 7), day(2026, 4, 14)};
    QTest::newRow("weekly, starting mid-month") << 2 << day(2026, 4, 16) << day(2026, 12, 31) << apr26
                                                << Dates{day(2026, 4, 16), day(2026, 4, 23), day(2026, 4, 30)};
    QTest::newRow("monthly 9th") << 3 << day(2026, 1, 9) << day(2026, 12, 31) << apr26 << Dates{day(2026, 4, 9)};
    QTest::newRow("monthly, not before its first day")
        << 3 << day(2026, 4, 20) << day(2026, 12, 31) << QDate(2026, 3, 1) << Dates{};
    QTest::newRow("monthly 29th in February")
        << 3 << day(2026, 1, 29) << day(2028, 12, 31) << feb26 << Dates{day(2026, 2, 28)};
    QTest::newRow("monthly 29th in a leap February")
        << 3 << day(2026, 1, 29) << day(2028, 12, 31) << feb28 << Dates{day(2028, 2, 29)};
    QTest::newRow("monthly 30th in February")
        << 3 << day(2026, 1, 30) << day(2028, 12, 31) << feb26 << Dates{day(2026, 2, 28)};
    QTest::newRow("monthly 30th in April")
        << 3 << day(2026, 1, 30) << day(2028, 12, 31) << apr26 << Dates{day(2026, 4, 30)};
    QTest::newRow("monthly 31st in April")
        << 3 << day(2026, 1, 31) << day(2028, 12, 31) << apr26 << Dates{day(2026, 4, 30)};
    QTest::newRow("monthly 31st in March")
        << 3 << day(2026, 1, 31) << day(2028, 12, 31) << QDate(2026, 3, 1) << Dates{day(2026, 3, 31)};
    QTest::newRow("monthly 31st in a leap February")
        << 3 << day(2026, 1, 31) << day(2028, 12, 31) << feb28 << Dates{day(2028, 2, 29)};
    QTest::newRow("monthly 31st, until the day before April's last")
        << 3 << day(2026, 1, 31) << day(2026, 4, 29) << apr26 << Dates{};
    QTest::newRow("monthly 31st, until April's last day")
        << 3 << day(2026, 1, 31) << day(2026, 4, 30) << apr26 << Dates{day(2026, 4, 30)};
    QTest::newRow("monthly 30th, until 27 February") << 3 << day(2026, 1, 30) << day(2026, 2, 27) << feb26 << Dates{};
    QTest::newRow("yearly on its day") << 4 << day(2020, 4, 18) << day(2030, 12, 31) << apr26
                                       << Dates{day(2026, 4, 18)};
    QTest::newRow("yearly early in January, across the year's end")
        << 4 << day(2020, 1, 3) << day(2030, 12, 31) << QDate(2027, 1, 1) << Dates{day(2027, 1, 3)};
    QTest::newRow("yearly, another month") << 4 << day(2020, 5, 18) << day(2030, 12, 31) << apr26 << Dates{};
    QTest::newRow("yearly 29 February in another year")
        << 4 << day(2024, 2, 29) << day(2030, 12, 31) << feb26 << Dates{day(2026, 2, 28)};
    QTest::newRow("yearly 29 February in a leap year")
        << 4 << day(2024, 2, 29) << day(2030, 12, 31) << feb28 << Dates{day(2028, 2, 29)};
    QTest::newRow("yearly 29 February, not in March")
        << 4 << day(2024, 2, 29) << day(2030, 12, 31) << QDate(2026, 3, 1) << Dates{};
    QTest::newRow("yearly 29 February, until 27 February")
        << 4 << day(2024, 2, 29) << day(2026, 2, 27) << feb26 << Dates{};
    QTest::newRow("yearly 29 February, until 28 February")
        << 4 << day(2024, 2, 29) << day(2026, 2, 28) << feb26 << Dates{day(2026, 2, 28)};
    QTest::newRow("yearly 31 January stays in January")
        << 4 << day(2024, 1, 31) << day(2030, 12, 31) << feb26 << Dates{};
    QTest::newRow("a repeat that is none of the four") << 5 << day(2026, 4, 1) << day(2026, 12, 31) << apr26 << Dates{};
}

} // namespace repeatdates
