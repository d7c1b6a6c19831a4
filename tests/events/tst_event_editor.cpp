// The event window and the handler codes that make it: a new event's
// starting values, the repeat description and the keys it stores, the checks
// of code 6, saving only what changed, keeping the window open after a failed
// check or write, deleting its row, printing, and the start-up switch that
// adds an event.

#include "platform/dates.h"
#include "core/codes.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "events/frm_event_detail.h"
#include "platform/clock.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/date_picker.h"
#include "platform/controls/db_combo.h"
#include "platform/controls/vb_image.h"
#include "platform/db/database.h"
#include "data_rows.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <functional>

using testsupport::ProgramFolder;

namespace {

// What a statement reads, "<none>" when it finds no row.
QVariant scalar(const QString &sql) { return testsupport::value(sql, {}, QStringLiteral("<none>")); }

const QDateTime kNow(QDate(2003, 4, 16), QTime(10, 0));

// Acts on the event window once its modal loop runs.
QPointer<QTimer> g_waiter;
bool g_editorShown = false;
void onEditor(const std::function<void(frm_event_detail *)> &act)
{
    g_editorShown = false;
    g_waiter = testsupport::onModal<frm_event_detail>([act](frm_event_detail *w) {
        g_editorShown = true;
        act(w);
    });
}

long addEvent(const QString &name, const QString &date, bool repeating = false,
              const QString &acknowledged = kNotAcknowledged)
{
    gDataDB->execute(QStringLiteral("INSERT INTO tbl_event (event_name, event_date, event_end_date, "
                                    "event_type_repeating, event_repeat_every, event_show_reminder, "
                                    "event_reminder_minutes, event_all_day, event_acknowledged_date) "
                                    "VALUES (?, ?, ?, ?, 2, -1, 30, -1, ?)"),
                     {name, date, repeating ? QVariant(QStringLiteral("2003-12-31")) : QVariant(), repeating ? -1 : 0,
                      acknowledged});
    return long(gDataDB->lastInsertId().toLongLong());
}

DatePicker *picker(QWidget *w, int i) { return w->findChild<DatePicker *>(QStringLiteral("DTPickerEvent(%1)").arg(i)); }
QCheckBox *check(QWidget *w, int i) { return w->findChild<QCheckBox *>(QStringLiteral("Check1(%1)").arg(i)); }
DbCombo *combo(QWidget *w, int i) { return w->findChild<DbCombo *>(QStringLiteral("dbcboEvent(%1)").arg(i)); }
QLabel *label(QWidget *w, int i) { return w->findChild<QLabel *>(QStringLiteral("lblEvent(%1)").arg(i)); }
QLineEdit *nameBox(QWidget *w) { return w->findChild<QLineEdit *>(QStringLiteral("txtevent_name")); }
CtToolBar *menuBar(QWidget *w) { return w->findChild<CtToolBar *>(QStringLiteral("ctToolBar_Menubar")); }
CtToolBar *toolBar(QWidget *w) { return w->findChild<CtToolBar *>(QStringLiteral("ctToolbar_Toolbar")); }

// Picks a list entry as the user does.
void pick(DbCombo *c, const QString &text)
{
    const int i = c->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    c->setCurrentIndex(i);
}

QString shot(const QString &name) { return QDir(QCoreApplication::applicationDirPath()).filePath(name); }

} // namespace

class TestEventEditor : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newEventDefaults_data();
    void newEventDefaults();
    void fieldStatesAndEditItems();
    void repeatDescriptionAndKeys_data();
    void repeatDescriptionAndKeys();
    void validation_data();
    void validation();
    void openingZeroOrAMissingEvent();
    void savesOnlyWhatChanged_data();
    void savesOnlyWhatChanged();
    void closingWithChangesAsksAndKeepsOpen();
    void aWriteTheFileRefusesKeepsTheChanges();
    void undoShowsTheStoredRow();
    void deletesItsOwnRow();
    void printAsksToSaveFirst();
    void aNewEventNotSavedAtPrintStartsAgain();
    void saveAndCloseAfterAnEarlierSaveCloses();
    void startUpSwitchAddsAnEvent();
    void tabFollowsTheFieldsDownTheWindow();
    void aLongNameIsShortenedInTheTitle();
    void typedDatesAndTimesAreReadWhole_data();
    void typedDatesAndTimesAreReadWhole();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestEventEditor::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    zbclock::setNow(kNow);
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB);
}

