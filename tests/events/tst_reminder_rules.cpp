// When a reminder falls due and what its due text says, row by row, at fixed moments.

#include "events/reminder_rules.h"
#include "repeat_dates.h"
#include "test_support.h"

#include <QApplication>

using reminders::DueCheck;

namespace {

QDateTime dt(const char *text) { return QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd HH:mm:ss"); }
QDate d(const char *text) { return QDate::fromString(QString::fromLatin1(text), "yyyy-MM-dd"); }

} // namespace

class TestReminderRules : public QObject {
    Q_OBJECT
private slots:
    void nextOccurrence_data();
    void nextOccurrence();
    void repeatDates_data();
    void repeatDates();
    void singleDue_data();
    void singleDue();
    void repeatingDue_data();
    void repeatingDue();
    void badRows_data();
    void badRows();
    void dueTextFormats();
};

void TestReminderRules::nextOccurrence_data()
{
    QTest::addColumn<int>("every");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("acknowledged");
    QTest::addColumn<QString>("expected"); // "" for none

    const char *never = "1900-01-01 00:00:00";
    QTest::newRow("daily, never acknowledged: its own date") << 1 << "2026-12-01"
                                                             << "2027-12-01" << never << "2026-12-01";
    QTest::newRow("daily, after an acknowledgement: the next day") << 1 << "2026-12-01"
                                                                   << "2027-12-01"
                                                                   << "2026-12-05 10:00:01"
                                                                   << "2026-12-06";
    QTest::newRow("acknowledged at midnight: that day is done") << 1 << "2026-12-01"
                                                                << "2027-12-01"
                                                                << "2026-12-05 00:00:00"
                                                                << "2026-12-06";
    QTest::newRow("acknowledged before the first date") << 1 << "2026-12-01"
                                                        << "2027-12-01"
                                                        << "2026-11-20 09:00:00"
                                                        << "2026-12-01";
    QTest::newRow("weekly on its weekday") << 2 << "2026-12-03"
                                           << "2027-12-01"
                                           << "2026-12-03 10:00:01"
                                           << "2026-12-10";
    QTest::newRow("weekly, never acknowledged") << 2 << "2026-12-03"
                                                << "2027-12-01" << never << "2026-12-03";
    QTest::newRow("monthly 9th stays on the 9th") << 3 << "2026-01-09"
                                                  << "2027-12-01"
                                                  << "2026-01-09 08:00:01"
                                                  << "2026-02-09";
    QTest::newRow("monthly 31st in April: the 30th") << 3 << "2026-01-31"
                                                     << "2027-12-01"
                                                     << "2026-03-31 08:00:01"
                                                     << "2026-04-30";
    QTest::newRow("monthly 31st in February: the 28th") << 3 << "2026-01-31"
                                                        << "2027-12-01"
                                                        << "2026-01-31 08:00:01"
                                                        << "2026-02-28";
    QTest::newRow("monthly 31st in a leap February: the 29th") << 3 << "2028-01-31"
                                                               << "2029-12-01"
                                                               << "2028-01-31 08:00:01"
                                                               << "2028-02-29";
    QTest::newRow("monthly 30th in February: the 28th") << 3 << "2026-01-30"
                                                        << "2027-12-01"
                                                        << "2026-01-30 08:00:01"
                                                        << "2026-02-28";
    QTest::newRow("monthly 31st back on the 31st in March") << 3 << "2026-01-31"
                                                            << "2027-12-01"
                                                            << "2026-02-28 08:00:01"
                                                            << "2026-03-31";
    QTest::newRow("yearly 29 February in other years: the 28th") << 4 << "2024-02-29"
                                                                 << "2030-12-31"
                                                                 << "2024-02-29 08:00:01"
                                                                 << "2025-02-28";
    QTest::newRow("yearly 29 February back on the 29th in a leap year") << 4 << "2024-02-29"
                                                                        << "2030-12-31"
                                                                        << "2027-02-28 08:00:01"
                                                                        << "2028-02-29";
    QTest::newRow("yearly 31 January stays in January") << 4 << "2026-01-31"
                                                        << "2030-12-31"
                                                        << "2026-01-31 08:00:01"
                                                        << "2027-01-31";
    QTest::newRow("yearly on its day") << 4 << "2026-03-15"
                                       << "2030-12-31"
                                       << "2026-03-15 08:00:01"
                                       << "2027-03-15";
    QTest::newRow("until date passed, last one not acknowledged") << 1 << "2026-12-01"
                                                                  << "2026-12-03"
                                                                  << "2026-12-02 08:00:01"
                                                                  << "2026-12-03";
    QTest::newRow("until date passed, last one acknowledged") << 1 << "2026-12-01"
                                                              << "2026-12-03"
                                                              << "2026-12-03 08:00:01"
                                                              << "";
    QTest::newRow("month end beyond the until date is none") << 3 << "2026-01-31"
                                                             << "2026-04-15"
                                                             << "2026-03-31 08:00:01"
                                                             << "";
    QTest::newRow("month end on the until date") << 3 << "2026-01-31"
                                                 << "2026-04-30"
                                                 << "2026-03-31 08:00:01"
                                                 << "2026-04-30";
    QTest::newRow("until before the first date") << 1 << "2026-12-01"
                                                 << "2026-11-01" << never << "";
    QTest::newRow("no repeat") << 0 << "2026-12-01"
                               << "2027-12-01" << never << "";
    QTest::newRow("unknown repeat") << 5 << "2026-12-01"
                                    << "9999-12-31" << never << "";
    QTest::newRow("far until date, daily") << 1 << "2026-12-01"
                                           << "9999-12-31"
                                           << "2026-12-01 08:00:01"
                                           << "2026-12-02";
}

void TestReminderRules::nextOccurrence()
{
    QFETCH(int, every);
    QFETCH(QString, first);
    QFETCH(QString, until);
    QFETCH(QString, acknowledged);
    QFETCH(QString, expected);
    const QDate got =
        reminders::funNextOccurrence(QDate::fromString(first, "yyyy-MM-dd"), QDate::fromString(until, "yyyy-MM-dd"),
                                     every, QDateTime::fromString(acknowledged, "yyyy-MM-dd HH:mm:ss").date());
    QCOMPARE(got.toString("yyyy-MM-dd"), expected);
}

void TestReminderRules::repeatDates_data() { repeatdates::addTable(); }

// The check walks a month of occurrences as the user meets them: each one is
// due in turn, and acknowledging it (with what the check would write) brings
// up the next.
void TestReminderRules::repeatDates()
{
    QFETCH(int, type);
    QFETCH(QDate, first);
    QFETCH(QDate, until);
    QFETCH(QDate, month);
    QFETCH(repeatdates::Dates, dates);
    const QDateTime now(QDate(2100, 1, 1), QTime(0, 0));
    const QDate monthEnd = month.addMonths(1).addDays(-1);
    QDateTime acknowledged(month.addDays(-1), QTime(12, 0));
    repeatdates::Dates got;
    for (;;) {
        const DueCheck c =
            reminders::funRepeatingDue(first.toString(Qt::ISODate), "10:00:00", 0,
                                       until.isValid() ? QVariant(until.toString(Qt::ISODate)) : QVariant(), type,
                                       acknowledged.toString("yyyy-MM-dd HH:mm:ss"), now);
        QVERIFY(c.verdict != DueCheck::Bad);
        if (c.verdict == DueCheck::NotDue || c.acknowledgeValue.date() > monthEnd)
            break;
        QCOMPARE(c.acknowledgeValue.time(), QTime(10, 0, 1));
        got << c.acknowledgeValue.date();
        QVERIFY(got.size() <= 31);
        acknowledged = c.acknowledgeValue;
    }
    QCOMPARE(got, dates);
}

void TestReminderRules::singleDue_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QVariant>("lead");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("text"); // "" when not due

