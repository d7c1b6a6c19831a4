// The reminder check on a real data file: what it lists, the reminder window,
// acknowledging, snoozing and the periodic driver, at fixed moments.

#include "core/database.h"
#include "platform/dates.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/settings.h"
#include "events/frm_reminder.h"
#include "events/reminder_rules.h"
#include "events/reminders.h"
#include "platform/clock.h"
#include "platform/controls/ct_list.h"
#include "platform/db/database.h"
#include "reminder_window.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

using testsupport::onReminderWindow;
using testsupport::ProgramFolder;
using SD = ui::ScriptedDialogs;

namespace {

QDateTime at(const char *text) { return QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd HH:mm:ss"); }

// Marks the rows whose name is in `names`, then presses Done.
void markAndDone(frm_reminder *w, const QStringList &names)
{
    for (int row = 0; row < w->ctList1->RowCount(); ++row) {
        if (names.contains(w->ctList1->CellText(row, 2)))
            w->subToggleItem(row);
    }
    QTest::mouseClick(w->cmdClose, Qt::LeftButton);
}

} // namespace

class TestReminders : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listsDueItemsInOrder();
    void itemsOfOneMomentInTheOrderEntered();
    void readsWhatTheReminderViewHolds();
    void startUpListsWhatACheckFinds();
    void nothingDue_data();
    void nothingDue();
    void badRowsAreSkipped();
    void acknowledgeValues_data();
    void acknowledgeValues();
    void rowsFollowTheirRowData();
    void deletedRecordIsSkipped();
    void aFailedRowDoesNotStopTheOthers();
    void windowMarksAndHeader();
    void aLongNameStaysOnTheScreen();
    void printsWithTheMomentOfPrinting();
    void failedPrintLeavesThePrinterUsable();

    void driverSchedule();
    void snooze_data();
    void snooze();
    void driverMessages();
    void driverCannotOpenTheDataFile();
    void acknowledgingCannotOpenTheDataFile();
    void noSecondCheckWhileOneIsUnderWay();

private:
    // The test's own connection to the data file, beside the program's.
    std::unique_ptr<db::Database> m_db;
    std::unique_ptr<ProgramFolder> m_pf;

    qint64 addEvent(const QString &name, const QVariantMap &more = {});
    qint64 addVaccine(const QString &pet, const QString &vaccine, const QString &expires);
    QString acknowledged(const QString &table, qint64 id);
    void openProgramFiles();
};

void TestReminders::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    db::DbError err;
    m_db = db::Workspace().openDatabase(m_pf->file("Zorbi.dat"), false, false, funDBConnect(), &err);
    QVERIFY2(m_db, qPrintable(err.description));
    testsupport::resetReminderWindowCount();
    zbclock::setNow(at("2026-12-10 12:00:00"));
}

void TestReminders::cleanup()
{
    testsupport::stopWatchingReminderWindow();
    subDropProgramPrinter();
    m_db.reset();
    m_pf.reset();
}

qint64 TestReminders::addEvent(const QString &name, const QVariantMap &more)
{
    QVariantMap fields = more;
    if (!name.isNull())
        fields.insert("event_name", name);
    if (!fields.contains("event_date"))
        fields.insert("event_date", "2026-12-10");
    QStringList marks;
    QVariantList values;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        marks << "?";
        values << it.value();
    }
    const QString sql =
        QString("INSERT INTO tbl_event (%1) VALUES (%2)").arg(fields.keys().join(", "), marks.join(", "));
    if (!m_db->execute(sql, values))
        qWarning("%s", qPrintable(m_db->lastError().description));
    return m_db->lastInsertId().toLongLong();
}

qint64 TestReminders::addVaccine(const QString &pet, const QString &vaccine, const QString &expires)
{
    m_db->execute("INSERT INTO tbl_pet (pet_name) VALUES (?)", {pet});
    const qint64 petId = m_db->lastInsertId().toLongLong();
    m_db->execute("INSERT INTO tbl_vaccine (vaccine_pet_id, vaccine_name, vaccine_expiration_date) VALUES (?, ?, ?)",
                  {petId, vaccine, expires});
    return m_db->lastInsertId().toLongLong();
}

QString TestReminders::acknowledged(const QString &table, qint64 id)
{
    const QString column = table == "tbl_event" ? "event" : "vaccine";
    auto rs =
        m_db->openRecordset(QString("SELECT %1_acknowledged_date FROM %2 WHERE %1_id = ?").arg(column, table), {id});
    return rs && !rs->isEOF() ? rs->field(0).toString() : QString("(gone)");
}

