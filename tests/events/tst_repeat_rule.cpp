// When a repeating item comes round: the units, the span, and the month ends.

#include "events/repeat_rule.h"
#include "test_support.h"

#include <QApplication>

using namespace repeat_rule;

class TestRepeatRule : public QObject {
    Q_OBJECT
private slots:
    void occursOn_data();
    void occursOn();
    void weekdayCountsFromSunday();
};

void TestRepeatRule::occursOn_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("occurs");

    const QDate none;
    // Daily, within and around its span.
    QTest::newRow("daily on its first day")
        << 1 << QDate(2003, 4, 10) << QDate(2003, 4, 12) << QDate(2003, 4, 10) << true;
    QTest::newRow("daily on its last day")
        << 1 << QDate(2003, 4, 10) << QDate(2003, 4, 12) << QDate(2003, 4, 12) << true;
    QTest::newRow("daily the day before")
        << 1 << QDate(2003, 4, 10) << QDate(2003, 4, 12) << QDate(2003, 4, 9) << false;
    QTest::newRow("daily the day after") << 1 << QDate(2003, 4, 10) << QDate(2003, 4, 12) << QDate(2003, 4, 13)
                                         << false;
    QTest::newRow("no last day: its own date") << 1 << QDate(2003, 4, 10) << none << QDate(2003, 4, 10) << true;
    QTest::newRow("no last day: not the next") << 1 << QDate(2003, 4, 10) << none << QDate(2003, 4, 11) << false;
    QTest::newRow("last day before the first")
        << 1 << QDate(2003, 4, 10) << QDate(2003, 4, 1) << QDate(2003, 4, 10) << false;

    // Weekly: the same weekday, across months.
    QTest::newRow("weekly, a Tuesday a month on")
        << 2 << QDate(2003, 3, 4) << QDate(2003, 12, 31) << QDate(2003, 4, 29) << true;
    QTest::newRow("weekly, the Wednesday after")
        << 2 << QDate(2003, 3, 4) << QDate(2003, 12, 31) << QDate(2003, 4, 30) << false;

    // Monthly, with the month ends.
    QTest::newRow("monthly 15th") << 3 << QDate(2003, 1, 15) << QDate(2003, 12, 31) << QDate(2003, 6, 15) << true;
    QTest::newRow("monthly 15th, not the 16th")
        << 3 << QDate(2003, 1, 15) << QDate(2003, 12, 31) << QDate(2003, 6, 16) << false;
    QTest::newRow("monthly 31st on 30 April")
        << 3 << QDate(2003, 1, 31) << QDate(2004, 12, 31) << QDate(2003, 4, 30) << true;
    QTest::newRow("monthly 31st on 28 Feb 2003")
        << 3 << QDate(2003, 1, 31) << QDate(2004, 12, 31) << QDate(2003, 2, 28) << true;
    QTest::newRow("monthly 31st on 29 Feb 2004")
        << 3 << QDate(2003, 1, 31) << QDate(2004, 12, 31) << QDate(2004, 2, 29) << true;
    QTest::newRow("monthly 31st not on 28 Feb 2004")
        << 3 << QDate(2003, 1, 31) << QDate(2004, 12, 31) << QDate(2004, 2, 28) << false;
    QTest::newRow("monthly 31st not on 30 March")
        << 3 << QDate(2003, 1, 31) << QDate(2004, 12, 31) << QDate(2003, 3, 30) << false;
    QTest::newRow("monthly 30th on 28 Feb 2003")
        << 3 << QDate(2003, 1, 30) << QDate(2004, 12, 31) << QDate(2003, 2, 28) << true;
    QTest::newRow("monthly 29th on 28 Feb 2003")
        << 3 << QDate(2003, 1, 29) << QDate(2004, 12, 31) << QDate(2003, 2, 28) << true;
    QTest::newRow("monthly 29th on 29 Feb 2004")
        << 3 << QDate(2003, 1, 29) << QDate(2004, 12, 31) << QDate(2004, 2, 29) << true;
    QTest::newRow("monthly 29th not on 28 Feb 2004")
        << 3 << QDate(2003, 1, 29) << QDate(2004, 12, 31) << QDate(2004, 2, 28) << false;
    QTest::newRow("monthly 31st, month end after its span")
        << 3 << QDate(2003, 1, 31) << QDate(2003, 4, 29) << QDate(2003, 4, 30) << false;

    // Yearly, with 29 February.
    QTest::newRow("yearly 5 Jan") << 4 << QDate(2000, 1, 5) << QDate(9999, 12, 31) << QDate(2003, 1, 5) << true;
    QTest::newRow("yearly 5 Jan, not 5 Feb")
        << 4 << QDate(2000, 1, 5) << QDate(9999, 12, 31) << QDate(2003, 2, 5) << false;
    QTest::newRow("yearly 29 Feb on 28 Feb 2003")
        << 4 << QDate(2000, 2, 29) << QDate(9999, 12, 31) << QDate(2003, 2, 28) << true;
    QTest::newRow("yearly 29 Feb, not 1 Mar 2003")
        << 4 << QDate(2000, 2, 29) << QDate(9999, 12, 31) << QDate(2003, 3, 1) << false;
    QTest::newRow("yearly 29 Feb on 29 Feb 2008")
        << 4 << QDate(2000, 2, 29) << QDate(9999, 12, 31) << QDate(2008, 2, 29) << true;
    QTest::newRow("yearly 29 Feb, not 28 Feb 2008")
        << 4 << QDate(2000, 2, 29) << QDate(9999, 12, 31) << QDate(2008, 2, 28) << false;
    QTest::newRow("yearly 31 Jan, not on 30 April")
        << 4 << QDate(2000, 1, 31) << QDate(9999, 12, 31) << QDate(2003, 4, 30) << false;

    // A unit the program does not know never comes round, not even on its date.
    QTest::newRow("unit 0") << 0 << QDate(2003, 4, 10) << QDate(2003, 4, 12) << QDate(2003, 4, 10) << false;
    QTest::newRow("unit 5") << 5 << QDate(2003, 4, 10) << QDate(2003, 4, 12) << QDate(2003, 4, 10) << false;
    QTest::newRow("no first day") << 1 << none << QDate(2003, 4, 12) << QDate(2003, 4, 10) << false;
}

void TestRepeatRule::occursOn()
{
    QFETCH(int, unit);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QDate, day);
    QFETCH(bool, occurs);
    QCOMPARE(repeat_rule::occursOn(repeatTypeOf(unit), first, last, day), occurs);
}

void TestRepeatRule::weekdayCountsFromSunday()
{
    QCOMPARE(keyOf(QDate(2026, 3, 1)).weekday, 1); // a Sunday
    QCOMPARE(keyOf(QDate(2026, 3, 7)).weekday, 7); // a Saturday
    QCOMPARE(keyOf(QDate(2026, 2, 14)).monthDays, 28);
    QVERIFY(!keyOf(QDate()).isValid());
}

ZORBI_TEST_MAIN(TestRepeatRule)
#include "tst_repeat_rule.moc"
