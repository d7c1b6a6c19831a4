#pragma once
// The month calendar of the main window: a grid of 42 days (six weeks from the
// Sunday on or before the first of the month) holding up to three lines a day
// from the data file's events, birthdays, diary entries and vaccinations, with
// the days outside the month greyed and today marked. Every item placed is kept
// in gCalendarItems, from which the day tips and the day list are built.

#include <QColor>
#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantList>

class CtCalendar;
class QWidget;

namespace calendar_handler {

// The colours of the grid.
inline const QColor kDarkRed{128, 0, 0};        // an expiring vaccination, "More events..."
inline const QColor kGrey{128, 128, 128};       // the days outside the shown month
inline const QColor kTodayColor{170, 223, 255}; // today's day

// What the calendar settings let onto the grid; events always show.
struct CalendarSettings {
    bool birthdays = false;        // Cal_Show_DOB
    bool diary = false;            // Cal_Show_Diary
    bool vaccinesReceived = false; // Cal_Show_Vac_Rec
    bool vaccinesExpiring = false; // Cal_Show_Vac_Exp
    static CalendarSettings fromPrefs();
};

// One of the fill's two statements with its bound values.
struct CalendarQuery {
    QString sql;
    QVariantList params;
};
// Items with one date that fall within [start, end].
CalendarQuery singleItemsQuery(const CalendarSettings &settings, const QDate &start, const QDate &end);
// Repeating items that may come round within [start, end].
CalendarQuery repeatingItemsQuery(const CalendarSettings &settings, const QDate &start, const QDate &end);

// The first day of the grid that shows the month of `date`.
QDate gridStart(const QDate &date);

// Empties `calendar` and gCalendarItems and fills them for the month of
// `shown` over the grid [start, end]. A failing query is reported (titled after
// funCalendarRefresh) and ends the fill with what was placed so far; the
// colours of the grid are set either way. False after a failure.
bool fillCalendar(CtCalendar *calendar, const QDate &shown, const QDate &start, const QDate &end,
                  const CalendarSettings &settings);

// The dispatcher: 5 show the calendar at the month of `date`, 7 print it,
// 15 refill the month shown. Any other code is answered with a message. The
// answer is always False.
bool funCalendarHandler(QWidget *form, int action, const QVariant &date);

// Shows the calendar view of `form` (the main window) at the month of `date`,
// or of today when `date` is not a date.
bool funCalendarShow(QWidget *form, const QVariant &date);

// Refills `form`'s calendar; a missing date, start or end is taken from the
// calendar itself (its selected day and its grid).
bool funCalendarRefresh(QWidget *form, const QVariant &date = {}, const QVariant &start = {}, const QVariant &end = {});

// Prints the month shown on the program's printer under the title
// "Zorbi 2003 Calendar".
bool funCalendarPrint(QWidget *form);

// The main toolbar of the calendar view: Print, and the moves between months
// and years; the list commands hidden.
void subCalendarToolBar(QWidget *form);

} // namespace calendar_handler
