#pragma once
// Dates as the program counts and shows them: day numbers for the calendar,
// month ends, a pet's age, typed dates, and the one place where dates become
// the text the database files hold and come back from it.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

// Leading and trailing blanks only, as the old run-time trimmed: a tab or a line
// break stays (inside a typed date it is no date; in a file name it is no blank).
QString trimBlanks(const QString &text);

// Any date the program hands around: a QDate, a QDateTime, or text as stored
// or typed (vbCDate's forms, or stored ISO text); a null date for anything else.
QDate anyDate(const QVariant &value);

// ---- Day numbers: whole days from 1 January 1900 (day 0) ----

// The day number of a date; the time of day is ignored. 0 when the value is
// not a date (a date typed as text is read as vbCDate reads it).
int funDateToDayNumber(const QDate &date);
int funDateToDayNumber(const QDateTime &dateTime);
int funDateToDayNumber(const QVariant &value);

// 1 January 1900 plus `dayNumber` days; today's date when that falls outside
// the years 100 to 9999.
QDate funDayNumberToDate(int dayNumber);

// The last day of the month of `date`, without its time; a null date for none.
QDate fDateEndOfMonth(const QDate &date);
QDate fDateEndOfMonth(const QDateTime &dateTime);

// ---- Age ----

// "(n years old)", "(n months old)", "(n weeks old)" or "(n days old)" (the
// singular for 1) from a birth date to now, in the largest unit with at least one
// completed period; "" for today, a future date, or a value that is not a date.
// The birth date may be a QDate, a QDateTime or text (as stored, or as typed).
QString funAgeText(const QVariant &birthDate);

// ---- Typed dates ----

// The short-date form of the user's locale with a four-digit year ("M/d/yyyy").
QString vbShortDateFormat();
// The most characters a date takes in that form (a two-digit day, the longest
// month and weekday names), so that a box for such dates can hold any of them.
int vbShortDateLength();

// True when `text` is a real date typed as 'YYYY-MM-DD' or in the locale's
// short-date form (a two-digit year means 1930 to 2029). Blanks around it are
// allowed; an impossible day such as 31 February is not a date.
bool vbIsDate(const QString &text);
// The date `text` names, or a null date when vbIsDate says it is not one.
// The short-date form is read as the date hint shows it (four-digit year) and
// as the locale writes it (a two-digit year); month names in any case.
QDate vbCDate(const QString &text);

// The time of day `text` names as a user types it: "5:30 PM", "5:30pm",
// "5 PM", "17:30", "5:30:15 PM" (the locale's AM/PM words or AM/PM, in any
// case; blanks around it allowed). A null time for anything else, including
// an hour alone without AM/PM and "13:00 PM".
QTime vbCTime(const QString &text);

// ---- The database files' text ----

// An acknowledged date that was never set.
inline const QString kNotAcknowledged = QStringLiteral("1900-01-01 00:00:00");

// 'yyyy-MM-dd', 'HH:mm:ss' and 'yyyy-MM-dd HH:mm:ss' (local time, whole seconds).
// A null value gives a null string, which a query binds as NULL.
QString dbDate(const QDate &date);
QString dbTime(const QTime &time);
QString dbDateTime(const QDateTime &dateTime);

// Read back what a column holds: that text (a date-time's 'T' and fractions of a
// second are accepted), or a QDate/QTime/QDateTime already converted. A null,
// empty or unreadable value gives a null result. A date read as a date-time is
// its midnight; a date-time read as a date or a time keeps only that part.
QDate dateFromDb(const QVariant &value);
QTime timeFromDb(const QVariant &value);
QDateTime dateTimeFromDb(const QVariant &value);

// ---- Shown to the user ----

// A time as "h:mm am/pm": "9:05 am", "12:30 pm"; "" for no time.
QString vbFormatTimeAmPm(const QTime &time);
// A date as "dddd, mmmm d, yyyy" in the user's language: "Thursday, December 10, 2026".
QString vbFormatLongDate(const QDate &date);
// The general date form: the short date with a four-digit year and, unless it is
// midnight, the long time ("12/10/2026 9:05:00 AM").
QString vbFormatGeneralDate(const QDateTime &dateTime);