    QTest::newRow("reminder time equals now: due") << "2026-12-10"
                                                   << "09:30:00" << false << QVariant(30) << "2026-12-10 09:00:00"
                                                   << "9:30 am Thursday, December 10, 2026";
    QTest::newRow("a second before the reminder time: not due")
        << "2026-12-10"
        << "09:30:00" << false << QVariant(30) << "2026-12-10 08:59:59"
        << "";
    QTest::newRow("due within the due minute: not overdue")
        << "2026-12-10"
        << "09:00:00" << false << QVariant(0) << "2026-12-10 09:00:59"
        << "9:00 am Thursday, December 10, 2026";
    QTest::newRow("due minute passed: overdue") << "2026-12-10"
                                                << "09:00:00" << false << QVariant(0) << "2026-12-10 09:01:00"
                                                << "Overdue - 9:00 am Thursday, December 10, 2026";
    QTest::newRow("all day: no time") << "2026-12-10"
                                      << "14:15:00" << true << QVariant(1440) << "2026-12-09 15:00:00"
                                      << "Thursday, December 10, 2026";
    QTest::newRow("no time: due at midnight") << "2026-12-10"
                                              << "" << false << QVariant(0) << "2026-12-10 00:00:00"
                                              << "Thursday, December 10, 2026";
    QTest::newRow("no lead time stored: at its own time") << "2026-12-10"
                                                          << "12:00:00" << false << QVariant() << "2026-12-10 11:59:59"
                                                          << "";
    QTest::newRow("afternoon") << "2026-12-10"
                               << "12:05:00" << false << QVariant(10) << "2026-12-10 12:00:00"
                               << "12:05 pm Thursday, December 10, 2026";
    QTest::newRow("vaccination a week ahead") << "2026-12-17"
                                              << "" << true << QVariant(10080) << "2026-12-10 00:00:00"
                                              << "Thursday, December 17, 2026";
    QTest::newRow("vaccination long expired") << "2025-01-02"
                                              << "" << true << QVariant(10080) << "2026-12-10 00:00:00"
                                              << "Overdue - Thursday, January 2, 2025";
    QTest::newRow("lead as text") << "2026-12-10"
                                  << "09:30:00" << false << QVariant("30") << "2026-12-10 09:00:00"
                                  << "9:30 am Thursday, December 10, 2026";
}

