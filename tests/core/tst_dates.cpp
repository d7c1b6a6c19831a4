// Day numbers, month ends, ages, typed dates and the database files' date text.

#include "platform/dates.h"
#include "platform/clock.h"
#include "support/test_support.h"

#include <QApplication>
#include <QLocale>
#include <QtTest>

class TestDates : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        zbclock::reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void ageText_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QVariant>("born");
        QTest::addColumn<QString>("expected");
        const QDate t(2024, 6, 15);
        QTest::newRow("born today") << t << QVariant(t) << "";
        QTest::newRow("born yesterday") << t << QVariant(t.addDays(-1)) << "(1 day old)";
        QTest::newRow("six days") << t << QVariant(t.addDays(-6)) << "(6 days old)";
        QTest::newRow("one week") << t << QVariant(t.addDays(-7)) << "(1 week old)";
        QTest::newRow("three weeks") << t << QVariant(t.addDays(-21)) << "(3 weeks old)";
        QTest::newRow("a day short of a month") << t << QVariant(QDate(2024, 5, 16)) << "(4 weeks old)";
        QTest::newRow("one month") << t << QVariant(QDate(2024, 5, 15)) << "(1 month old)";
        QTest::newRow("eleven months") << t << QVariant(QDate(2023, 6, 16)) << "(11 months old)";
        QTest::newRow("one year") << t << QVariant(QDate(2023, 6, 15)) << "(1 year old)";
        QTest::newRow("two years") << t << QVariant(QDate(2022, 6, 15)) << "(2 years old)";
        QTest::newRow("future") << t << QVariant(t.addDays(1)) << "";
        // A new year is not a birthday, nor a new month a month.
        QTest::newRow("31 Dec on 1 Jan") << QDate(2025, 1, 1) << QVariant(QDate(2024, 12, 31)) << "(1 day old)";
        QTest::newRow("31 Jan on 1 Feb") << QDate(2024, 2, 1) << QVariant(QDate(2024, 1, 31)) << "(1 day old)";
        QTest::newRow("31 Jan on 1 Mar") << QDate(2023, 3, 1) << QVariant(QDate(2023, 1, 31)) << "(1 month old)";
        QTest::newRow("31 Jan on 28 Feb") << QDate(2023, 2, 28) << QVariant(QDate(2023, 1, 31)) << "(1 month old)";
        QTest::newRow("29 Feb on 28 Feb next year")
            << QDate(2025, 2, 28) << QVariant(QDate(2024, 2, 29)) << "(1 year old)";
        QTest::newRow("day before first birthday") << t << QVariant(QDate(2023, 6, 16)) << "(11 months old)";
        // Older than the old 68-year limit.
        QTest::newRow("tortoise") << t << QVariant(QDate(1924, 6, 15)) << "(100 years old)";
        QTest::newRow("parrot") << t << QVariant(QDate(1950, 1, 1)) << "(74 years old)";
        // As stored and as typed.
        QTest::newRow("stored text") << t << QVariant(QStringLiteral("2022-06-15")) << "(2 years old)";
        QTest::newRow("typed short date") << t << QVariant(QStringLiteral("6/1/2024")) << "(2 weeks old)";
        QTest::newRow("date and time") << t << QVariant(QDateTime(QDate(2024, 6, 14), QTime(23, 59))) << "(1 day old)";
        QTest::newRow("not a date") << t << QVariant(QStringLiteral("last spring")) << "";
        QTest::newRow("empty") << t << QVariant(QString()) << "";
        QTest::newRow("nothing") << t << QVariant() << "";
    }
    void ageText()
    {
        QFETCH(QDate, today);
        QFETCH(QVariant, born);
        QFETCH(QString, expected);
        zbclock::setNow(QDateTime(today, QTime(10, 30)));
        QCOMPARE(funAgeText(born), expected);
    }

    void dayNumbers_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("number");
        QTest::newRow("day zero") << QDate(1900, 1, 1) << 0;
        QTest::newRow("next day") << QDate(1900, 1, 2) << 1;
        // 1900 was no leap year, whatever old spreadsheets say.
        QTest::newRow("after February 1900") << QDate(1900, 3, 1) << 59;
        QTest::newRow("2000") << QDate(2000, 1, 1) << 36524;
        QTest::newRow("leap day") << QDate(2024, 2, 29) << 45349;
        QTest::newRow("before day zero") << QDate(1899, 12, 31) << -1;
        QTest::newRow("last day of the range") << QDate(9999, 12, 31) << 2958463;
    }
    void dayNumbers()
    {
        QFETCH(QDate, date);
        QFETCH(int, number);
        QCOMPARE(funDateToDayNumber(date), number);
        QCOMPARE(funDateToDayNumber(QDateTime(date, QTime(23, 59, 59))), number);
        QCOMPARE(funDateToDayNumber(QVariant(date)), number);
        QCOMPARE(funDayNumberToDate(number), date);
    }

    void dayNumberOfOtherValues_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("number");
        QTest::newRow("stored date") << QVariant(QStringLiteral("1900-01-31")) << 30;
        QTest::newRow("stored date-time") << QVariant(QStringLiteral("1900-01-31 18:00:00")) << 30;
        QTest::newRow("typed date") << QVariant(QStringLiteral("1/31/1900")) << 30;
        QTest::newRow("not a date") << QVariant(QStringLiteral("soon")) << 0;
        QTest::newRow("nothing") << QVariant() << 0;
        QTest::newRow("null date") << QVariant(QDate()) << 0;
        QTest::newRow("before year 100") << QVariant(QDate(99, 12, 31)) << 0;
    }
    void dayNumberOfOtherValues()
    {
        QFETCH(QVariant, value);
        QFETCH(int, number);
        QCOMPARE(funDateToDayNumber(value), number);
    }

    void dayNumberOutOfRangeIsToday()
    {
        zbclock::setNow(QDateTime(QDate(2024, 6, 15), QTime(8, 0)));
        QCOMPARE(funDayNumberToDate(2958464), QDate(2024, 6, 15)); // 1 Jan 10000
        QCOMPARE(funDayNumberToDate(-700000), QDate(2024, 6, 15)); // before year 100
        QCOMPARE(funDayNumberToDate(std::numeric_limits<int>::max()), QDate(2024, 6, 15));
        QCOMPARE(funDayNumberToDate(std::numeric_limits<int>::min()), QDate(2024, 6, 15));
    }

    void endOfMonth_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("31 Jan") << QDateTime(QDate(2024, 1, 31), QTime()) << QDate(2024, 1, 31);
        QTest::newRow("1 Jan") << QDateTime(QDate(2024, 1, 1), QTime()) << QDate(2024, 1, 31);
        QTest::newRow("leap February") << QDateTime(QDate(2024, 2, 15), QTime()) << QDate(2024, 2, 29);
        QTest::newRow("February") << QDateTime(QDate(2023, 2, 15), QTime()) << QDate(2023, 2, 28);
        QTest::newRow("1900 February") << QDateTime(QDate(1900, 2, 1), QTime()) << QDate(1900, 2, 28);
        QTest::newRow("30-day month") << QDateTime(QDate(2023, 4, 30), QTime()) << QDate(2023, 4, 30);
        QTest::newRow("31 Dec") << QDateTime(QDate(2023, 12, 31), QTime()) << QDate(2023, 12, 31);
        QTest::newRow("last month of the range") << QDateTime(QDate(9999, 12, 5), QTime()) << QDate(9999, 12, 31);
        QTest::newRow("time dropped") << QDateTime(QDate(2023, 3, 10), QTime(17, 45, 12)) << QDate(2023, 3, 31);
        QTest::newRow("no date") << QDateTime() << QDate();
    }
    void endOfMonth()
    {
        QFETCH(QDateTime, value);
        QFETCH(QDate, expected);
        QCOMPARE(fDateEndOfMonth(value), expected);
        QCOMPARE(fDateEndOfMonth(value.date()), expected);
    }

    void typedDates_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected"); // null: not a date
        QTest::newRow("ISO") << "en_US"
                             << "2020-02-29" << QDate(2020, 2, 29);
        QTest::newRow("ISO impossible") << "en_US"
                                        << "2020-02-31" << QDate();
        QTest::newRow("ISO not a leap year") << "en_US"
                                             << "2023-02-29" << QDate();
        QTest::newRow("ISO short fields") << "en_US"
                                          << "2020-2-3" << QDate();
        QTest::newRow("US four-digit year") << "en_US"
                                            << "2/29/2020" << QDate(2020, 2, 29);
        QTest::newRow("US padded") << "en_US"
                                   << "02/09/2020" << QDate(2020, 2, 9);
        QTest::newRow("US two-digit year, this century") << "en_US"
                                                         << "3/4/15" << QDate(2015, 3, 4);
        QTest::newRow("US two-digit year, last century") << "en_US"
                                                         << "3/4/95" << QDate(1995, 3, 4);
        QTest::newRow("US leap day, two-digit year") << "en_US"
                                                     << "2/29/00" << QDate(2000, 2, 29);
        QTest::newRow("US impossible") << "en_US"
                                       << "2/31/2020" << QDate();
        QTest::newRow("US month 13") << "en_US"
                                     << "13/1/2020" << QDate();
        QTest::newRow("US blanks around") << "en_US"
                                          << "  2/3/2020 " << QDate(2020, 2, 3);
        QTest::newRow("US three-digit year") << "en_US"
                                             << "2/3/202" << QDate();
        QTest::newRow("US wrong separator") << "en_US"
                                            << "2.3.2020" << QDate();
        QTest::newRow("UK day first") << "en_GB"
                                      << "31/01/2020" << QDate(2020, 1, 31);
        QTest::newRow("UK impossible") << "en_GB"
                                       << "31/02/2020" << QDate();
        QTest::newRow("UK two-digit year") << "en_GB"
                                           << "5/6/07" << QDate(2007, 6, 5);
        QTest::newRow("German") << "de_DE"
                                << "24.12.2021" << QDate(2021, 12, 24);
        QTest::newRow("Japanese year first") << "ja_JP"
                                             << "2021/12/24" << QDate(2021, 12, 24);
        // The C locale's short date has month names: the form its hint shows,
        // however the name is written, and ISO.
        QTest::newRow("C as the hint shows") << "C"
                                             << "25 Dec 2020" << QDate(2020, 12, 25);
        QTest::newRow("C one-digit day") << "C"
                                         << "5 Dec 2020" << QDate(2020, 12, 5);
        QTest::newRow("C padded day") << "C"
                                      << "05 Dec 2020" << QDate(2020, 12, 5);
        QTest::newRow("C month in lower case") << "C"
                                               << "25 dec 2020" << QDate(2020, 12, 25);
        QTest::newRow("C month in capitals") << "C"
                                             << "25 DEC 2020" << QDate(2020, 12, 25);
        QTest::newRow("C two-digit year") << "C"
                                          << "25 Dec 20" << QDate(2020, 12, 25);
        QTest::newRow("C ISO") << "C"
                               << "2020-12-25" << QDate(2020, 12, 25);
        QTest::newRow("C impossible") << "C"
                                      << "31 Feb 2020" << QDate();
        QTest::newRow("C no such month") << "C"
                                         << "25 Dex 2020" << QDate();
        QTest::newRow("C numbers only") << "C"
                                        << "25 12 2020" << QDate();
        QTest::newRow("words") << "en_US"
                               << "abc" << QDate();
        QTest::newRow("empty") << "en_US"
                               << "" << QDate();
        QTest::newRow("blanks") << "en_US"
                                << "   " << QDate();
        QTest::newRow("trailing text") << "en_US"
                                       << "2/3/2020 x" << QDate();
        QTest::newRow("year 0050") << "en_US"
                                   << "0050-01-01" << QDate();
    }
    void typedDates()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(vbCDate(text), expected);
        QCOMPARE(vbIsDate(text), expected.isValid());
    }

    void typedTimes_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("expected"); // null: not a time
        QTest::newRow("afternoon") << "C"
                                   << "5:30 PM" << QTime(17, 30);
        QTest::newRow("lower case, no blank") << "C"
                                              << "5:30pm" << QTime(17, 30);
        QTest::newRow("hour and AM/PM") << "C"
                                        << "5 PM" << QTime(17, 0);
        QTest::newRow("noon") << "C"
                              << "12:00 PM" << QTime(12, 0);
        QTest::newRow("midnight") << "C"
                                  << "12:15 AM" << QTime(0, 15);
        QTest::newRow("with seconds") << "C"
                                      << "5:30:15 pm" << QTime(17, 30, 15);
        QTest::newRow("24 hours") << "C"
                                  << "17:30" << QTime(17, 30);
        QTest::newRow("24 hours, midnight") << "C"
                                            << "0:05" << QTime(0, 5);
        QTest::newRow("blanks around") << "C"
                                       << "  9:05 AM " << QTime(9, 5);
        QTest::newRow("US locale") << "en_US"
                                   << "5:30 PM" << QTime(17, 30);
        QTest::newRow("hour alone") << "C"
                                    << "5" << QTime();
        QTest::newRow("13 PM") << "C"
                               << "13:00 PM" << QTime();
        QTest::newRow("0 AM") << "C"
                              << "0:30 AM" << QTime();
        QTest::newRow("minute 60") << "C"
                                   << "5:60 PM" << QTime();
        QTest::newRow("24:00") << "C"
                               << "24:00" << QTime();
        QTest::newRow("one-digit minutes") << "C"
                                           << "5:3 PM" << QTime();
        QTest::newRow("other word") << "C"
                                    << "5:30 XM" << QTime();
        QTest::newRow("words") << "C"
                               << "half past five" << QTime();
        QTest::newRow("empty") << "C"
                               << "" << QTime();
    }
    void typedTimes()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QTime, expected);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(vbCTime(text), expected);
    }

    void shortDateFormatHasFourDigitYear()
    {
        QCOMPARE(vbShortDateFormat(), QStringLiteral("M/d/yyyy"));
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(vbShortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    }

    void dbText()
    {
        const QDateTime dt(QDate(2003, 7, 4), QTime(9, 5, 7, 654));
        QCOMPARE(dbDate(dt.date()), QStringLiteral("2003-07-04"));
        QCOMPARE(dbTime(dt.time()), QStringLiteral("09:05:07"));
        QCOMPARE(dbDateTime(dt), QStringLiteral("2003-07-04 09:05:07"));
        QCOMPARE(dbTime(QTime(23, 0)), QStringLiteral("23:00:00"));
        // A date-time of another zone is stored in local time.
        const QDateTime utc = dt.toUTC();
        QCOMPARE(dbDateTime(utc), QStringLiteral("2003-07-04 09:05:07"));

        QVERIFY(dbDate(QDate()).isNull());
        QVERIFY(dbTime(QTime()).isNull());
        QVERIFY(dbDateTime(QDateTime()).isNull());

        QCOMPARE(dateTimeFromDb(kNotAcknowledged), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
        QCOMPARE(dbDateTime(dateTimeFromDb(kNotAcknowledged)), kNotAcknowledged);
    }

    void dbRoundTrips_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::newRow("ordinary") << QDateTime(QDate(2024, 6, 15), QTime(14, 30, 15));
        QTest::newRow("midnight") << QDateTime(QDate(2024, 1, 1), QTime(0, 0));
        QTest::newRow("last second") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59));
        QTest::newRow("not acknowledged") << QDateTime(QDate(1900, 1, 1), QTime(0, 0));
    }
    void dbRoundTrips()
    {
        QFETCH(QDateTime, value);
        const QString d = dbDate(value.date()), t = dbTime(value.time()), dt = dbDateTime(value);
        for (const QString &s : {d, t, dt}) {
            QVERIFY2(!s.contains(QLatin1Char('T')) && !s.contains(QLatin1Char('.')), qPrintable(s));
        }
        QCOMPARE(dateFromDb(d), value.date());
        QCOMPARE(timeFromDb(t), value.time());
        QCOMPARE(dateTimeFromDb(dt), value);
        // A due time is a date and a time joined with a blank.
        QCOMPARE(dateTimeFromDb(d + QLatin1Char(' ') + t), value);
        QCOMPARE(dateFromDb(dt), value.date());
        QCOMPARE(timeFromDb(dt), value.time());
    }

    // A stored time reads as Qt reads an ISO time, in the files' own form and
    // in the others alike.
    void dbReadsTimesAsQtDoes_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *t : {"09:05:07", "00:00:00", "23:59:59", "24:00:00", "12:60:00", "12:00:60", "1:05:07",
                              "09:05", "09:05:07.250", " 09:05:07 ", "ab:cd:ef", "09-05-07", "9:5:7", ""})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void dbReadsTimesAsQtDoes()
    {
        QFETCH(QString, text);
        QCOMPARE(timeFromDb(text), QTime::fromString(text.trimmed(), Qt::ISODateWithMs));
    }

    void dbReadsOtherValues_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime x(QDate(2003, 7, 4), QTime(9, 5, 7));
        QTest::newRow("Qt's own text") << QVariant(QStringLiteral("2003-07-04T09:05:07.000")) << x;
        QTest::newRow("date only") << QVariant(QStringLiteral("2003-07-04")) << QDateTime(x.date(), QTime(0, 0));
        QTest::newRow("QDateTime") << QVariant(x) << x;
        QTest::newRow("QDate") << QVariant(x.date()) << QDateTime(x.date(), QTime(0, 0));
        QTest::newRow("NULL") << QVariant() << QDateTime();
        QTest::newRow("empty") << QVariant(QString("")) << QDateTime();
        QTest::newRow("typed text") << QVariant(QStringLiteral("7/4/2003")) << QDateTime();
        QTest::newRow("impossible") << QVariant(QStringLiteral("2003-02-30 10:00:00")) << QDateTime();
        QTest::newRow("number") << QVariant(37806) << QDateTime();
    }
    void dbReadsOtherValues()
    {
        QFETCH(QVariant, value);
        QFETCH(QDateTime, expected);
        QCOMPARE(dateTimeFromDb(value), expected);
        QCOMPARE(dateFromDb(value), expected.date());
    }

    void shownForms_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("longDate");
        QTest::addColumn<QString>("general");
        QTest::newRow("morning") << QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)) << "9:05 am"
                                 << "Thursday, December 10, 2026"
                                 << "12/10/2026 9:05:07 AM";
        QTest::newRow("midnight") << QDateTime(QDate(2024, 2, 29), QTime(0, 0)) << "12:00 am"
                                  << "Thursday, February 29, 2024"
                                  << "2/29/2024";
        QTest::newRow("noon") << QDateTime(QDate(2027, 1, 1), QTime(12, 30)) << "12:30 pm"
                              << "Friday, January 1, 2027"
                              << "1/1/2027 12:30:00 PM";
        QTest::newRow("evening") << QDateTime(QDate(2026, 7, 4), QTime(23, 59, 59)) << "11:59 pm"
                                 << "Saturday, July 4, 2026"
                                 << "7/4/2026 11:59:59 PM";
    }
    void shownForms()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, time);
        QFETCH(QString, longDate);
        QFETCH(QString, general);
        QCOMPARE(vbFormatTimeAmPm(when.time()), time);
        QCOMPARE(vbFormatLongDate(when.date()), longDate);
        QCOMPARE(vbFormatGeneralDate(when), general);
    }

    void longDateFollowsTheLanguage()
    {
        const QDate d(2026, 12, 10);
        QCOMPARE(vbFormatLongDate(d), QString("Thursday, December 10, 2026"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(vbFormatLongDate(d), QString("Donnerstag, Dezember 10, 2026"));
        QCOMPARE(vbFormatTimeAmPm(QTime(15, 0)), QString("3:00 pm")); // the same in every language
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(vbFormatLongDate(d), QString("Thursday, December 10, 2026"));
        QCOMPARE(vbFormatLongDate(QDate()), QString(""));
    }
};

ZORBI_TEST_MAIN(TestDates)
#include "tst_dates.moc"
