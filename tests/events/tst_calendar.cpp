// The month calendar: its grid, the fill from both saved queries, the settings,
// the colours, printing, and the toolbar, on the running main window.

#include "platform/dates.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/settings.h"
#include "events/calendar_handler.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/db/database.h"
#include "repeat_dates.h"
#include "data_rows.h"
#include "test_support.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QPrinter>
#include <QToolButton>

using calendar_handler::kDarkRed;
using calendar_handler::kGrey;
using calendar_handler::kTodayColor;
using testsupport::ProgramFolder;

using testsupport::insert;
namespace {

long addEvent(const QVariant &name, const QString &date, const QVariant &time = {})
{
    return insert("INSERT INTO tbl_event (event_name, event_date, event_time) VALUES (?, ?, ?)",
                  {name, date.isEmpty() ? QVariant() : QVariant(date), time});
}

long addRepeating(const QString &name, const QString &date, int unit, const QString &until, const QVariant &time = {})
{
    return insert("INSERT INTO tbl_event (event_name, event_date, event_time, event_end_date,"
                  " event_type_repeating, event_repeat_every) VALUES (?, ?, ?, ?, -1, ?)",
                  {name, date, time, until.isEmpty() ? QVariant() : QVariant(until), unit});
}

long addPet(const QString &name, const QString &dob, int species = 2)
{
    return insert("INSERT INTO tbl_pet (pet_name, pet_dob, pet_species_id) VALUES (?, ?, ?)", {name, dob, species});
}

void addDiary(long pet, const QString &date, const QString &text)
{
    insert("INSERT INTO tbl_diary (diary_pet_id, diary_date, diary_text) VALUES (?, ?, ?)",
           {qlonglong(pet), date, text});
}

void addVaccine(long pet, const QString &name, const QString &received, const QString &expires)
{
    insert("INSERT INTO tbl_vaccine (vaccine_pet_id, vaccine_name, vaccine_received_date, vaccine_expiration_date)"
           " VALUES (?, ?, ?, ?)",
           {qlonglong(pet), name, received, expires});
}

void setShowAll(bool on)
{
    for (const char *key : {"Cal_Show_DOB", "Cal_Show_Diary", "Cal_Show_Vac_Rec", "Cal_Show_Vac_Exp"})
        funPref_Set(QLatin1String(key), on ? 1 : 0);
}

CtCalendar *cal() { return gMain->ctCalendar1; }
int dn(const QDate &d) { return funDateToDayNumber(d); }

void show(const QDate &d) { funCalendarHandler(gMain, ActionShow, d); }

// The days (as ISO dates) on which gCalendarItems holds an item of that name.
QStringList daysOf(const QString &name)
{
    QStringList days;
    for (size_t i = 0; i < gCalendarItems.size(); ++i)
        if (gCalendarItems[i].name == name)
            days << funDayNumberToDate(gCalendarItems[i].day).toString(Qt::ISODate);
    return days;
}

QStringList lines(const QDate &d) { return {cal()->DateText(dn(d)), cal()->DateText2(dn(d)), cal()->DateText3(dn(d))}; }

} // namespace

class TestCalendar : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void gridOfEachWeekday_data();
    void gridOfEachWeekday();
    void repeatingItems_data();
    void repeatingItems();
    void repeatDates_data();
    void repeatDates();
    void threeLinesThenMore();
    void blankNamesLeaveTheLineFree();
    void settingsHideItems_data();
    void settingsHideItems();
    void singleItemsAsTheStoredViewHoldsThem_data();
    void singleItemsAsTheStoredViewHoldsThem();
    void itemsCarryTheirRecords();
    void coloursFollowTheMonth();
    void badRowsAreSkipped();
    void datesAreBoundWhateverTheLanguage();
    void userMovesAfterAShowWithinTheMonth();
    void printsTheMonth();
    void failedPrintLeavesThePrinterUsable();
    void otherCodesAreRefused();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestCalendar::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    zbclock::setNow(QDateTime(QDate(2003, 4, 16), QTime(10, 0)));
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB);
    setShowAll(true);
}

