// The event handler's own codes and the day list: what each row holds, what
// each button and a double-click open, and deleting an event from the list.

#include "platform/dates.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "events/event_handler.h"
#include "events/frm_event_list.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_list.h"
#include "platform/db/database.h"
#include "test_support.h"

#include <QApplication>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <functional>

using testsupport::ProgramFolder;

namespace {

QStringList g_calls;

QString arg(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    return v.isNull() ? QString() : v.toString();
}

// Records the calls the day list makes, while the list itself (code 17) and,
// with `realEvents`, every event code stay the program's own.
void record(bool realEvents)
{
    g_calls.clear();
    auto &r = subjectRoutines();
    r.petHandler = [](QWidget *, int a, long id, const QString &t, int x) {
        g_calls << QStringLiteral("pet(%1,%2,%3,%4)").arg(a).arg(id).arg(t).arg(x);
        return true;
    };
    r.eventHandler = [realEvents](QWidget *f, int a, long id, QVariant &d) {
        if (a != 17)
            g_calls << QStringLiteral("event(%1,%2,%3)").arg(a).arg(id).arg(arg(d));
        return a == 17 || realEvents ? event_handler::funEventHandler(f, a, id, d) : true;
    };
    if (!realEvents)
        r.calendarHandler = [](QWidget *, int a, const QVariant &d) {
            g_calls << QStringLiteral("calendar(%1,%2)").arg(a).arg(arg(d));
            return false;
        };
}

const QDate kDay(2003, 4, 14);
int dayNo() { return funDateToDayNumber(kDay); }

// A day as the calendar leaves it: an event, a vaccination, a diary entry and a
// birthday on the day, and one item on the day after.
void fillItems()
{
    gCalendarItems.clear();
    gCalendarItems.push_back(
        {dayNo(), 8, 41, 0, "Vet; bring papers\r\nand card", "10:30 am April 14, 2003", "10:30:00"});
    gCalendarItems.push_back({dayNo(), 6, 7, 2, "Rex: Rabies expires", "April 14, 2003", {}});
    gCalendarItems.push_back({dayNo(), 9, 7, 3, "Rex: Long walk", "April 14, 2003", {}});
    gCalendarItems.push_back({dayNo(), 1, 7, 0, "Rex's birthday", "April 14, 2003", {}});
    gCalendarItems.push_back({dayNo() + 1, 8, 42, 0, "Groomer", "April 15, 2003", {}});
}

// Acts on the day list once its modal loop runs; closes it should `act` leave it open.
QPointer<QTimer> g_waiter;
void onDayList(const std::function<void(frm_event_list *)> &act)
{
    g_waiter = testsupport::onModal<frm_event_list>(act);
}

int rowOf(CtList *l, const QString &kind)
{
    for (int r = 0; r < l->RowCount(); ++r)
        if (l->CellText(r, 3) == kind)
            return r;
    return -1;
}

} // namespace

class TestEventHandler : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void noDayOrAnEmptyDay();
    void theDaysRows();
    void openRoutes_data();
    void openRoutes();
    void newAndCloseAndDelete_data();
    void newAndCloseAndDelete();
    void deletingFromTheListEmptiesTheDay();
    void deleteById();
    void printsTheCallingWindow();
    void failedPrintLeavesThePrinterUsable();
    void otherCodesAreRefused();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestEventHandler::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    zbclock::setNow(QDateTime(QDate(2003, 4, 16), QTime(10, 0)));
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB);
}

void TestEventHandler::cleanup()
{
    delete g_waiter;
    resetSubjectRoutines();
    m_pf.reset();
    zbclock::reset();
}

void TestEventHandler::noDayOrAnEmptyDay()
{
    record(false);
    fillItems();
    QCOMPARE(funEventHandler(gMain, ActionEditList, 0, QVariant()), false);
    QCOMPARE(funEventHandler(gMain, ActionEditList, 0, QVariant(0)), false);
    // A day with nothing on it: no window and no refill.
    bool shown = false;
    onDayList([&](frm_event_list *) { shown = true; });
    QCOMPARE(funEventHandler(gMain, ActionEditList, 0, QVariant(dayNo() + 2)), true);
    QCoreApplication::processEvents();
    QVERIFY(!shown);
    QVERIFY(g_calls.isEmpty());
}