void TestReminderRules::singleDue()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(bool, allDay);
    QFETCH(QVariant, lead);
    QFETCH(QString, now);
    QFETCH(QString, text);
    const QDateTime at = QDateTime::fromString(now, "yyyy-MM-dd HH:mm:ss");
    const DueCheck c =
        reminders::funSingleDue(date, time.isEmpty() ? QVariant() : QVariant(time), allDay ? -1 : 0, lead, at);
    QCOMPARE(c.verdict, text.isEmpty() ? DueCheck::NotDue : DueCheck::Due);
    QCOMPARE(c.dueText, text);
    if (!text.isEmpty())
        QCOMPARE(c.acknowledgeValue, at); // the moment of the check
}

void TestReminderRules::repeatingDue_data()
{
    QTest::addColumn<int>("every");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("lead");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("acknowledged");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("text");  // "" when not due
    QTest::addColumn<QString>("value"); // what acknowledging writes

    const char *never = "1900-01-01 00:00:00";
    QTest::newRow("reminder time equals now: not yet")
        << 1 << "2026-12-01"
        << "10:00:00" << 15 << "2027-12-01" << never << "2026-12-01 09:45:00"
        << ""
        << "";
    QTest::newRow("a second later: due") << 1 << "2026-12-01"
                                         << "10:00:00" << 15 << "2027-12-01" << never << "2026-12-01 09:45:01"
                                         << "10:00 am Tuesday, December 1, 2026"
                                         << "2026-12-01 10:00:01";
    QTest::newRow("daily after today's is acknowledged: tomorrow's not yet") << 1 << "2026-12-01"
                                                                             << "10:00:00" << 0 << "2027-12-01"
                                                                             << "2026-12-10 10:00:01"
                                                                             << "2026-12-10 18:00:00"
                                                                             << ""
                                                                             << "";
    QTest::newRow("daily: tomorrow's once its time has passed") << 1 << "2026-12-01"
                                                                << "10:00:00" << 0 << "2027-12-01"
                                                                << "2026-12-10 10:00:01"
                                                                << "2026-12-11 10:00:30"
                                                                << "10:00 am Friday, December 11, 2026"
                                                                << "2026-12-11 10:00:01";
    QTest::newRow("the earliest unacknowledged one, overdue")
        << 1 << "2026-12-01"
        << "10:00:00" << 0 << "2027-12-01" << never << "2026-12-10 08:00:00"
        << "Overdue - 10:00 am Tuesday, December 1, 2026"
        << "2026-12-01 10:00:01";
    QTest::newRow("no time: midnight, no time shown") << 2 << "2026-12-03"
                                                      << "" << 60 << "2027-12-01"
                                                      << "2026-12-03 00:00:01"
                                                      << "2026-12-09 23:30:00"
                                                      << "Thursday, December 10, 2026"
                                                      << "2026-12-10 00:00:01";
    QTest::newRow("monthly 31st falls on 30 April") << 3 << "2026-01-31"
                                                    << "09:00:00" << 0 << "2027-01-31"
                                                    << "2026-03-31 09:00:01"
                                                    << "2026-05-02 12:00:00"
                                                    << "Overdue - 9:00 am Thursday, April 30, 2026"
                                                    << "2026-04-30 09:00:01";
    QTest::newRow("yearly 29 February on the 28th") << 4 << "2024-02-29"
                                                    << "08:00:00" << 1440 << "2030-12-31"
                                                    << "2024-02-29 08:00:01"
                                                    << "2025-02-27 09:00:00"
                                                    << "8:00 am Friday, February 28, 2025"
                                                    << "2025-02-28 08:00:01";
    QTest::newRow("until passed: last one still listed") << 1 << "2026-12-01"
                                                         << "07:00:00" << 0 << "2026-12-03"
                                                         << "2026-12-02 07:00:01"
                                                         << "2027-06-01 12:00:00"
                                                         << "Overdue - 7:00 am Thursday, December 3, 2026"
                                                         << "2026-12-03 07:00:01";
    QTest::newRow("until passed and last one acknowledged: nothing") << 1 << "2026-12-01"
                                                                     << "07:00:00" << 0 << "2026-12-03"
                                                                     << "2026-12-03 07:00:01"
                                                                     << "2027-06-01 12:00:00"
                                                                     << ""
                                                                     << "";
    QTest::newRow("no until date: its own date only") << 1 << "2026-12-01"
                                                      << "07:00:00" << 0 << ""
                                                      << "2026-12-01 07:00:01"
                                                      << "2026-12-05 12:00:00"
                                                      << ""
                                                      << "";
}