void TestCalendar::cleanup()
{
    resetSubjectRoutines();
    m_pf.reset();
    zbclock::reset();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestCalendar::gridOfEachWeekday_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("title");
    QTest::newRow("Sunday") << QDate(2015, 2, 10) << QDate(2015, 2, 1) << " Calendar - February 2015";
    QTest::newRow("Monday") << QDate(2026, 6, 30) << QDate(2026, 5, 31) << " Calendar - June 2026";
    QTest::newRow("Tuesday") << QDate(2026, 9, 1) << QDate(2026, 8, 30) << " Calendar - September 2026";
    QTest::newRow("Wednesday") << QDate(2026, 4, 15) << QDate(2026, 3, 29) << " Calendar - April 2026";
    QTest::newRow("Thursday") << QDate(2026, 1, 31) << QDate(2025, 12, 28) << " Calendar - January 2026";
    QTest::newRow("Friday") << QDate(2026, 5, 8) << QDate(2026, 4, 26) << " Calendar - May 2026";
    QTest::newRow("Saturday") << QDate(2003, 3, 20) << QDate(2003, 2, 23) << " Calendar - March 2003";
}

void TestCalendar::gridOfEachWeekday()
{
    QFETCH(QDate, date);
    QFETCH(QDate, start);
    QFETCH(QString, title);
    gMain->showView(2);
    QCOMPARE(funCalendarHandler(gMain, ActionShow, QDateTime(date, QTime(13, 0))), false);
    QCOMPARE(cal()->DateStart(), dn(start));
    QCOMPARE(cal()->DateEnd(), dn(start) + 41);
    QCOMPARE(cal()->Date(), dn(date));
    QCOMPARE(gMain->lblMain[3]->text(), title);
    QCOMPARE(gCurrentView, 6);
    QCOMPARE(gMain->shownView(), 6);
    QCOMPARE(cal()->PrintTitle(), QString("Zorbi Calendar"));
    QCOMPARE(cal()->PrintSubTitle(), title.mid(12));
    // The calendar's toolbar: Print and the moves shown, the list commands hidden.
    CtToolBar *bar = gMain->ctToolbar_MainToolbar;
    const MainToolItems &t = gMain->toolItems;
    for (int id : {t.sepPrint, t.print, t.sepCalendar, t.lastYear, t.lastMonth, t.today, t.nextMonth, t.nextYear})
        QVERIFY2(bar->itemVisible(id), qPrintable(bar->itemText(id)));
    for (int id : {t.sepDelete, t.del, t.sepViews, t.largeIcons, t.mediumIcons, t.details})
        QVERIFY2(!bar->itemVisible(id), qPrintable(bar->itemText(id)));
    QVERIFY(bar->itemEnabled(t.print));
}

void TestCalendar::repeatingItems_data()
{
    QTest::addColumn<QDate>("month");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("days");
    // April 2003: the grid runs from Sunday 30 March to Saturday 10 May.
    const QDate april(2003, 4, 1);
    QTest::newRow("weekly into the grey days")
        << april << "Tuesday class"
        << QStringList{"2003-04-01", "2003-04-08", "2003-04-15", "2003-04-22", "2003-04-29", "2003-05-06"};
    QTest::newRow("monthly 31st, grey 31 March and 30 April")
        << april << "Rent" << QStringList{"2003-03-31", "2003-04-30"};
    QTest::newRow("monthly 31st in February 2003")
        << QDate(2003, 2, 1) << "Rent" << QStringList{"2003-01-31", "2003-02-28"};
    // A month's last day in the grey part stands in for no day: only the shown month's does.
    QTest::newRow("monthly 31st, not on the grey 30 April of May")
        << QDate(2003, 5, 1) << "Rent" << QStringList{"2003-05-31"};
    QTest::newRow("monthly 31st, not on the grey 28 February of March")
        << QDate(2003, 3, 1) << "Rent" << QStringList{"2003-03-31"};
    QTest::newRow("monthly 31st in February 2004") << QDate(2004, 2, 1) << "Rent" << QStringList{"2004-02-29"};
    QTest::newRow("monthly 29th in February 2003")
        << QDate(2003, 2, 1) << "Groom" << QStringList{"2003-01-29", "2003-02-28"};
    QTest::newRow("monthly 30th in February 2003")
        << QDate(2003, 2, 1) << "Trim" << QStringList{"2003-01-30", "2003-02-28"};
    QTest::newRow("yearly 29 Feb in 2003") << QDate(2003, 2, 1) << "Leap day" << QStringList{"2003-02-28"};
    QTest::newRow("yearly 29 Feb in 2004") << QDate(2004, 2, 1) << "Leap day" << QStringList{"2004-02-29"};
    QTest::newRow("daily within its span")
        << april << "Course" << QStringList{"2003-04-10", "2003-04-11", "2003-04-12"};
    QTest::newRow("no end date: its own date only") << april << "Once" << QStringList{"2003-04-03"};
    QTest::newRow("ended before the grid") << april << "Old" << QStringList{};
    QTest::newRow("birthday, each year") << april << "Rex's birthday" << QStringList{"2003-04-20"};
    QTest::newRow("not before its first day") << QDate(2002, 12, 1) << "Rent" << QStringList{};
}