void TestEventHandler::theDaysRows()
{
    record(false);
    fillItems();
    bool checked = false;
    onDayList([&](frm_event_list *w) {
        checked = true;
        QCOMPARE(w->windowTitle(), QString("Events:  Monday, April 14, 2003"));
        CtList *l = w->findChild<CtList *>("ctList1");
        QVERIFY(l);
        QCOMPARE(l->model()->headerData(0, Qt::Horizontal).toString(), QString("Event"));
        QCOMPARE(l->model()->headerData(3, Qt::Horizontal).toString(), QString("record_id"));
        QCOMPARE(l->RowCount(), 4);
        // A name keeps its ";" and comes on one line; kind and id stay in their columns.
        QCOMPARE(l->CellText(0, 1), QString("Vet; bring papers and card"));
        QCOMPARE(l->CellText(0, 2), QString("10:30 am April 14, 2003"));
        QCOMPARE(l->CellText(0, 3), QString("8"));
        QCOMPARE(l->CellText(0, 4), QString("41"));
        QVERIFY(l->ColumnVisible(2) && !l->ColumnVisible(3) && !l->ColumnVisible(4));
        // Events carry the event icon, the others their species' icon; no species, no icon.
        QVERIFY(l->CellIcon(0, 1) > 0);
        QVERIFY(l->CellIcon(1, 1) > 0);
        QCOMPARE(l->CellIcon(3, 1), 0);
        // Open and Delete wait for a row; Delete is for events only.
        auto *open = w->findChild<QPushButton *>("cmdEventList(1)");
        auto *del = w->findChild<QPushButton *>("cmdEventList(2)");
        QVERIFY(open && del && w->findChild<QPushButton *>("cmdEventList(0)")->isEnabled());
        QCOMPARE(w->findChild<QPushButton *>("cmdEventList(4)")->text(), QString("&Close"));
        QVERIFY(!open->isEnabled() && !del->isEnabled());
        l->setCurrentRow(1);
        QVERIFY(open->isEnabled() && !del->isEnabled());
        l->setCurrentRow(0);
        QVERIFY(open->isEnabled() && del->isEnabled());
        l->setCurrentRow(3);
        QVERIFY(!del->isEnabled());
        w->grab().save(QDir(QCoreApplication::applicationDirPath()).filePath("day_list.png"));
    });
    QCOMPARE(funEventHandler(gMain, ActionEditList, 0, QVariant(dayNo())), true);
    QVERIFY(checked);
    // Closed without a button: the calendar is shown again at that day.
    QCOMPARE(g_calls, QStringList{"calendar(5,2003-04-14)"});
}

void TestEventHandler::openRoutes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("call");
    for (bool dbl : {false, true}) {
        const char *how = dbl ? "double-click" : "Open";
        QTest::addRow("%s an event", how) << "8" << dbl << "event(2,41,)";
        QTest::addRow("%s a vaccination", how) << "6" << dbl << "pet(2,7,,3)";
        QTest::addRow("%s a diary entry", how) << "9" << dbl << "pet(2,7,,4)";
        QTest::addRow("%s a birthday", how) << "1" << dbl << "pet(2,7,,1)";
    }
}

void TestEventHandler::openRoutes()
{
    QFETCH(QString, kind);
    QFETCH(bool, doubleClick);
    QFETCH(QString, call);
    record(false);
    fillItems();
    bool closed = false;
    onDayList([&](frm_event_list *w) {
        const int row = rowOf(w->ctList1, kind);
        w->ctList1->setCurrentRow(row);
        if (doubleClick)
            emit w->ctList1->rowDblClick(row);
        else
            w->cmdEventList[1]->click();
        closed = !w->isVisible();
    });
    QCOMPARE(funEventHandler(gMain, ActionEditList, 0, QVariant(dayNo())), true);
    QVERIFY(closed);
    QCOMPARE(g_calls, (QStringList{call, "calendar(5,2003-04-14)"}));
}

void TestEventHandler::newAndCloseAndDelete_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("calls");
    // New dates the event today, not on the listed day.
    QTest::newRow("new") << 0 << QStringList{"event(1,0,)", "calendar(5,2003-04-14)"};
    QTest::newRow("delete") << 2 << QStringList{"event(3,41,)", "calendar(5,2003-04-14)"};
    QTest::newRow("close") << 4 << QStringList{"calendar(5,2003-04-14)"};
}

void TestEventHandler::newAndCloseAndDelete()
{
    QFETCH(int, button);
    QFETCH(QStringList, calls);
    record(false);
    fillItems();
    onDayList([&](frm_event_list *w) {
        w->ctList1->setCurrentRow(rowOf(w->ctList1, "8"));
        w->cmdEventList[size_t(button)]->click();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionEditList, 0, QVariant(dayNo())), true);
    QCOMPARE(g_calls, calls);
}

