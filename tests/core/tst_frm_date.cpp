// The date chooser: what it shows for the caller's value, and what each way of
// leaving it answers.

#include "platform/dates.h"
#include "core/frm_date.h"
#include "core/globals.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/date_picker.h"
#include "test_support.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {
const QDate kToday(2024, 3, 15);
}

class TestFrmDate : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        resetGlobals();
        zbclock::setNow(QDateTime(kToday, QTime(9, 30)));
    }
    void cleanup()
    {
        zbclock::reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void answers_data();
    void answers();
    void aStaleOkIsNeverTaken();
    void shownModallyOverItsCaller();
    void weeksStartOnTheCalendarsDay_data();
    void weeksStartOnTheCalendarsDay();
};

void TestFrmDate::answers_data()
{
    QTest::addColumn<QVariant>("incoming");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QDate>("shown");
    QTest::addColumn<std::optional<QDate>>("outgoing");

    const QDate day(2021, 5, 6);
    const QDate stored(2019, 7, 4);
    const std::optional<QDate> none;
    QTest::newRow("empty, click") << QVariant(QString()) << "click" << kToday << std::optional(day);
    QTest::newRow("null, click") << QVariant() << "click" << kToday << std::optional(day);
    QTest::newRow("not a date, Esc") << QVariant(QStringLiteral("abc")) << "esc" << kToday << none;
    QTest::newRow("the empty date, Cancel") << QVariant(QDate(1900, 1, 1)) << "cancel" << kToday << none;
    QTest::newRow("stored text, click") << QVariant(QStringLiteral("2019-07-04")) << "click" << stored
                                        << std::optional(day);
    QTest::newRow("typed text, close box") << QVariant(QStringLiteral(" 7/4/2019 ")) << "close" << stored << none;
    QTest::newRow("a date with a time, click")
        << QVariant(QDateTime(stored, QTime(13, 5))) << "click" << stored << std::optional(day);
    QTest::newRow("a date, Enter") << QVariant(stored) << "enter" << stored << std::optional(stored);
}

void TestFrmDate::answers()
{
    QFETCH(QVariant, incoming);
    QFETCH(QString, action);
    QFETCH(QDate, shown);
    QFETCH(std::optional<QDate>, outgoing);

    frm_date w(nullptr, QStringLiteral("Select date"), incoming);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral("Select date"));
    QCOMPARE(w.MonthView1->toolTip(), QStringLiteral("Click on date to select, or hit ESC to cancel..."));
    QCOMPARE(w.MonthView1->selectedDate(), shown);
    QCOMPARE(w.MonthView1->monthShown(), shown.month());

    if (action == "click")
        emit w.MonthView1->clicked(QDate(2021, 5, 6));
    else if (action == "enter")
        QTest::keyClick(w.MonthView1->findChild<QTableView *>(), Qt::Key_Return);
    else if (action == "esc")
        QTest::keyClick(&w, Qt::Key_Escape);
    else if (action == "cancel")
        w.cmdCancel->click();
    else
        w.close();

    QVERIFY(!w.isVisible());
    QCOMPARE(w.chosen(), outgoing);
    QCOMPARE(w.result(), int(outgoing ? QDialog::Accepted : QDialog::Rejected));
}

void TestFrmDate::aStaleOkIsNeverTaken()
{
    // A day clicked, and then the close box: the close is the answer.
    frm_date w(nullptr, QStringLiteral("Select date"), QStringLiteral("2019-07-04"));
    w.show();
    emit w.MonthView1->clicked(QDate(2020, 2, 2));
    QCOMPARE(w.chosen(), std::optional(QDate(2020, 2, 2)));
    w.show();
    w.close();
    QCOMPARE(w.chosen(), std::nullopt);
}

void TestFrmDate::shownModallyOverItsCaller()
{
    QWidget caller;
    caller.show();
    QString title;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto *w = qobject_cast<frm_date *>(QApplication::activeModalWidget());
        QVERIFY(w);
        title = w->windowTitle();
        parent = w->parentWidget();
        emit w->MonthView1->clicked(QDate(2022, 12, 25));
    });
    QCOMPARE(funShowDateChooser(&caller, QStringLiteral("Select pet birthday"), QDate(2022, 12, 24)),
             std::optional(QDate(2022, 12, 25)));
    QCOMPARE(title, QStringLiteral("Select pet birthday"));
    QCOMPARE(parent, &caller);
}

void TestFrmDate::weeksStartOnTheCalendarsDay_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("US, Sunday first") << "en_US";
    QTest::newRow("C, Monday first") << "C";
    QTest::newRow("German, Monday first") << "de_DE";
    QTest::newRow("Egyptian, Saturday first") << "ar_EG";
}

// The chooser, a date field's pop-up and the main calendar show the weeks alike.
void TestFrmDate::weeksStartOnTheCalendarsDay()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    CtCalendar calendar;
    calendar.setDate(funDateToDayNumber(QDate(2024, 3, 15)));
    QCOMPARE(funDayNumberToDate(calendar.DateStart()).dayOfWeek(), int(CtCalendar::kWeekStart));
    frm_date chooser;
    QCOMPARE(chooser.MonthView1->firstDayOfWeek(), CtCalendar::kWeekStart);
    DatePicker picker;
    QCOMPARE(picker.calendarWidget()->firstDayOfWeek(), CtCalendar::kWeekStart);
}

ZORBI_TEST_MAIN(TestFrmDate)
#include "tst_frm_date.moc"