void TestCalendar::repeatingItems()
{
    QFETCH(QDate, month);
    QFETCH(QString, name);
    QFETCH(QStringList, days);
    addRepeating("Tuesday class", "2003-03-04", 2, "2003-05-31");
    addRepeating("Rent", "2003-01-31", 3, "2004-12-31");
    addRepeating("Groom", "2003-01-29", 3, "2004-12-31");
    addRepeating("Trim", "2003-01-30", 3, "2004-12-31");
    addRepeating("Leap day", "2000-02-29", 4, "2010-12-31");
    addRepeating("Course", "2003-04-10", 1, "2003-04-12");
    addRepeating("Once", "2003-04-03", 1, QString());
    addRepeating("Old", "2003-01-01", 1, "2003-03-29");
    addPet("Rex", "1999-04-20");
    show(month);
    QCOMPARE(daysOf(name), days);
    // Every one of them is written on its day (unless the day is full), and a
    // repeating item is drawn in the normal colour.
    for (const QString &d : days) {
        const QDate day = QDate::fromString(d, Qt::ISODate);
        QVERIFY2(lines(day).contains(name) || lines(day).last() == "More events...", qPrintable(d));
        if (day.month() == month.month())
            QVERIFY(!cal()->DateTextColor(dn(day)).isValid());
    }
}

void TestCalendar::repeatDates_data() { repeatdates::addTable(); }

// The days of the shown month that hold the item (the grey days around it are
// left to repeatingItems).
void TestCalendar::repeatDates()
{
    QFETCH(int, type);
    QFETCH(QDate, first);
    QFETCH(QDate, until);
    QFETCH(QDate, month);
    QFETCH(repeatdates::Dates, dates);
    addRepeating("Rule", first.toString(Qt::ISODate), type, until.isValid() ? until.toString(Qt::ISODate) : QString());
    show(month);
    repeatdates::Dates got;
    for (const QString &d : daysOf("Rule")) {
        const QDate day = QDate::fromString(d, Qt::ISODate);
        if (day.month() == month.month())
            got << day;
    }
    QCOMPARE(got, dates);
}

void TestCalendar::threeLinesThenMore()
{
    setShowAll(false);
    for (const char *name : {"B", "A", "C"})
        addEvent(name, "2003-04-07", "09:00:00");
    addEvent("Early", "2003-04-08", "08:05:00");
    addEvent("Noon", "2003-04-08", "12:00:00");
    addEvent("All day", "2003-04-08");
    addEvent("Late", "2003-04-08", "23:59:00");
    show(QDate(2003, 4, 1));
    // Exactly three: all three, in the order of the query (time, then as added).
    QCOMPARE(lines(QDate(2003, 4, 7)), (QStringList{"9:00 am B", "9:00 am A", "9:00 am C"}));
    // Four: two lines and "More events..." in dark red; the list keeps all four.
    const int day = dn(QDate(2003, 4, 8));
    QCOMPARE(lines(QDate(2003, 4, 8)), (QStringList{"All day", "8:05 am Early", "More events..."}));
    QCOMPARE(cal()->DateTextColor3(day), kDarkRed);
    QVERIFY(!cal()->DateTextColor(day).isValid());
    QCOMPARE(daysOf("Late"), QStringList{"2003-04-08"});
    QCOMPARE(daysOf("Noon"), QStringList{"2003-04-08"});
    // A repeating item on a full day changes nothing more.
    addRepeating("Walk", "2003-04-08", 1, "2003-04-08");
    funCalendarHandler(gMain, ActionRefresh, QVariant());
    QCOMPARE(lines(QDate(2003, 4, 8)).last(), QString("More events..."));
    QCOMPARE(daysOf("Walk"), QStringList{"2003-04-08"});
}