void TestEventEditor::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    delete g_waiter;
    setCommandArguments({});
    resetSubjectRoutines();
    m_pf.reset();
    zbclock::reset();
}

void TestEventEditor::newEventDefaults_data()
{
    QTest::addColumn<QVariant>("date");
    QTest::addColumn<QDate>("shown");
    QTest::addColumn<QDate>("until");
    QTest::newRow("no date: today") << QVariant() << kNow.date() << QDate(2003, 5, 16);
    QTest::newRow("not a date: today") << QVariant(QStringLiteral("soon")) << kNow.date() << QDate(2003, 5, 16);
    QTest::newRow("a day number is no date") << QVariant(37000) << kNow.date() << QDate(2003, 5, 16);
    QTest::newRow("31 January") << QVariant(QDate(2003, 1, 31)) << QDate(2003, 1, 31) << QDate(2003, 2, 28);
    QTest::newRow("31 January, leap year") << QVariant(QDate(2004, 1, 31)) << QDate(2004, 1, 31) << QDate(2004, 2, 29);
    QTest::newRow("a date with a time") << QVariant(QDateTime(QDate(2003, 3, 15), QTime(14, 30))) << QDate(2003, 3, 15)
                                        << QDate(2003, 4, 15);
}

void TestEventEditor::newEventDefaults()
{
    QFETCH(QVariant, date);
    QFETCH(QDate, shown);
    QFETCH(QDate, until);
    onEditor([&](frm_event_detail *w) {
        QCOMPARE(w->windowTitle(), QString("New Event"));
        QVERIFY(w->ImageMain->hasPicture());
        QCOMPARE(w->DataDetail->editMode(), int(DataControl::EditAdd));
        QCOMPARE(picker(w, 0)->Value(), QVariant(shown));
        QCOMPARE(picker(w, 2)->Value(), QVariant(until));
        QVERIFY(picker(w, 1)->isNull());
        QVERIFY(nameBox(w)->text().isEmpty());
        QVERIFY(check(w, 0)->isChecked() && check(w, 2)->isChecked() && !check(w, 1)->isChecked());
        QCOMPARE(combo(w, 5)->Text(), QString("30 minutes"));
        QCOMPARE(combo(w, 5)->BoundText().toInt(), 30);
        QCOMPARE(combo(w, 0)->Text(), QString("Month"));
        // Single: the repeat fields wait for the box; nothing to delete yet.
        QVERIFY(!combo(w, 0)->isEnabled() && !picker(w, 2)->isEnabled() && !label(w, 3)->isEnabled());
        QVERIFY(label(w, 0)->isHidden());
        QVERIFY(!menuBar(w)->itemEnabled(w->menuItems.del));
        QVERIFY(!toolBar(w)->itemEnabled(w->toolItems.del));
        // Starting values are no change of their own: closing asks nothing.
        w->close();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionAdd, 0, date), true);
    QVERIFY(g_editorShown);
    QCOMPARE(gCurrentView, 8);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    QCOMPARE(scalar("SELECT count(*) FROM tbl_event").toInt(), 0);
}

void TestEventEditor::fieldStatesAndEditItems()
{
    onEditor([](frm_event_detail *w) {
        // All day keeps the time out; reminding in advance needs its lead time.
        QVERIFY(!picker(w, 1)->isEnabled());
        check(w, 2)->click();
        QVERIFY(picker(w, 1)->isEnabled());
        check(w, 2)->click();
        QVERIFY(!picker(w, 1)->isEnabled());
        check(w, 0)->click();
        QVERIFY(!combo(w, 5)->isEnabled());
        check(w, 0)->click();
        QVERIFY(combo(w, 5)->isEnabled());
        check(w, 1)->click();
        QVERIFY(combo(w, 0)->isEnabled() && picker(w, 2)->isEnabled() && label(w, 4)->isEnabled());
        QVERIFY(!label(w, 0)->isHidden());
        w->grab().save(shot("event_editor_repeating.png"));

        // The edit items follow the field the user is in.
        w->activateWindow();
        nameBox(w)->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(gActiveControl.data(), static_cast<QWidget *>(nameBox(w)));
        for (int id : w->menuItems.editItems())
            QVERIFY(menuBar(w)->itemEnabled(id));
        picker(w, 0)->setFocus();
        QCoreApplication::processEvents();
        for (int id : w->menuItems.editItems())
            QVERIFY(!menuBar(w)->itemEnabled(id));
        auto *notes = w->findChild<QWidget *>("txtEvent_notes");
        notes->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(gActiveControl.data(), notes);
        QVERIFY(menuBar(w)->itemEnabled(w->menuItems.paste));
    });
    QCOMPARE(funEventHandler(gMain, ActionAdd, 0, QDate(2003, 4, 15)), true);
    QVERIFY(g_editorShown);
}