void TestReminders::openProgramFiles()
{
    QVERIFY(funOpen_SystemDB(nullptr, funGetDBNameSystem()));
    QVERIFY(funOpen_DataDB(nullptr, funGetDBNameData()));
}

void TestReminders::listsDueItemsInOrder()
{
    addEvent("Later today", {{"event_time", "12:20:00"}, {"event_show_reminder", -1}, {"event_reminder_minutes", 30}});
    addEvent("Not yet", {{"event_time", "13:00:00"}, {"event_show_reminder", -1}, {"event_reminder_minutes", 30}});
    addEvent("This morning", {{"event_time", "08:00:00"}});
    addEvent("Yesterday, all day", {{"event_date", "2026-12-09"}, {"event_all_day", -1}, {"event_time", "10:00:00"}});
    addEvent("Seen", {{"event_date", "2026-12-01"}, {"event_acknowledged_date", "2026-12-01 09:00:00"}});
    addEvent("Daily pills", {{"event_date", "2026-12-08"},
                             {"event_time", "07:30:00"},
                             {"event_type_repeating", -1},
                             {"event_repeat_every", 1},
                             {"event_end_date", "2027-12-31"},
                             {"event_acknowledged_date", "2026-12-09 07:30:01"}});
    addEvent("Weekly bath", {{"event_date", "2026-12-17"},
                             {"event_type_repeating", -1},
                             {"event_repeat_every", 2},
                             {"event_end_date", "2027-12-31"}});
    addEvent(QString(), {{"event_time", "09:00:00"}});
    addEvent("Walk\r\nthe dog", {{"event_time", "11:00:00"}});
    addEvent("Two weeks' notice", {{"event_date", "2026-12-23"},
                                   {"event_time", "18:00:00"},
                                   {"event_show_reminder", -1},
                                   {"event_reminder_minutes", 20160}});
    addVaccine("Rex", "Rabies", "2026-12-15");
    addVaccine("Tom", "Distemper", "2027-03-01");

    openProgramFiles();
    QStringList rows, data;
    QString caption, header;
    bool snooze = true, icon = false, done = false;
    onReminderWindow([&](frm_reminder *w) {
        for (int r = 0; r < w->ctList1->RowCount(); ++r) {
            rows << w->ctList1->CellText(r, 2) + " | " + w->ctList1->CellText(r, 3);
            data << w->ctList1->RowData(r);
            QCOMPARE(w->ctList1->CheckState(r), 0);
        }
        caption = w->windowTitle();
        header = w->lblHeader[0]->text() + " / " + w->lblHeader[1]->text() + " / " + w->lblHeader[2]->text();
        snooze = w->lblSnooze->isVisibleTo(w) || w->DBCboSnooze->isVisibleTo(w);
        icon = !w->windowIcon().isNull();
        done = w->cmdClose->isEnabled() && w->cmdPrint->isEnabled();
        QVERIFY(w->isModal());
        w->grab().save(QCoreApplication::applicationDirPath() + "/reminder_window.png");
        w->close(); // not Done: nothing is acknowledged
    });
    QVERIFY(reminders::funCheckReminders(false, true));
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
    const QStringList expected{
        "Yesterday, all day | Overdue - Wednesday, December 9, 2026",
        "This morning | Overdue - 8:00 am Thursday, December 10, 2026",
        "(None) | Overdue - 9:00 am Thursday, December 10, 2026",
        "Walk the dog | Overdue - 11:00 am Thursday, December 10, 2026",
        "Later today | 12:20 pm Thursday, December 10, 2026",
        "Rex: Rabies expires | Tuesday, December 15, 2026",
        "Two weeks' notice | 6:00 pm Wednesday, December 23, 2026",
        "Daily pills | Overdue - 7:30 am Thursday, December 10, 2026",
    };
    QCOMPARE(rows, expected);
    QCOMPARE(data, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}));
    QCOMPARE(header, QString("Yesterday, all day / Due: / Overdue - Wednesday, December 9, 2026"));
    QCOMPARE(caption, QString("Reminders - Zorbi 2003"));
    QVERIFY(!snooze);
    QVERIFY(icon);
    QVERIFY(done);
    QCOMPARE(gReminders.size(), size_t(9));
    QVERIFY(gReminders[0] == ReminderRow());
    QCOMPARE(gReminders[6].kind, 6);
    QCOMPARE(gReminders[8].kind, 8);
    QVERIFY(gReminders[8].repeating);
    QCOMPARE(gReminders[8].acknowledgeValue, at("2026-12-10 07:30:01"));
    QCOMPARE(gReminders[1].acknowledgeValue, at("2026-12-10 12:00:00"));
    // Closed without Done: nothing written.
    auto rs =
        m_db->openRecordset("SELECT COUNT(*) FROM tbl_event WHERE event_acknowledged_date <> ?", {kNotAcknowledged});
    QCOMPARE(rs->field(0).toInt(), 2);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