// The lines are counted as the fill writes them: a name of blanks takes no
// line, and a third line that already reads "More events..." ends the day.
void TestCalendar::blankNamesLeaveTheLineFree()
{
    setShowAll(false);
    addEvent("   ", "2003-04-07");
    for (const char *name : {"A", "B", "C"})
        addEvent(name, "2003-04-07");
    for (const char *name : {"A", "B", "More events...", "D"})
        addEvent(name, "2003-04-09");
    show(QDate(2003, 4, 1));
    QCOMPARE(lines(QDate(2003, 4, 7)), (QStringList{"A", "B", "C"}));
    QCOMPARE(lines(QDate(2003, 4, 9)), (QStringList{"A", "B", "More events..."}));
    QVERIFY(!cal()->DateTextColor3(dn(QDate(2003, 4, 9))).isValid());
    QCOMPARE(daysOf("D"), QStringList{"2003-04-09"});
}

void TestCalendar::settingsHideItems_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("hidden");
    QTest::newRow("birthdays") << "Cal_Show_DOB"
                               << "Rex's birthday";
    QTest::newRow("diary") << "Cal_Show_Diary"
                           << "Rex: Long walk";
    QTest::newRow("received") << "Cal_Show_Vac_Rec"
                              << "Rex: Rabies received";
    QTest::newRow("expiring") << "Cal_Show_Vac_Exp"
                              << "Rex: Rabies expires";
    QTest::newRow("all off") << ""
                             << "";
}

void TestCalendar::settingsHideItems()
{
    QFETCH(QString, setting);
    QFETCH(QString, hidden);
    const long rex = addPet("Rex", "2000-04-20");
    addDiary(rex, "2003-04-05", "Long walk");
    addVaccine(rex, "Rabies", "2003-04-09", "2003-04-23");
    addEvent("Vet", "2003-04-14", "10:30:00");
    addRepeating("Class", "2003-04-02", 2, "2003-04-02");
    const QStringList all{"Rex's birthday", "Rex: Long walk", "Rex: Rabies received", "Rex: Rabies expires"};
    if (setting.isEmpty())
        setShowAll(false);
    else
        funPref_Set(setting, 0);
    show(QDate(2003, 4, 1));
    for (const QString &name : all) {
        const bool shown = !setting.isEmpty() && name != hidden;
        QCOMPARE(daysOf(name).size(), shown ? 1 : 0);
    }
    // Events always show.
    QCOMPARE(daysOf("Vet"), QStringList{"2003-04-14"});
    QCOMPARE(daysOf("Class"), QStringList{"2003-04-02"});
    // An expiring vaccination is dark red, a received one in the normal colour.
    if (setting.isEmpty() || setting == "Cal_Show_Vac_Exp")
        return;
    QCOMPARE(cal()->DateTextColor(dn(QDate(2003, 4, 23))), kDarkRed);
    if (setting != "Cal_Show_Vac_Rec")
        QVERIFY(!cal()->DateTextColor(dn(QDate(2003, 4, 9))).isValid());
}

void TestCalendar::singleItemsAsTheStoredViewHoldsThem_data()
{
    QTest::addColumn<int>("shown"); // bits: diary, received, expiring
    for (int bits = 0; bits < 8; ++bits)
        QTest::addRow("kinds %d", bits) << bits;
}