void TestEventEditor::repeatDescriptionAndKeys_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("unitId");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("dayOfWeek");
    QTest::addColumn<QString>("dayOfMonth");
    QTest::newRow("weekly on a Tuesday") << QDate(2003, 4, 15) << "Week" << 2 << "(on Tuesdays)"
                                         << "3"
                                         << "April 15";
    QTest::newRow("weekly on a Saturday") << QDate(2003, 4, 19) << "Week" << 2 << "(on Saturdays)"
                                          << "7"
                                          << "April 19";
    QTest::newRow("yearly on 5 January") << QDate(2003, 1, 5) << "Year" << 4 << "(January 5)"
                                         << "5"
                                         << "January 5";
    QTest::newRow("monthly on the 31st") << QDate(2003, 1, 31) << "Month" << 3 << "(Day 31)"
                                         << "31"
                                         << "January 31";
    QTest::newRow("daily") << QDate(2003, 4, 16) << "Day" << 1 << "(Every day)"
                           << "16"
                           << "April 16";
}

void TestEventEditor::repeatDescriptionAndKeys()
{
    QFETCH(QDate, date);
    QFETCH(QString, unit);
    QFETCH(int, unitId);
    QFETCH(QString, description);
    QFETCH(QString, dayOfWeek);
    QFETCH(QString, dayOfMonth);
    long saved = 0;
    onEditor([&](frm_event_detail *w) {
        nameBox(w)->setText("Walk");
        check(w, 1)->click();
        pick(combo(w, 0), unit);
        QCOMPARE(label(w, 0)->text(), description);
        QVERIFY(label(w, 0)->isVisibleTo(w));
        QCOMPARE(label(w, 1)->text(), dayOfWeek);
        toolBar(w)->clickItem(w->toolItems.saveClose);
        QVERIFY(!w->isVisible());
        saved = w->savedRecordID();
    });
    QCOMPARE(funEventHandler(gMain, ActionAdd, 0, date), true);
    QVERIFY(g_editorShown);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    auto rs = gDataDB->openRecordset("SELECT * FROM tbl_event");
    QCOMPARE(rs->recordCount(), 1);
    QCOMPARE(rs->field("event_name").toString(), QString("Walk"));
    QCOMPARE(rs->field("event_date").toString(), dbDate(date));
    QCOMPARE(rs->field("event_end_date").toString(), dbDate(date.addMonths(1)));
    QCOMPARE(rs->field("event_type_repeating").toInt(), -1);
    QCOMPARE(rs->field("event_repeat_every").toInt(), unitId);
    QCOMPARE(rs->field("event_repeat_day_of_week").toString(), dayOfWeek);
    QCOMPARE(rs->field("event_repeat_day_of_month").toString(), dayOfMonth);
    QCOMPARE(rs->field("event_reminder_minutes").toInt(), 30);
    QCOMPARE(rs->field("event_all_day").toInt(), -1);
    QVERIFY(rs->isNull("event_time"));
    QCOMPARE(rs->field("event_acknowledged_date").toString(), kNotAcknowledged);
    QCOMPARE(saved, long(rs->field("event_id").toLongLong()));
}