// Start-up's own check, the reminder program not running: its window lists
// what a check of the open data file finds, in the same order, with the same
// entries behind the rows.
void TestReminders::startUpListsWhatACheckFinds()
{
    addEvent("This morning", {{"event_time", "08:00:00"}});
    addEvent("Later today", {{"event_time", "12:20:00"}, {"event_show_reminder", -1}, {"event_reminder_minutes", 30}});
    addEvent("Not yet", {{"event_date", "2026-12-20"}});
    addEvent("Daily pills", {{"event_date", "2026-12-08"},
                             {"event_time", "07:30:00"},
                             {"event_type_repeating", -1},
                             {"event_repeat_every", 1},
                             {"event_end_date", "2027-12-31"}});
    addVaccine("Rex", "Rabies", "2026-12-15");
    QStringList rows;
    onReminderWindow([&](frm_reminder *w) {
        for (int r = 0; r < w->ctList1->RowCount(); ++r)
            rows << w->ctList1->CellText(r, 2) + " | " + w->ctList1->CellText(r, 3);
        w->close();
    });
    QCOMPARE(Main(), -1);
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
    QCOMPARE(rows, (QStringList{"This morning | Overdue - 8:00 am Thursday, December 10, 2026",
                                "Later today | 12:20 pm Thursday, December 10, 2026",
                                "Rex: Rabies expires | Tuesday, December 15, 2026",
                                "Daily pills | Overdue - 7:30 am Tuesday, December 8, 2026"}));
    const std::vector<ReminderRow> shown = gReminders;
    db::DbError error;
    QVERIFY(reminders::funCollectReminders(*gDataDB, zbclock::now(), &error));
    QVERIFY(shown == gReminders);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

// The check reads the tables of qry_reminder_single itself rather than the view
// the files keep; both must give the same items due.
void TestReminders::readsWhatTheReminderViewHolds()
{
    addEvent("Lead shown", {{"event_time", "12:20:00"}, {"event_show_reminder", -1}, {"event_reminder_minutes", 30}});
    addEvent("Lead not shown",
             {{"event_time", "12:20:00"}, {"event_show_reminder", 0}, {"event_reminder_minutes", 30}});
    addEvent("Lead without minutes", {{"event_time", "11:00:00"}, {"event_show_reminder", -1}});
    addEvent("All day tomorrow", {{"event_date", "2026-12-11"}, {"event_all_day", -1}});
    addEvent("Long notice", {{"event_date", "2026-12-23"},
                             {"event_time", "18:00:00"},
                             {"event_show_reminder", -1},
                             {"event_reminder_minutes", 20160}});
    addEvent("Far ahead", {{"event_date", "2027-06-01"}});
    addEvent("Seen", {{"event_date", "2026-12-01"}, {"event_acknowledged_date", "2026-12-01 09:00:00"}});
    addEvent("No date", {{"event_date", QVariant()}});
    addEvent(QString(), {{"event_time", "09:00:00"}});
    addVaccine("Rex", "Rabies", "2026-12-15");
    addVaccine("", "", "2026-12-12");
    addVaccine("Tom", "Distemper", "2027-03-01");
    const qint64 seen = addVaccine("Kit", "Leukemia", "2026-12-05");
    m_db->execute("UPDATE tbl_vaccine SET vaccine_acknowledged_date = '2026-12-05 08:00:00' WHERE vaccine_id = ?",
                  {seen});

    const QDateTime now = zbclock::now();
    QStringList fromView;
    QVERIFY(m_db->forEachRow(
        "SELECT object_id, record_id, event_date, event_time, event_all_day, event_reminder_minutes, event_name "
        "FROM qry_reminder_single WHERE event_acknowledged_date = ?",
        {kNotAcknowledged}, [&](const QStringList &, const QVariantList &r) {
            if (reminders::funSingleDue(r[2], r[3], r[4], r[5], now).verdict == reminders::DueCheck::Due)
                fromView << QString("%1/%2 %3").arg(r[0].toInt()).arg(r[1].toLongLong()).arg(r[6].toString());
        }));
    db::DbError error;
    QVERIFY(reminders::funCollectReminders(*m_db, now, &error));
    QStringList collected;
    for (size_t i = 1; i < gReminders.size(); ++i)
        collected << QString("%1/%2 %3")
                         .arg(gReminders[i].kind)
                         .arg(gReminders[i].recordID)
                         .arg(gReminders[i].name == "(None)" ? QString() : gReminders[i].name);
    fromView.sort();
    collected.sort();
    QVERIFY(fromView.size() >= 6); // the fixture has due items of every kind
    QCOMPARE(collected, fromView);
}

void TestReminders::itemsOfOneMomentInTheOrderEntered()
{
    // Due on one day with no time, and one at eight: the items without a time
    // come first, events before vaccinations, each kind in the order entered.
    const QVariantMap weekAhead{
        {"event_date", "2026-12-15"}, {"event_show_reminder", -1}, {"event_reminder_minutes", 10080}};
    addVaccine("Rex", "Rabies", "2026-12-15");
    QVariantMap atEight = weekAhead;
    atEight.insert("event_time", "08:00:00");
    addEvent("Vet at eight", atEight);
    addEvent("Vet visit", weekAhead);
    addVaccine("Tom", "Distemper", "2026-12-15");
    addEvent("Nail clipping", weekAhead);
    addVaccine("Abby", "Rabies", "2026-12-15");

    db::DbError error;
    QVERIFY(reminders::funCollectReminders(*m_db, zbclock::now(), &error));
    QStringList names;
    for (size_t i = 1; i < gReminders.size(); ++i)
        names << gReminders[i].name;
    QCOMPARE(names, (QStringList{"Vet visit", "Nail clipping", "Rex: Rabies expires", "Tom: Distemper expires",
                                 "Abby: Rabies expires", "Vet at eight"}));
}

void TestReminders::nothingDue_data()
{
    QTest::addColumn<bool>("messageIfNone");
    QTest::newRow("start-up") << false;
    QTest::newRow("Check Reminders") << true;
}

void TestReminders::nothingDue()
{
    QFETCH(bool, messageIfNone);
    addEvent("Next week", {{"event_date", "2026-12-17"}});
    openProgramFiles();
    QVERIFY(!reminders::funCheckReminders(false, messageIfNone));
    QCOMPARE(testsupport::reminderWindowsShown(), 0);
    QCOMPARE(m_pf->dialogs().count(SD::Message), messageIfNone ? 1 : 0);
    if (messageIfNone) {
        const auto *m = m_pf->dialogs().last(SD::Message);
        QCOMPARE(m->text, QString("There are no event reminders due at this time."));
        QCOMPARE(m->icon, int(ui::Information));
        QCOMPARE(m->buttons, int(ui::OKOnly));
        QCOMPARE(m->title, QString("Zorbi 2003"));
    }
}

void TestReminders::badRowsAreSkipped()
{
    addEvent("Good", {{"event_time", "08:00:00"}});
    // Rows another program could have written past the file's own checks.
    QVERIFY(m_db->execute("PRAGMA ignore_check_constraints = 1"));
    addEvent("Bad lead", {{"event_show_reminder", -1}, {"event_reminder_minutes", "soon"}});
    addEvent("Bad time", {{"event_time", "nine o'clock"}});
    addEvent("Bad repeating date",
             {{"event_date", "someday"}, {"event_type_repeating", -1}, {"event_repeat_every", 1}});
    addEvent("Bad until", {{"event_type_repeating", -1}, {"event_repeat_every", 1}, {"event_end_date", "never"}});
    QVERIFY(m_db->execute("PRAGMA ignore_check_constraints = 0"));
    addEvent("Good repeating", {{"event_date", "2026-12-01"},
                                {"event_type_repeating", -1},
                                {"event_repeat_every", 1},
                                {"event_end_date", "2026-12-31"}});

    openProgramFiles();
    QStringList names;
    onReminderWindow([&](frm_reminder *w) {
        for (int r = 0; r < w->ctList1->RowCount(); ++r)
            names << w->ctList1->CellText(r, 2);
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(names, (QStringList{"Good", "Good repeating"}));
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

void TestReminders::acknowledgeValues_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("written");
    // The check runs at 12:00:00, Done is pressed at 12:03:00.
    QTest::newRow("single event: the moment of Done") << "single"
                                                      << "2026-12-10 12:03:00";
    QTest::newRow("repeating event: the occurrence plus a second") << "repeating"
                                                                   << "2026-12-10 09:15:01";
    QTest::newRow("vaccination: the moment of Done") << "vaccine"
                                                     << "2026-12-10 12:03:00";
}

void TestReminders::acknowledgeValues()
{
    QFETCH(QString, kind);
    QFETCH(QString, written);
    const qint64 single = addEvent("Single", {{"event_time", "10:00:00"}});
    const qint64 repeating = addEvent("Repeating", {{"event_date", "2026-12-03"},
                                                    {"event_time", "09:15:00"},
                                                    {"event_type_repeating", -1},
                                                    {"event_repeat_every", 1},
                                                    {"event_end_date", "2026-12-31"},
                                                    {"event_acknowledged_date", "2026-12-09 09:15:01"}});
    const qint64 vaccine = addVaccine("Rex", "Rabies", "2026-12-12");
    openProgramFiles();
    const QString name = kind == "single" ? "Single" : kind == "repeating" ? "Repeating" : "Rex: Rabies expires";
    onReminderWindow([&](frm_reminder *w) {
        zbclock::setNow(at("2026-12-10 12:03:00"));
        markAndDone(w, {name});
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(acknowledged("tbl_event", single), kind == "single" ? written : kNotAcknowledged);
    QCOMPARE(acknowledged("tbl_event", repeating), kind == "repeating" ? written : QString("2026-12-09 09:15:01"));
    QCOMPARE(acknowledged("tbl_vaccine", vaccine), kind == "vaccine" ? written : kNotAcknowledged);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    QVERIFY(gDataDB); // the main program's file stays open

    // Acknowledged items are not listed again; the repeating one comes back
    // tomorrow, once its time has passed.
    zbclock::setNow(at("2026-12-11 09:15:01"));
    QStringList names;
    onReminderWindow([&](frm_reminder *w) {
        for (int r = 0; r < w->ctList1->RowCount(); ++r)
            names << w->ctList1->CellText(r, 2) + " | " + w->ctList1->CellText(r, 3);
    });
    reminders::funCheckReminders(false, false);
    QStringList expected;
    if (kind != "single")
        expected << "Single | Overdue - 10:00 am Thursday, December 10, 2026";
    if (kind != "vaccine")
        expected << "Rex: Rabies expires | Saturday, December 12, 2026";
    expected << (kind == "repeating" ? "Repeating | 9:15 am Friday, December 11, 2026"
                                     : "Repeating | Overdue - 9:15 am Thursday, December 10, 2026");
    QCOMPARE(names, expected);
}

void TestReminders::rowsFollowTheirRowData()
{
    const qint64 first = addEvent("First", {{"event_time", "08:00:00"}});
    const qint64 second = addEvent("Second", {{"event_time", "09:00:00"}});
    openProgramFiles();
    onReminderWindow([&](frm_reminder *w) {
        // The list as another order would show it: each row names its item.
        w->ctList1->setRowData(0, "2");
        w->ctList1->setRowData(1, "1");
        w->subToggleItem(0);
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(acknowledged("tbl_event", first), kNotAcknowledged);
    QCOMPARE(acknowledged("tbl_event", second), QString("2026-12-10 12:00:00"));
}

void TestReminders::deletedRecordIsSkipped()
{
    const qint64 gone = addEvent("Gone", {{"event_time", "08:00:00"}});
    const qint64 kept = addEvent("Kept", {{"event_time", "09:00:00"}});
    openProgramFiles();
    onReminderWindow([&](frm_reminder *w) {
        QVERIFY(m_db->execute("DELETE FROM tbl_event WHERE event_id = ?", {gone}));
        markAndDone(w, {"Gone", "Kept"});
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(acknowledged("tbl_event", gone), QString("(gone)"));
    QCOMPARE(acknowledged("tbl_event", kept), QString("2026-12-10 12:00:00"));
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

void TestReminders::aFailedRowDoesNotStopTheOthers()
{
    const qint64 vaccine = addVaccine("Rex", "Rabies", "2026-12-12");
    const qint64 event = addEvent("Vet", {{"event_time", "08:00:00"}});
    // The file refuses to change this one vaccination.
    QVERIFY(m_db->execute("CREATE TRIGGER no_ack BEFORE UPDATE ON tbl_vaccine "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    openProgramFiles();
    onReminderWindow([&](frm_reminder *w) {
        for (int row = 0; row < w->ctList1->RowCount(); ++row)
            w->subToggleItem(row);
        QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(acknowledged("tbl_vaccine", vaccine), kNotAcknowledged);
    QCOMPARE(acknowledged("tbl_event", event), QString("2026-12-10 12:00:00"));
    QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
    const auto *m = m_pf->dialogs().last(SD::Message);
    QCOMPARE(m->title, QString("Error - funAcknowledgeVaccine"));
    QVERIFY2(m->text.contains(" - ") && m->text.contains("refused"), qPrintable(m->text));
}

void TestReminders::windowMarksAndHeader()
{
    addEvent("One", {{"event_time", "08:00:00"}});
    addEvent("Two", {{"event_time", "09:00:00"}});
    openProgramFiles();
    onReminderWindow([&](frm_reminder *w) {
        CtList *list = w->ctList1;
        QCOMPARE(w->lblHeader[0]->text(), QString("One"));
        // A click on a row marks it and brings it to the header; a second unmarks it.
        const QRect second = list->visualRect(list->model()->index(1, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(list->CheckState(1), 1);
        QCOMPARE(w->lblHeader[0]->text(), QString("Two"));
        QCOMPARE(w->lblHeader[2]->text(), QString("Overdue - 9:00 am Thursday, December 10, 2026"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(list->CheckState(1), 0);
        // Space twice leaves the current row as it was; Enter marks it and does not press Done.
        list->setFocus();
        list->setCurrentRow(0);
        QCOMPARE(w->lblHeader[0]->text(), QString("One"));
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(list->CheckState(0), 1);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(list->CheckState(0), 0);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(list->CheckState(0), 1);
        QVERIFY(w->isVisible());
        // The main program's window has no snooze, and choosing none keeps 5 minutes.
        QVERIFY(!w->DBCboSnooze->isVisibleTo(w));
        QCOMPARE(gSnoozeMinutes, QString("5"));
        w->reject();
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
}

void TestReminders::aLongNameStaysOnTheScreen()
{
    // A pasted web address: one word of 319 characters.
    const QString address = "https://example.org/" + QString(299, 'x');
    addEvent(address, {{"event_time", "08:00:00"}});
    openProgramFiles();
    onReminderWindow([&](frm_reminder *w) {
        QCoreApplication::processEvents();
        const QRect screen = w->screen()->availableGeometry();
        QCOMPARE(w->lblHeader[0]->text(), address); // the name as it is, wrapped on the screen
        QVERIFY2(w->frameGeometry().width() <= screen.width(), qPrintable(QString::number(w->width())));
        QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(QString("%1,%2 %3x%4")
                                                                     .arg(w->frameGeometry().x())
                                                                     .arg(w->frameGeometry().y())
                                                                     .arg(w->frameGeometry().width())
                                                                     .arg(w->frameGeometry().height())));
        for (QPushButton *b : {w->cmdClose, w->cmdPrint}) {
            QVERIFY(b->isVisible());
            QVERIFY(w->rect().contains(QRect(b->mapTo(w, QPoint(0, 0)), b->size())));
        }
        // The whole name is shown: the wrapped header is tall enough for it.
        QVERIFY(w->lblHeader[0]->height() >= 2 * w->lblHeader[0]->fontMetrics().height());
        w->grab().save(QCoreApplication::applicationDirPath() + "/reminder_window_long_name.png");
        w->reject();
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
}

void TestReminders::printsWithTheMomentOfPrinting()
{
    addEvent("Vet", {{"event_time", "08:00:00"}});
    openProgramFiles();
    const QString pdf = m_pf->file("reminders.pdf");
    subDropProgramPrinter();
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(pdf);
    QString title, subtitle;
    onReminderWindow([&](frm_reminder *w) {
        zbclock::setNow(at("2026-12-10 14:25:07"));
        QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
        title = w->ctList1->PrintTitle();
        subtitle = w->ctList1->PrintSubTitle();
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(title, QString("Zorbi 2003"));
    QCOMPARE(subtitle, QString("12/10/2026 2:25:07 PM"));
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));

    // With nowhere to print, the user hears of it.
    funProgramPrinter().setOutputFileName(m_pf->file("no such folder/reminders.pdf"));
    onReminderWindow([&](frm_reminder *w) { QTest::mouseClick(w->cmdPrint, Qt::LeftButton); });
    QVERIFY(reminders::funCheckReminders(false, false));
    QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
    QCOMPARE(m_pf->dialogs().last(SD::Message)->text, QString("The reminders could not be printed."));
}

void TestReminders::failedPrintLeavesThePrinterUsable()
{
    addEvent("Vet", {{"event_time", "08:00:00"}});
    openProgramFiles();
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(QString()); // nowhere to print
    const QString pdf = m_pf->file("reminders.pdf");
    onReminderWindow([&](frm_reminder *w) {
        QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
        QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
        // The printer takes a file to print into, as Print Setup gives it.
        funProgramPrinter().setOutputFileName(pdf);
        QCOMPARE(funProgramPrinter().outputFileName(), pdf);
        QTest::mouseClick(w->cmdPrint, Qt::LeftButton);
    });
    QVERIFY(reminders::funCheckReminders(false, false));
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
}

// ---- The reminder program's driver ----

void TestReminders::driverSchedule()
{
    const qint64 id = addEvent("Vet", {{"event_time", "08:00:00"}});
    // The first pass checks at once.
    onReminderWindow([&](frm_reminder *w) {
        QVERIFY(w->DBCboSnooze->isVisibleTo(w));
        QVERIFY(!w->isModal()); // the tray menu stays live
        w->grab().save(QCoreApplication::applicationDirPath() + "/reminder_window_snooze.png");
        QVERIFY(gDataDB && gSystemDB);
        zbclock::setNow(at("2026-12-10 12:01:00"));
        w->reject(); // closed without Done
    });
    reminders::subReminderTimer(nullptr, false);
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
    QCOMPARE(gNextReminderCheck, at("2026-12-10 12:05:00"));
    QVERIFY(!gDataDB && !gSystemDB && !gWorkspace); // nothing held open between checks
    QCOMPARE(acknowledged("tbl_event", id), kNotAcknowledged);

    // Ticks before the next check do nothing.
    testsupport::stopWatchingReminderWindow();
    zbclock::setNow(at("2026-12-10 12:04:59"));
    reminders::subReminderTimer(nullptr, false);
    QVERIFY(!reminders::reminderWindow());
    QCOMPARE(testsupport::reminderWindowsShown(), 1);

    // "Check Reminders" checks at once.
    onReminderWindow([](frm_reminder *w) { w->reject(); });
    reminders::subReminderTimer(nullptr, true);
    QCOMPARE(testsupport::reminderWindowsShown(), 2);
    QCOMPARE(gNextReminderCheck, at("2026-12-10 12:09:59"));

    // The tick at the next-check time checks again.
    zbclock::setNow(at("2026-12-10 12:09:59"));
    onReminderWindow([](frm_reminder *w) { markAndDone(w, {"Vet"}); });
    reminders::subReminderTimer(nullptr, false);
    QCOMPARE(testsupport::reminderWindowsShown(), 3);
    QCOMPARE(acknowledged("tbl_event", id), QString("2026-12-10 12:09:59"));
    QVERIFY(!gDataDB && !gSystemDB);
}

void TestReminders::snooze_data()
{
    QTest::addColumn<QString>("choice"); // "" for none
    QTest::addColumn<QString>("next");
    QTest::newRow("no choice: five minutes after Done") << ""
                                                        << "2026-12-10 12:07:00";
    QTest::newRow("one hour") << "1 hour"
                              << "2026-12-10 13:02:00";
    QTest::newRow("one day") << "1 day"
                             << "2026-12-11 12:02:00";
    QTest::newRow("back to no snooze") << "(Don't snooze)"
                                       << "2026-12-10 12:07:00";
}

void TestReminders::snooze()
{
    QFETCH(QString, choice);
    QFETCH(QString, next);
    const qint64 id = addEvent("Vet", {{"event_time", "08:00:00"}});
    QPointer<QWidget> other, icon;
    onReminderWindow([&](frm_reminder *w) {
        QCOMPARE(w->DBCboSnooze->currentText(), QString("(Don't snooze)"));
        QVERIFY(!w->DBCboSnooze->isEditable());
        QCOMPARE(w->DBCboSnooze->count(), 15);
        QCOMPARE(w->DBCboSnooze->itemText(1), QString("5 minutes"));
        QCOMPARE(w->DBCboSnooze->itemText(14), QString("2 weeks"));
        if (!choice.isEmpty()) {
            if (choice == "(Don't snooze)") {
                w->DBCboSnooze->setCurrentIndex(3);
                emit w->DBCboSnooze->activated(3);
            }
            const int index = w->DBCboSnooze->findText(choice);
            QVERIFY(index >= 0);
            w->DBCboSnooze->setCurrentIndex(index);
            emit w->DBCboSnooze->activated(index);
        }
        // Another window of the program goes with the reminder window; the
        // icon in the notification area, a window outside the window manager's
        // care, stays.
        other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        other->show();
        icon = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        icon->show();
        zbclock::setNow(at("2026-12-10 12:02:00"));
        QTest::mouseClick(w->cmdClose, Qt::LeftButton); // nothing marked
    });
    reminders::subReminderTimer(nullptr, false);
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
    QCOMPARE(gNextReminderCheck, at(qPrintable(next)));
    QCOMPARE(acknowledged("tbl_event", id), kNotAcknowledged); // nothing marked, nothing written
    QVERIFY(!other || !other->isVisible());
    QVERIFY(icon && icon->isVisible());
    delete other;
    delete icon;
    QVERIFY(!gDataDB && !gSystemDB);
}

void TestReminders::driverMessages()
{
    addEvent("Next week", {{"event_date", "2026-12-17"}});
    reminders::subReminderTimer(nullptr, false); // a tick: nothing due, nothing said
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    reminders::subReminderTimer(nullptr, true); // "Check Reminders"
    QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
    QCOMPARE(m_pf->dialogs().last(SD::Message)->text, QString("There are no event reminders due at this time."));
    QCOMPARE(m_pf->dialogs().last(SD::Message)->title, QString("Zorbi 2003"));
}

void TestReminders::driverCannotOpenTheDataFile()
{
    funPref_Set("Database", m_pf->file("Moved away.dat"));
    m_pf->dialogs().queue(QString()); // the user declines to choose another file
    reminders::subReminderTimer(nullptr, false);
    QCOMPARE(m_pf->dialogs().count(SD::File), 1);
    const auto *m = m_pf->dialogs().last(SD::Message);
    QVERIFY(m);
    QCOMPARE(m->text, QString("Unable to open Zorbi data file, no reminders available..."));
    QCOMPARE(m->title, QString("Error"));
    QCOMPARE(m->icon, 0);
    QCOMPARE(m->buttons, int(ui::OKOnly));
    QCOMPARE(gNextReminderCheck, at("2026-12-10 12:05:00"));
    QVERIFY(!gDataDB && !gSystemDB && !gWorkspace);

    // The system file, likewise.
    resetGlobals();
    m_pf->dialogs().clear();
    funPref_Set("Database", m_pf->file("Zorbi.dat"));
    QFile::rename(m_pf->file("Zorbi.sys"), m_pf->file("Zorbi.old"));
    reminders::subReminderTimer(nullptr, true);
    QCOMPARE(m_pf->dialogs().last(SD::Message)->text,
             QString("Unable to open Zorbi system file, no reminders available..."));
    QVERIFY(!gDataDB && !gSystemDB);
}

void TestReminders::acknowledgingCannotOpenTheDataFile()
{
    const qint64 id = addEvent("Vet", {{"event_time", "08:00:00"}});
    onReminderWindow([&](frm_reminder *w) {
        // The data file has gone from where the check found it.
        gDataDBPath = m_pf->file("Gone.dat");
        m_pf->dialogs().queue(QString());
        zbclock::setNow(at("2026-12-10 12:02:00"));
        markAndDone(w, {"Vet"});
        QVERIFY(!w->isVisible());
    });
    reminders::subReminderTimer(nullptr, false);
    const auto *m = m_pf->dialogs().last(SD::Message);
    QVERIFY(m);
    QCOMPARE(m->text, QString("Unable to open Zorbi data file, events could not be acknowledged."));
    QCOMPARE(m->icon, int(ui::Critical));
    QCOMPARE(m->title, QString("Error"));
    QCOMPARE(gNextReminderCheck, at("2026-12-10 12:05:00")); // as the driver set it
    QCOMPARE(acknowledged("tbl_event", id), kNotAcknowledged);
    QVERIFY(!gDataDB && !gSystemDB);
}

void TestReminders::noSecondCheckWhileOneIsUnderWay()
{
    const qint64 first = addEvent("First", {{"event_time", "08:00:00"}});
    qint64 second = 0;
    onReminderWindow([&](frm_reminder *w) {
        // A new item comes due while the window waits; the tick of the next
        // check and the menu's check both leave the window and its list alone.
        second = addEvent("Second", {{"event_time", "11:00:00"}});
        zbclock::setNow(at("2026-12-10 12:10:00"));
        const std::vector<ReminderRow> before = gReminders;
        reminders::subReminderTimer(nullptr, false);
        reminders::subReminderTimer(nullptr, true);
        QVERIFY(!reminders::funCheckReminders(false, true));
        QVERIFY(gReminders == before);
        QCOMPARE(reminders::reminderWindow(), w);
        QVERIFY(gDataDB && gSystemDB); // the files stay open under the check
        QCOMPARE(w->ctList1->RowCount(), 1);
        markAndDone(w, {"First"});
    });
    reminders::subReminderTimer(nullptr, false);
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    QCOMPARE(acknowledged("tbl_event", first), QString("2026-12-10 12:10:00"));
    QCOMPARE(acknowledged("tbl_event", second), kNotAcknowledged);
    QVERIFY(!gReminderCheckBusy);
}

ZORBI_TEST_MAIN(TestReminders)
#include "tst_reminders.moc"