// The fill asks each kind of the tables itself; what it reads must be what
// the data file's view holds for the same settings and days.
void TestCalendar::singleItemsAsTheStoredViewHoldsThem()
{
    QFETCH(int, shown);
    const long rex = addPet("Rex", "2000-04-20", 3);
    const long unnamed = addPet("", "2001-01-01");
    addDiary(rex, "2003-04-05", "Long walk");
    addDiary(unnamed, "2003-04-06", "");
    addDiary(rex, "2003-05-10", "Last grid day");
    addDiary(rex, "2003-05-11", "After the grid");
    addVaccine(rex, "Rabies", "2003-04-09", "2003-04-23");
    addVaccine(unnamed, "", "2003-03-30", "2004-03-30");
    addEvent("Vet", "2003-04-14", "10:30:00");
    addEvent(QVariant(), "2003-03-30");
    addEvent("Before the grid", "2003-03-29");
    addRepeating("Class", "2003-04-02", 2, "2003-04-30");

    calendar_handler::CalendarSettings s;
    s.diary = shown & 1;
    s.vaccinesReceived = shown & 2;
    s.vaccinesExpiring = shown & 4;
    s.birthdays = true;
    const QDate start(2003, 3, 30), end(2003, 5, 10);
    auto rowsOf = [](const QString &sql, const QVariantList &params) {
        QStringList rows;
        const bool ok = gDataDB->forEachRow(sql, params, [&rows](const QStringList &, const QVariantList &r) {
            QStringList values;
            for (const QVariant &v : r)
                values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            rows << values.join(QLatin1Char('|'));
        });
        if (!ok)
            rows << QStringLiteral("failed: ") + gDataDB->lastError().description;
        rows.sort();
        return rows;
    };
    QString viewSql = "SELECT * FROM qry_calendar_single WHERE event_date >= ? AND event_date < ?";
    if (!s.diary)
        viewSql += " AND NOT (object_id = 9 AND misc_data = 0)";
    if (!s.vaccinesReceived)
        viewSql += " AND NOT (object_id = 6 AND misc_data = 2)";
    if (!s.vaccinesExpiring)
        viewSql += " AND NOT (object_id = 6 AND misc_data = 1)";
    const QStringList fromView = rowsOf(viewSql, {"2003-03-30", "2003-05-11"});
    const calendar_handler::CalendarQuery q = calendar_handler::singleItemsQuery(s, start, end);
    QCOMPARE(rowsOf(q.sql, q.params), fromView);
    QCOMPARE(fromView.size(), 2 + (s.diary ? 3 : 0) + (s.vaccinesReceived ? 2 : 0) + (s.vaccinesExpiring ? 1 : 0));
}

void TestCalendar::itemsCarryTheirRecords()
{
    const long rex = addPet("Rex", "2000-04-20", 3);
    addDiary(rex, "2003-04-05", "Long walk\nthen a nap");
    addVaccine(rex, "Rabies", "2003-04-09", "2003-04-23");
    const long vet = addEvent("Vet\r\nbring papers", "2003-04-14", "00:15:00");
    const long unnamed = addEvent(QVariant(), "2003-04-15", "12:30:00");
    const long walk = addRepeating("Walk", "2003-04-02", 2, "2003-04-30", "18:00:00");
    show(QDate(2003, 4, 1));

    struct Expected {
        QString name;
        int kind;
        long id;
        int species;
        QString due;
        QVariant time;
    };
    const std::vector<Expected> expected{
        {"Rex: Rabies expires", 6, rex, 3, "April 23, 2003", QVariant()},
        {"Rex: Rabies received", 6, rex, 3, "April 9, 2003", QVariant()},
        {"Vet bring papers", 8, vet, 0, "12:15 am April 14, 2003", "00:15:00"},
        {"None", 8, unnamed, 0, "12:30 pm April 15, 2003", "12:30:00"},
        {"Rex: Long walk then a nap", 9, rex, 3, "April 5, 2003", QVariant()},
        {"Walk", 8, walk, 0, "6:00 pm April 2, 2003", "18:00:00"},
        {"Walk", 8, walk, 0, "6:00 pm April 9, 2003", "18:00:00"},
        {"Walk", 8, walk, 0, "6:00 pm April 16, 2003", "18:00:00"},
        {"Rex's birthday", 1, rex, 0, "April 20, 2003", QVariant()},
    };
    // Single items first, in the query's order (kind, then date), then the
    // repeating ones day by day.
    QCOMPARE(gCalendarItems.size(), size_t(5 + 5 + 1));
    for (size_t i = 0; i < expected.size(); ++i) {
        const CalendarItem &item = gCalendarItems[i];
        QCOMPARE(item.name, expected[i].name);
        QCOMPARE(item.kind, expected[i].kind);
        QCOMPARE(qlonglong(item.recordID), qlonglong(expected[i].id));
        QCOMPARE(item.species, expected[i].species);
        QCOMPARE(item.due, expected[i].due);
        QCOMPARE(item.time.isNull(), expected[i].time.isNull());
        if (!expected[i].time.isNull())
            QCOMPARE(item.time, expected[i].time.toString());
    }
    // The day's line is the time and the name on one line.
    QCOMPARE(cal()->DateText(dn(QDate(2003, 4, 14))), QString("12:15 am Vet bring papers"));
    // The main window's tip for a day is built from the same items.
    QCOMPARE(frm_main::dayTipText(dn(QDate(2003, 4, 5))), QString("Rex: Long walk then a nap - April 5, 2003"));
}