void TestEventEditor::validation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("repeating");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("until");
    QTest::addColumn<QString>("message"); // "" passes
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("focus");
    const QDate d(2003, 4, 16), none;
    const QString dateMsg = "Please select a Date for this event.";
    QTest::newRow("no name") << "" << false << d << none << "Please enter a name for this event"
                             << "Event Name"
                             << "txtevent_name";
    QTest::newRow("a name of blanks passes") << "  " << false << d << none << ""
                                             << ""
                                             << "";
    QTest::newRow("single with a date, no until") << "Vet" << false << d << none << ""
                                                  << ""
                                                  << "";
    QTest::newRow("single without a date") << "Vet" << false << none << none << dateMsg << "Event Date"
                                           << "DTPickerEvent(0)";
    QTest::newRow("repeating without a date") << "Vet" << true << none << d << dateMsg << "Event Date"
                                              << "DTPickerEvent(0)";
    QTest::newRow("repeating without until")
        << "Vet" << true << d << none
        << "Please select an Until Date for this event, or change to a non repeating event."
        << "Event Date"
        << "DTPickerEvent(2)";
    QTest::newRow("until before the date")
        << "Vet" << true << d << d.addDays(-1) << "Please select an Until Date that is after the event Date."
        << "Event Date"
        << "DTPickerEvent(2)";
    QTest::newRow("until on the date passes") << "Vet" << true << d << d << ""
                                              << ""
                                              << "";
}

void TestEventEditor::validation()
{
    QFETCH(QString, name);
    QFETCH(bool, repeating);
    QFETCH(QDate, date);
    QFETCH(QDate, until);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(QString, focus);
    frm_event_detail w(gMain);
    w.show();
    nameBox(&w)->setText(name);
    check(&w, 1)->setChecked(repeating);
    picker(&w, 0)->setValue(date.isValid() ? QVariant(date) : QVariant());
    picker(&w, 2)->setValue(until.isValid() ? QVariant(until) : QVariant());
    check(&w, 2)->setFocus(); // somewhere else than where a failure leads
    QCOMPARE(funEventHandler(&w, ActionValidate, 0), message.isEmpty());
    if (message.isEmpty()) {
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
        return;
    }
    const auto *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(shown);
    QCOMPARE(shown->text, message);
    QCOMPARE(shown->title, title);
    QCOMPARE(shown->icon, int(ui::Information));
    QCOMPARE(shown->buttons, int(ui::OKOnly));
    auto *target = w.findChild<QWidget *>(focus);
    QVERIFY(target);
    QVERIFY2(target == w.focusWidget() || target->isAncestorOf(w.focusWidget()),
             qPrintable(w.focusWidget() ? w.focusWidget()->objectName() : QString("none")));
}

void TestEventEditor::openingZeroOrAMissingEvent()
{
    onEditor([](frm_event_detail *) {});
    QCOMPARE(funEventHandler(gMain, ActionEdit, 0), false);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));

    const long id = addEvent("Gone", "2003-04-14");
    gDataDB->execute("DELETE FROM tbl_event WHERE event_id = ?", {qlonglong(id)});
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), false);
    QCoreApplication::processEvents();
    QVERIFY(!g_editorShown);
    const auto *shown = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(shown);
    QCOMPARE(shown->text, QString("Event not found, may have been deleted."));
    QCOMPARE(shown->title, QString("Error"));
    QCOMPARE(shown->icon, int(ui::Information));
    QVERIFY(!QApplication::overrideCursor());
}

void TestEventEditor::savesOnlyWhatChanged_data()
{
    QTest::addColumn<QString>("newName"); // "" leaves the name alone
    QTest::addColumn<bool>("written");
    QTest::newRow("untouched") << "" << false;
    QTest::newRow("renamed") << "Long walk" << true;
}