void TestReminderRules::repeatingDue()
{
    QFETCH(int, every);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(int, lead);
    QFETCH(QString, until);
    QFETCH(QString, acknowledged);
    QFETCH(QString, now);
    QFETCH(QString, text);
    QFETCH(QString, value);
    const DueCheck c = reminders::funRepeatingDue(date, time.isEmpty() ? QVariant() : QVariant(time), lead,
                                                  until.isEmpty() ? QVariant() : QVariant(until), every, acknowledged,
                                                  QDateTime::fromString(now, "yyyy-MM-dd HH:mm:ss"));
    QCOMPARE(c.verdict, text.isEmpty() ? DueCheck::NotDue : DueCheck::Due);
    QCOMPARE(c.dueText, text);
    QCOMPARE(c.acknowledgeValue.toString("yyyy-MM-dd HH:mm:ss"), value);
}

void TestReminderRules::badRows_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("lead");
    QTest::addColumn<QString>("until");
    QTest::addColumn<bool>("bad");

    QTest::newRow("no date") << ""
                             << "09:00:00"
                             << "0"
                             << "2027-01-01" << true;
    QTest::newRow("date that is no date") << "next week"
                                          << "09:00:00"
                                          << "0"
                                          << "2027-01-01" << true;
    QTest::newRow("time that is no time") << "2026-12-01"
                                          << "nine"
                                          << "0"
                                          << "2027-01-01" << true;
    QTest::newRow("lead that is no number") << "2026-12-01"
                                            << "09:00:00"
                                            << "soon"
                                            << "2027-01-01" << true;
    QTest::newRow("until that is no date") << "2026-12-01"
                                           << "09:00:00"
                                           << "0"
                                           << "never" << true;
    QTest::newRow("time with a date in front") << "2026-12-01"
                                               << "1899-12-30 09:00:00"
                                               << "0"
                                               << "2027-01-01" << false;
    QTest::newRow("no lead") << "2026-12-01"
                             << "09:00:00"
                             << ""
                             << "2027-01-01" << false;
}

void TestReminderRules::badRows()
{
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, lead);
    QFETCH(QString, until);
    QFETCH(bool, bad);
    const QDateTime now = dt("2026-12-10 12:00:00");
    auto val = [](const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); };
    const DueCheck r = reminders::funRepeatingDue(val(date), val(time), val(lead), val(until), 1,
                                                  QVariant("1900-01-01 00:00:00"), now);
    QCOMPARE(r.verdict == DueCheck::Bad, bad);
    if (until != "never") {
        const DueCheck s = reminders::funSingleDue(val(date), val(time), 0, val(lead), now);
        QCOMPARE(s.verdict == DueCheck::Bad, bad);
        if (!bad)
            QCOMPARE(s.dueText, QString("Overdue - 9:00 am Tuesday, December 1, 2026"));
    }
}

void TestReminderRules::dueTextFormats()
{
    const QDateTime now = dt("2026-12-10 12:00:00");
    QCOMPARE(reminders::funDueText(d("2026-12-10"), QTime(0, 0), true, now),
             QString("Overdue - 12:00 am Thursday, December 10, 2026"));
    QCOMPARE(reminders::funDueText(d("2026-12-10"), QTime(12, 0), true, now),
             QString("12:00 pm Thursday, December 10, 2026"));
    QCOMPARE(reminders::funDueText(d("2026-12-10"), QTime(23, 59), false, now), QString("Thursday, December 10, 2026"));
    QCOMPARE(reminders::funDueText(d("2026-12-10"), QTime(), true, now),
             QString("Overdue - Thursday, December 10, 2026"));
    QCOMPARE(reminders::funDueText(d("2026-12-11"), QTime(), true, now), QString("Friday, December 11, 2026"));
    QVERIFY(!reminders::funIsOverdue(dt("2026-12-10 12:00:00"), dt("2026-12-10 12:00:59")));
    QVERIFY(reminders::funIsOverdue(dt("2026-12-10 12:00:59"), dt("2026-12-10 12:01:00")));
    QVERIFY(!reminders::funIsOverdue(dt("2026-12-10 12:05:00"), now));
}

ZORBI_TEST_MAIN(TestReminderRules)
#include "tst_reminder_rules.moc"