void TestCalendar::coloursFollowTheMonth()
{
    const long rex = addPet("Rex", "2000-04-20");
    addVaccine(rex, "Rabies", "2003-02-01", "2003-03-31");
    addEvent("Vet", "2003-05-02");
    // March 2003: the grid runs from 23 February to 5 April; today (16 April) is not on it.
    show(QDate(2003, 3, 1));
    const int mar31 = dn(QDate(2003, 3, 31)), apr16 = dn(QDate(2003, 4, 16));
    QCOMPARE(cal()->DateTextColor(mar31), kDarkRed);
    QVERIFY(!cal()->DayNumberColor(mar31).isValid());
    QCOMPARE(cal()->DayNumberColor(dn(QDate(2003, 2, 23))), kGrey);
    QCOMPARE(cal()->DayNumberColor(dn(QDate(2003, 4, 5))), kGrey);

    // April: 31 March is grey now, in number and lines, and today is marked.
    show(QDate(2003, 4, 1));
    QCOMPARE(cal()->DayNumberColor(mar31), kGrey);
    QCOMPARE(cal()->DateTextColor(mar31), kGrey);
    QCOMPARE(cal()->DayBackColor(apr16), kTodayColor);
    QVERIFY(!cal()->DayNumberColor(dn(QDate(2003, 4, 1))).isValid());

    // Back to March: nothing of April's colours stays behind.
    show(QDate(2003, 3, 1));
    QCOMPARE(cal()->DateTextColor(mar31), kDarkRed);
    QVERIFY(!cal()->DayNumberColor(mar31).isValid());
    QVERIFY(!cal()->DayNumberColor(dn(QDate(2003, 3, 30))).isValid());
    QCOMPARE(cal()->DayNumberColor(dn(QDate(2003, 4, 1))), kGrey);

    // A refresh of the same month after the vaccination went drops its red.
    gDataDB->execute("DELETE FROM tbl_vaccine");
    funCalendarHandler(gMain, ActionRefresh, QVariant());
    QVERIFY(cal()->DateText(mar31).isEmpty());
    QVERIFY(!cal()->DateTextColor(mar31).isValid());

    // Today is marked also among the grey days: 2 May on April's grid.
    zbclock::setNow(QDateTime(QDate(2003, 5, 2), QTime(9, 0)));
    show(QDate(2003, 4, 1));
    const int may2 = dn(QDate(2003, 5, 2));
    QCOMPARE(cal()->DayBackColor(may2), kTodayColor);
    QCOMPARE(cal()->DayNumberColor(may2), kGrey);
    QCOMPARE(cal()->DateTextColor(may2), kGrey);
    QVERIFY(!cal()->DayBackColor(apr16).isValid());
}

void TestCalendar::badRowsAreSkipped()
{
    // Rows the program itself never writes: the file's own checks are set
    // aside to put them there, as an older or foreign writer might have.
    QVERIFY(gDataDB->execute("PRAGMA ignore_check_constraints = 1"));
    addEvent("No date", QString(), "10:00:00");
    addEvent("Dated by a date-time", "2003-04-05 13:00:00");
    addEvent("Last grid day at noon", "2003-05-10 12:00:00");
    addEvent("Time with a date", "2003-04-06", "2003-04-06 10:00:00");
    addEvent("Not a date", "someday");
    addEvent("Good", "2003-04-07", "10:00:00");
    insert("INSERT INTO tbl_event (event_name, event_date, event_type_repeating, event_repeat_every, event_end_date)"
           " VALUES ('Repeats without a date', NULL, -1, 1, '2003-12-31')",
           {});
    insert("INSERT INTO tbl_event (event_name, event_date, event_type_repeating, event_repeat_every, event_end_date)"
           " VALUES ('Unknown unit', '2003-04-01', -1, 9, '2003-12-31')",
           {});
    addRepeating("Good weekly", "2003-04-02", 2, "2003-04-30");
    show(QDate(2003, 4, 1));
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 0);
    QCOMPARE(daysOf("Good"), QStringList{"2003-04-07"});
    QCOMPARE(daysOf("Good weekly").size(), 5);
    // A date with a time of day is its own date's day, never the next one.
    QCOMPARE(daysOf("Dated by a date-time"), QStringList{"2003-04-05"});
    QCOMPARE(daysOf("Last grid day at noon"), QStringList{"2003-05-10"});
    for (const char *name : {"No date", "Time with a date", "Not a date", "Repeats without a date", "Unknown unit"})
        QVERIFY2(daysOf(name).isEmpty(), name);
}