void TestEventHandler::deletingFromTheListEmptiesTheDay()
{
    // The program's own routines throughout: the calendar fills the day, the
    // list deletes the event, and the calendar shown again no longer has it.
    gDataDB->execute("INSERT INTO tbl_event (event_name, event_date) VALUES ('Vet', '2003-04-14')");
    gDataDB->execute("INSERT INTO tbl_event (event_name, event_date) VALUES ('Groomer', '2003-04-14')");
    funCalendarHandler(gMain, ActionShow, kDay);
    QCOMPARE(gCalendarItems.size(), size_t(2));
    m_pf->dialogs().queue(ui::Yes);
    onDayList([](frm_event_list *w) {
        QCOMPARE(w->ctList1->RowCount(), 2);
        w->ctList1->setCurrentRow(0);
        QCOMPARE(w->ctList1->CellText(0, 1), QString("Vet"));
        w->cmdEventList[2]->click();
    });
    // As the user opens a day: a double-click on it in the calendar.
    gMain->ctCalendar1_DayDblClick(dayNo());
    auto rs = gDataDB->openRecordset("SELECT event_name FROM tbl_event");
    QCOMPARE(rs->recordCount(), 1);
    QCOMPARE(gCalendarItems.size(), size_t(1));
    QCOMPARE(gCalendarItems[0].name, QString("Groomer"));
    QCOMPARE(gMain->ctCalendar1->DateText(dayNo()), QString("Groomer"));
}

void TestEventHandler::deleteById()
{
    gDataDB->execute("INSERT INTO tbl_event (event_name, event_date) VALUES ('Vet', '2003-04-14')");
    const long id = long(gDataDB->lastInsertId().toLongLong());
    auto count = [] { return gDataDB->openRecordset("SELECT * FROM tbl_event")->recordCount(); };

    m_pf->dialogs().queue(ui::No);
    QCOMPARE(funEventHandler(gMain, ActionDelete, id), false);
    QCOMPARE(count(), 1);
    const auto *asked = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(asked);
    QCOMPARE(asked->text, QString("Are you sure you want to delete this event?"));
    QCOMPARE(asked->title, QString("Confirm Delete"));
    QCOMPARE(asked->buttons, int(ui::YesNo));
    QCOMPARE(asked->icon, int(ui::Question));
    QCOMPARE(asked->defaultButton, 2);

    m_pf->dialogs().queue(ui::Yes);
    QCOMPARE(funEventHandler(gMain, ActionDelete, id), true);
    QCOMPARE(count(), 0);

    // A delete the file refuses is reported, and is no success.
    gDataDB->execute("CREATE TRIGGER no_delete BEFORE DELETE ON tbl_event BEGIN SELECT RAISE(ABORT, 'locked'); END");
    gDataDB->execute("INSERT INTO tbl_event (event_name, event_date) VALUES ('Kept', '2003-04-14')");
    m_pf->dialogs().queue(ui::Yes);
    QCOMPARE(funEventHandler(gMain, ActionDelete, long(gDataDB->lastInsertId().toLongLong())), false);
    QCOMPARE(count(), 1);
    QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->title, QString("Error - funEventDelete"));
}

void TestEventHandler::printsTheCallingWindow()
{
    QWidget window;
    window.resize(300, 200);
    const QString pdf = m_pf->file("event.pdf");
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(pdf);
    QCOMPARE(funEventHandler(&window, ActionPrint, 1), false);
    QVERIFY(QFileInfo(pdf).size() > 500);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

void TestEventHandler::failedPrintLeavesThePrinterUsable()
{
    // A print with nowhere to go fails and says so...
    QWidget window;
    window.resize(300, 200);
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(QString());
    QCOMPARE(funEventHandler(&window, ActionPrint, 1), false);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
    QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text, QString("482: Printer error"));
    QCOMPARE(funProgramPrinter().printerState(), QPrinter::Idle);
    // ...and Print Setup's Print to File then takes, and the next print goes there.
    const QString pdf = m_pf->file("event.pdf");
    m_pf->dialogs().queue(pdf);
    gMain->ctToolBar_MainMenuBar_ItemClick(gMain->menuItems.printSetup);
    QCOMPARE(funProgramPrinter().outputFileName(), pdf);
    QCOMPARE(funEventHandler(&window, ActionPrint, 1), false);
    QVERIFY(QFileInfo(pdf).size() > 500);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
}

void TestEventHandler::otherCodesAreRefused()
{
    QCOMPARE(funEventHandler(gMain, HandlerAction(4), 0), false);
    const auto *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(shown);
    QCOMPARE(shown->text, QString("Invalid function (4) specified in funEventHandler"));
    QCOMPARE(shown->title, QString("Zorbi 2003"));
    QCOMPARE(shown->buttons, int(ui::OKOnly));
    QCOMPARE(shown->icon, 0);
}

ZORBI_TEST_MAIN(TestEventHandler)
#include "tst_event_handler.moc"