void TestEventEditor::savesOnlyWhatChanged()
{
    QFETCH(QString, newName);
    QFETCH(bool, written);
    // A weekly event acknowledged up to a day: its past walks are done with.
    const QString acknowledged = "2003-04-15 09:00:00";
    const long id = addEvent("Walk", "2003-04-01", true, acknowledged);
    long saved = -7;
    onEditor([&](frm_event_detail *w) {
        QCOMPARE(w->windowTitle(), QString("Walk"));
        QCOMPARE(w->DataDetail->editMode(), int(DataControl::EditInProgress));
        QVERIFY(menuBar(w)->itemEnabled(w->menuItems.del) && toolBar(w)->itemEnabled(w->toolItems.del));
        QCOMPARE(label(w, 0)->text(), QString("(on Tuesdays)"));
        if (!newName.isEmpty())
            nameBox(w)->setText(newName);
        menuBar(w)->clickItem(w->menuItems.saveClose);
        QVERIFY(!w->isVisible());
        saved = w->savedRecordID();
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QVERIFY(g_editorShown);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
    QCOMPARE(scalar("SELECT event_acknowledged_date FROM tbl_event").toString(),
             written ? kNotAcknowledged : acknowledged);
    QCOMPARE(scalar("SELECT event_name FROM tbl_event").toString(), written ? newName : QString("Walk"));
    QCOMPARE(saved, written ? id : 0L);
}

void TestEventEditor::closingWithChangesAsksAndKeepsOpen()
{
    const QString acknowledged = "2003-04-14 08:00:00";
    const long id = addEvent("Vet", "2003-04-14", false, acknowledged);
    auto &dialogs = m_pf->dialogs();

    // No drops the changes and lets the window close.
    onEditor([&](frm_event_detail *w) {
        nameBox(w)->setText("Groomer");
        dialogs.queue(ui::No);
        w->close();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 1);
    const auto &asked = dialogs.shown().front();
    QCOMPARE(asked.text, QString("Save Changes?"));
    QCOMPARE(asked.title, QString("Save Changes"));
    QCOMPARE(asked.buttons, int(ui::YesNo));
    QCOMPARE(asked.icon, int(ui::Question));
    QCOMPARE(scalar("SELECT event_name FROM tbl_event").toString(), QString("Vet"));

    // Yes with an empty name: the name message, and the window stays open once.
    dialogs.clear();
    onEditor([&](frm_event_detail *w) {
        nameBox(w)->setText(QString());
        dialogs.queue(ui::Yes);
        w->close();
        QVERIFY(w->isVisible());
        QVERIFY(!w->mKeepOpen);
        QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 2);
        QCOMPARE(dialogs.shown().back().text, QString("Please enter a name for this event"));
        QCOMPARE(nameBox(w)->text(), QString());
        // Named now, and Yes again: written, and the window goes.
        nameBox(w)->setText("Vet visit");
        dialogs.queue(ui::Yes);
        w->close();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 3);
    QCOMPARE(scalar("SELECT event_name FROM tbl_event").toString(), QString("Vet visit"));
    QCOMPARE(scalar("SELECT event_acknowledged_date FROM tbl_event").toString(), kNotAcknowledged);
}

void TestEventEditor::aWriteTheFileRefusesKeepsTheChanges()
{
    const long id = addEvent("Vet", "2003-04-14");
    QVERIFY(gDataDB->execute("CREATE TRIGGER locked BEFORE UPDATE ON tbl_event "
                             "BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    auto &dialogs = m_pf->dialogs();
    onEditor([&](frm_event_detail *w) {
        nameBox(w)->setText("Vet visit");
        toolBar(w)->clickItem(w->toolItems.saveClose);
        QVERIFY(w->isVisible());
        QCOMPARE(dialogs.last(ui::ScriptedDialogs::Message)->title, QString("Error - subSave"));
        QCOMPARE(nameBox(w)->text(), QString("Vet visit"));
        // Closing writes too, and fails the same way: still open, still typed.
        dialogs.queue(ui::Yes);
        w->close();
        QVERIFY(w->isVisible());
        QCOMPARE(nameBox(w)->text(), QString("Vet visit"));
        QVERIFY(w->DataDetail->dataChanged());
        // Once the file takes it, Save & Close goes through.
        QVERIFY(gDataDB->execute("DROP TRIGGER locked"));
        toolBar(w)->clickItem(w->toolItems.saveClose);
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QCOMPARE(scalar("SELECT event_name FROM tbl_event").toString(), QString("Vet visit"));
}

void TestEventEditor::undoShowsTheStoredRow()
{
    const long id = addEvent("Vet", "2003-04-14");
    onEditor([](frm_event_detail *w) {
        nameBox(w)->setText("Groomer");
        check(w, 1)->click();
        QVERIFY(combo(w, 0)->isEnabled());
        menuBar(w)->clickItem(w->menuItems.undo);
        QCOMPARE(nameBox(w)->text(), QString("Vet"));
        QVERIFY(!check(w, 1)->isChecked());
        QVERIFY(!combo(w, 0)->isEnabled());
        QVERIFY(!w->DataDetail->dataChanged());
        w->close();
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
}

void TestEventEditor::deletesItsOwnRow()
{
    const long id = addEvent("Vet", "2003-04-14");
    addEvent("Groomer", "2003-04-15");
    auto &dialogs = m_pf->dialogs();
    long saved = -7;
    onEditor([&](frm_event_detail *w) {
        dialogs.queue(ui::No);
        toolBar(w)->clickItem(w->toolItems.del);
        QVERIFY(w->isVisible());
        QCOMPARE(dialogs.last(ui::ScriptedDialogs::Message)->title, QString("Confirm Delete"));
        QCOMPARE(scalar("SELECT count(*) FROM tbl_event").toInt(), 2);
        // Pending changes go with the row, without a question.
        nameBox(w)->setText("Vet visit");
        dialogs.queue(ui::Yes);
        menuBar(w)->clickItem(w->menuItems.del);
        QVERIFY(!w->isVisible());
        saved = w->savedRecordID();
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 2);
    QCOMPARE(scalar("SELECT group_concat(event_name) FROM tbl_event").toString(), QString("Groomer"));
    QCOMPARE(saved, 0L);
}

void TestEventEditor::printAsksToSaveFirst()
{
    const long id = addEvent("Vet", "2003-04-14");
    const QString pdf = m_pf->file("event.pdf");
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(pdf);
    auto &dialogs = m_pf->dialogs();
    long saved = -7;
    onEditor([&](frm_event_detail *w) {
        nameBox(w)->setText("Vet visit");
        dialogs.queue(ui::Yes);
        menuBar(w)->clickItem(w->menuItems.print);
        QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 1);
        QCOMPARE(dialogs.shown().front().text, QString("Save Changes?"));
        QCOMPARE(scalar("SELECT event_name FROM tbl_event").toString(), QString("Vet visit"));
        QVERIFY(QFileInfo(pdf).size() > 500);
        QCOMPARE(w->windowTitle(), QString("Vet visit"));
        // Saved: closing has nothing left to ask.
        w->close();
        QVERIFY(!w->isVisible());
        saved = w->savedRecordID();
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 1);
    QCOMPARE(saved, id);
}

void TestEventEditor::aNewEventNotSavedAtPrintStartsAgain()
{
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(m_pf->file("event.pdf"));
    auto &dialogs = m_pf->dialogs();
    onEditor([&](frm_event_detail *w) {
        nameBox(w)->setText("Vet");
        check(w, 1)->click();
        dialogs.queue(ui::No);
        menuBar(w)->clickItem(w->menuItems.print);
        // Not saved: the typing is gone, and the window holds a fresh new
        // event of the same day, ready to be filled in again.
        QCOMPARE(w->DataDetail->editMode(), int(DataControl::EditAdd));
        QCOMPARE(nameBox(w)->text(), QString());
        QVERIFY(!check(w, 1)->isChecked());
        QCOMPARE(picker(w, 0)->Value(), QVariant(QDate(2003, 4, 20)));
        QCOMPARE(combo(w, 5)->Text(), QString("30 minutes"));
        QVERIFY(!toolBar(w)->itemEnabled(w->toolItems.del));
        nameBox(w)->setText("Groomer");
        toolBar(w)->clickItem(w->toolItems.saveClose);
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionAdd, 0, QDate(2003, 4, 20)), true);
    QVERIFY(g_editorShown);
    QCOMPARE(scalar("SELECT group_concat(event_name || ' ' || event_date) FROM tbl_event").toString(),
             QString("Groomer 2003-04-20"));
}

void TestEventEditor::saveAndCloseAfterAnEarlierSaveCloses()
{
    // Print saved the row once; what is typed after it is a change of the
    // same row, and Save & Close writes it and closes as the first time.
    const long id = addEvent("Vet", "2003-04-14");
    funProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    funProgramPrinter().setOutputFileName(m_pf->file("event.pdf"));
    auto &dialogs = m_pf->dialogs();
    onEditor([&](frm_event_detail *w) {
        nameBox(w)->setText("Vet visit");
        dialogs.queue(ui::Yes);
        menuBar(w)->clickItem(6);
        nameBox(w)->setText("Vet check-up");
        toolBar(w)->clickItem(1);
        QCOMPARE(w->windowTitle(), QString("Vet check-up"));
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QCOMPARE(scalar("SELECT event_name FROM tbl_event").toString(), QString("Vet check-up"));
    QCOMPARE(dialogs.count(ui::ScriptedDialogs::Message), 1);
}

void TestEventEditor::startUpSwitchAddsAnEvent()
{
    m_pf.reset();
    m_pf = std::make_unique<ProgramFolder>();
    zbclock::setNow(kNow);
    setCommandArguments({"/add_event"});
    onEditor([](frm_event_detail *w) {
        nameBox(w)->setText("Feed the fish");
        toolBar(w)->clickItem(w->toolItems.saveClose);
    });
    QCOMPARE(Main(), 0);
    QVERIFY(g_editorShown);
    QCOMPARE(scalar("SELECT event_name || ' ' || event_date FROM tbl_event").toString(),
             QString("Feed the fish 2003-04-16"));
}

void TestEventEditor::tabFollowsTheFieldsDownTheWindow()
{
    QStringList chain;
    onEditor([&](frm_event_detail *w) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        check(w, 2)->click(); // at a time: the time field takes part
        picker(w, 1)->checkBox()->click();
        check(w, 1)->click(); // repeating: so do Every and Until
        nameBox(w)->setFocus();
        // A field inside a date picker is named by the picker and its part.
        auto name = [](QWidget *f) {
            if (auto *p = qobject_cast<DatePicker *>(f->parentWidget()))
                return p->objectName() + (f == p->checkBox() ? ".check" : ".date");
            return f->objectName();
        };
        QWidget *f = QApplication::focusWidget();
        for (int i = 0; i < 14 && f; ++i) {
            chain << name(f);
            QTest::keyClick(f, Qt::Key_Tab);
            f = QApplication::focusWidget();
        }
        m_pf->dialogs().queue(ui::No); // "Save Changes?"
        w->close();
    });
    QCOMPARE(funEventHandler(gMain, ActionAdd, 0, QDate(2003, 4, 15)), true);
    m_pf->dialogs().clear();
    const QStringList fieldsDownTheWindow{"txtevent_name",  "DTPickerEvent(0).check", "DTPickerEvent(0).date",
                                          "Check1(2)",      "DTPickerEvent(1).check", "DTPickerEvent(1).date",
                                          "Check1(0)",      "dbcboEvent(5)",          "Check1(1)",
                                          "dbcboEvent(0)",  "DTPickerEvent(2).check", "DTPickerEvent(2).date",
                                          "txtEvent_notes", "txtevent_name"};
    QCOMPARE(chain.join(", "), fieldsDownTheWindow.join(", "));
}

void TestEventEditor::aLongNameIsShortenedInTheTitle()
{
    const QString address = "https://example.org/" + QString(299, 'x');
    const long id = addEvent(address, "2003-04-16");
    QStringList titles;
    onEditor([&](frm_event_detail *w) {
        titles << w->windowTitle();
        QCOMPARE(nameBox(w)->text(), address); // the name itself is whole
        QVERIFY(w->frameGeometry().width() <= w->screen()->availableGeometry().width());
        nameBox(w)->setText("y" + address);
        w->subSave(false, false); // a save names the window anew
        titles << w->windowTitle();
        w->close();
    });
    QCOMPARE(funEventHandler(gMain, ActionEdit, id), true);
    QVERIFY(g_editorShown);
    QCOMPARE(scalar("SELECT event_name FROM tbl_event").toString(), "y" + address);
    QCOMPARE(titles, QStringList({address.left(57) + "...", ("y" + address).left(57) + "..."}));
}

void TestEventEditor::typedDatesAndTimesAreReadWhole_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("field"); // 0 the date, 1 the time of day
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("retyped"); // after a refusal; "" when the first text is read
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored");
    QTest::newRow("afternoon, C locale") << "C" << 1 << "5:30 PM"
                                         << ""
                                         << "5:30 PM"
                                         << "event_time"
                                         << "17:30:00";
    QTest::newRow("afternoon, US") << "en_US" << 1 << "5:30 PM"
                                   << ""
                                   << "5:30 PM"
                                   << "event_time"
                                   << "17:30:00";
    QTest::newRow("24 hours") << "en_US" << 1 << "17:30"
                              << ""
                              << "5:30 PM"
                              << "event_time"
                              << "17:30:00";
    QTest::newRow("morning, lower case") << "C" << 1 << "9:05 am"
                                         << ""
                                         << "9:05 AM"
                                         << "event_time"
                                         << "09:05:00";
    QTest::newRow("not a time") << "C" << 1 << "5:3x PM"
                                << "5:30 PM"
                                << "5:30 PM"
                                << "event_time"
                                << "17:30:00";
    QTest::newRow("date as the hint shows, C") << "C" << 0 << "25 Dec 2026"
                                               << ""
                                               << "25 Dec 2026"
                                               << "event_date"
                                               << "2026-12-25";
    QTest::newRow("ISO date, US") << "en_US" << 0 << "2026-12-25"
                                  << ""
                                  << "12/25/2026"
                                  << "event_date"
                                  << "2026-12-25";
    QTest::newRow("US short date") << "en_US" << 0 << "12/25/26"
                                   << ""
                                   << "12/25/2026"
                                   << "event_date"
                                   << "2026-12-25";
    QTest::newRow("not a date") << "C" << 0 << "31 Feb 2026"
                                << "1 Mar 2026"
                                << "1 Mar 2026"
                                << "event_date"
                                << "2026-03-01";
    // Save pressed while the field still holds what was typed ("!" for no Tab).
    QTest::newRow("saved without leaving the field") << "C" << 1 << "5:30 PM!"
                                                     << ""
                                                     << ""
                                                     << "event_time"
                                                     << "17:30:00";
}

void TestEventEditor::typedDatesAndTimesAreReadWhole()
{
    QFETCH(QString, locale);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, retyped);
    QFETCH(QString, shown);
    QFETCH(QString, column);
    QFETCH(QString, stored);
    QLocale::setDefault(QLocale(locale));
    onEditor([&](frm_event_detail *w) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClicks(nameBox(w), "Vet");
        DatePicker *p = picker(w, field);
        if (field == 1) {
            check(w, 2)->click(); // not all day: at a time
            p->checkBox()->click();
        }
        QDateTimeEdit *edit = p->editor();
        auto *text = edit->findChild<QLineEdit *>();
        QTest::mouseClick(text, Qt::LeftButton, {}, text->rect().center());
        QCOMPARE(QApplication::focusWidget(), edit);
        auto typeOver = [&](QString value) {
            const bool leave = !value.endsWith('!');
            value.remove('!');
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, value);
            QCOMPARE(text->text(), value); // as typed, nothing moved about
            if (leave)
                QTest::keyClick(edit, Qt::Key_Tab);
        };
        typeOver(typed);
        if (shown.isEmpty()) {
            toolBar(w)->clickItem(w->toolItems.saveClose);
            QVERIFY(!w->isVisible());
            return;
        }
        if (!retyped.isEmpty()) {
            // Refused with a message; the field keeps the text and the focus.
            QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
            QVERIFY(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text.contains(typed));
            QCOMPARE(QApplication::focusWidget(), edit);
            QCOMPARE(text->text(), typed);
            typeOver(retyped);
        }
        QVERIFY(QApplication::focusWidget() != edit);
        QCOMPARE(text->text(), shown);
        toolBar(w)->clickItem(w->toolItems.saveClose);
        QVERIFY(!w->isVisible());
    });
    QCOMPARE(funEventHandler(gMain, ActionAdd, 0, QDate(2003, 4, 15)), true);
    QVERIFY(g_editorShown);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), retyped.isEmpty() ? 0 : 1);
    QCOMPARE(scalar("SELECT " + column + " FROM tbl_event WHERE event_name = 'Vet'").toString(), stored);
}

ZORBI_TEST_MAIN(TestEventEditor)
#include "tst_event_editor.moc"