void TestCalendar::datesAreBoundWhateverTheLanguage()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    addEvent("Tierarzt", "2003-04-14");
    addRepeating("Kurs", "2003-04-01", 2, "2003-04-30");
    show(QDate(2003, 4, 1));
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 0);
    QCOMPARE(daysOf("Tierarzt"), QStringList{"2003-04-14"});
    QCOMPARE(daysOf("Kurs").size(), 5);
}

void TestCalendar::userMovesAfterAShowWithinTheMonth()
{
    // Start-up showed today's month, where the calendar already stood; the
    // user's first move to the next month still fills that month.
    addEvent("May event", "2003-05-20");
    show(QDate(2003, 4, 1));
    show(QDate(2003, 4, 20));
    QVERIFY(!gCalendarShown);
    auto *next = cal()->findChild<QToolButton *>("ctCalendarNextMonth");
    QVERIFY(next);
    next->click();
    QCOMPARE(cal()->Month(), 5);
    QCOMPARE(daysOf("May event"), QStringList{"2003-05-20"});
    QCOMPARE(gMain->lblMain[3]->text(), QString(" Calendar - May 2003"));
    // The toolbar's moves go through the same set-up.
    gMain->ctToolbar_MainToolbar_ItemClick(gMain->toolItems.lastMonth);
    QCOMPARE(cal()->Month(), 4);
    QVERIFY(daysOf("May event").isEmpty());
}

void TestCalendar::printsTheMonth()
{
    addEvent("Vet", "2003-04-14", "10:30:00");
    show(QDate(2003, 4, 1));
    const QString pdf = m_pf->file("month.pdf");
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(pdf);
    funProgramPrinter().setPageOrientation(QPageLayout::Portrait);
    QCOMPARE(funCalendarHandler(gMain, ActionPrint, QVariant()), false);
    QCOMPARE(cal()->PrintTitle(), QString("Zorbi 2003 Calendar"));
    QCOMPARE(cal()->PrintSubTitle(), QString("April 2003"));
    QVERIFY(QFileInfo(pdf).size() > 1000);
    // The month went across the page, and the printer is back as it was.
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral(R"(/MediaBox \[\s*0 0 ([\d.]+) ([\d.]+)\s*\])"))
            .match(QString::fromLatin1(file.readAll()));
    QVERIFY(box.hasMatch());
    QVERIFY2(box.captured(1).toDouble() > box.captured(2).toDouble(), qPrintable(box.captured(0)));
    QCOMPARE(funProgramPrinter().pageLayout().orientation(), QPageLayout::Portrait);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 0);
}

void TestCalendar::failedPrintLeavesThePrinterUsable()
{
    show(QDate(2003, 4, 1));
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(QString()); // nowhere to print
    QCOMPARE(funCalendarHandler(gMain, ActionPrint, QVariant()), false);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
    // Print Setup's Print to File takes, and the month prints there.
    const QString pdf = m_pf->file("month.pdf");
    m_pf->dialogs().queue(pdf);
    gMain->ctToolBar_MainMenuBar_ItemClick(gMain->menuItems.printSetup);
    QCOMPARE(funCalendarHandler(gMain, ActionPrint, QVariant()), false);
    QVERIFY(QFileInfo(pdf).size() > 1000);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
}

void TestCalendar::otherCodesAreRefused()
{
    QCOMPARE(funCalendarHandler(gMain, HandlerAction(4), QVariant()), false);
    const auto *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(shown);
    QCOMPARE(shown->text, QString("Invalid function (4) specified in funCalendarHandler"));
    QCOMPARE(shown->title, QString("Zorbi 2003"));
    QCOMPARE(shown->icon, 0);
}

ZORBI_TEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
