// The reminder program's start-up, tray menu, timer and end, run in this process.

#include "core/database.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/reminder_control.h"
#include "events/frm_reminder.h"
#include "events/reminders.h"
#include "platform/clock.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_tray.h"
#include "platform/db/database.h"
#include "platform/program_link.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "reminder_window.h"
#include "test_support.h"
#include "tray/frm_systray.h"
#include "tray/main_systray.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QSettings>
#include <QTimer>

using testsupport::onReminderWindow;
using testsupport::ProgramFolder;
using SD = ui::ScriptedDialogs;

class TestReminderProgram : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstCheck_data();
    void firstCheck();
    void checksBeforeTheIconIsShown();
    void secondCopyIsRefused();
    void trayMenu();
    void menuCommands_data();
    void menuCommands();
    void iconClicks();
    void quitMessageEndsTheProgram();
    void unwritableSettingsAreReportedOnce();

private:
    std::unique_ptr<ProgramFolder> m_pf;
    QStringList m_started; // what the shell was asked to open
    int m_ended = 0;
    void addDueEvent();
};

void TestReminderProgram::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    testsupport::resetReminderWindowCount();
    zbclock::setNow(QDateTime(QDate(2026, 12, 10), QTime(12, 0)));
    m_started.clear();
    m_ended = 0;
    // The main program beside this one, as the build puts it there.
    QFile mainProgram(m_pf->file("Zorbi"));
    QVERIFY(mainProgram.open(QIODevice::WriteOnly));
    mainProgram.write("#!/bin/sh\nexit 0\n");
    mainProgram.close();
    QVERIFY(mainProgram.setPermissions(mainProgram.permissions() | QFile::ExeOwner));
    shell::setOpener([this](const QString &target, const QString &parameters, bool) {
        m_started << target + " [" + parameters + "]";
    });
    main_systray::setProcessEnd([this](int code) {
        QCOMPARE(code, 0);
        ++m_ended;
    });
}

void TestReminderProgram::cleanup()
{
    testsupport::stopWatchingReminderWindow();
    // Gives up the program's lock and socket, whatever the test left.
    main_systray::subEndProgram();
    main_systray::setProcessEnd(nullptr);
    shell::setOpener(nullptr);
    setCommandArguments({});
    m_pf.reset();
}

void TestReminderProgram::addDueEvent()
{
    db::DbError err;
    auto data = db::Workspace().openDatabase(m_pf->file("Zorbi.dat"), false, false, funDBConnect(), &err);
    QVERIFY(data);
    QVERIFY(data->execute("INSERT INTO tbl_event (event_name, event_date, event_time) VALUES (?, ?, ?)",
                          {"Vet", "2026-12-10", "09:00:00"}));
}

void TestReminderProgram::firstCheck_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("checksAtStart");
    QTest::newRow("no switch") << QStringList{} << true;
    QTest::newRow("/nocheck") << QStringList{"/nocheck"} << false;
    QTest::newRow("in capitals, after another argument") << QStringList{"-x", "/NoCheck"} << false;
}

void TestReminderProgram::firstCheck()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, checksAtStart);
    addDueEvent();
    setCommandArguments(arguments.isEmpty() ? QStringList{"--"} : arguments);
    onReminderWindow([](frm_reminder *w) { w->reject(); });
    QCOMPARE(main_systray::Main(), -1);
    QVERIFY(gSystray);
    QCOMPARE(testsupport::reminderWindowsShown(), checksAtStart ? 1 : 0);
    QCOMPARE(gNextReminderCheck.isValid(), checksAtStart);
    QCOMPARE(gSystray->Timer1->interval(), 60000);
    QVERIFY(gSystray->Timer1->isActive());
    QVERIFY(!gDataDB && !gSystemDB);

    // The first tick, a minute later, checks when start-up did not; otherwise
    // the next check is still four minutes away.
    zbclock::setNow(QDateTime(QDate(2026, 12, 10), QTime(12, 1)));
    if (!checksAtStart)
        onReminderWindow([](frm_reminder *w) { w->reject(); });
    gSystray->Timer1_Timer();
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
    QCOMPARE(gNextReminderCheck, QDateTime(QDate(2026, 12, 10), QTime(12, checksAtStart ? 5 : 6)));
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));

    // The tray's window goes with the program's other globals.
    QPointer<frm_systray> tray = gSystray;
    resetGlobals();
    QVERIFY(!gSystray);
    QVERIFY(!tray);
}

void TestReminderProgram::checksBeforeTheIconIsShown()
{
    addDueEvent();
    int entries = -1;
    QString tip = "unset";
    onReminderWindow([&](frm_reminder *w) {
        entries = gSystray->ctDropMenu1->entryCount();
        tip = gSystray->ctTray1->toolTip();
        QVERIFY(w->DBCboSnooze->isVisibleTo(w));
        w->reject();
    });
    QCOMPARE(main_systray::Main(), -1);
    QCOMPARE(entries, 0);
    QCOMPARE(tip, QString());
    // Then the menu and the icon, with its tip. Where the desktop has no
    // notification area (as here) nothing shows, and the timer runs on.
    QCOMPARE(gSystray->ctDropMenu1->entryCount(), 9);
    QCOMPARE(gSystray->ctTray1->toolTip(), QString("Reminders - Zorbi 2003"));
    QCOMPARE(gSystray->ctTray1->displayMode(), 1);
    QCOMPARE(gSystray->ctTray1->contextMenu(), gSystray->ctDropMenu1);
    QVERIFY(!gSystray->ctTray1->icon().isNull());
    QVERIFY(gSystray->ctTray1->isShown()); // asked to show; the desktop puts it up when it can
    QCOMPARE(gSystray->windowTitle(), QString("Zorbi 2003 Reminders"));
    QVERIFY(!gSystray->isVisible());
}

void TestReminderProgram::secondCopyIsRefused()
{
    InstanceLock other(QStringLiteral("Zorbi_Reminder"));
    QVERIFY(other.tryLock());
    QCOMPARE(main_systray::Main(), 0);
    QVERIFY(!gSystray);
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(1));
    const auto *m = m_pf->dialogs().last(SD::Message);
    QCOMPARE(m->text, QString("Zorbi 2003 Reminders is already running."));
    QCOMPARE(m->icon, int(ui::Information));
    QCOMPARE(m->buttons, int(ui::OKOnly));
    QCOMPARE(m->title, QString("Zorbi 2003 Reminders"));
    QVERIFY(!proglink::isRunning(funGetReminderTitle())); // it made no socket either
    other.release();
}

void TestReminderProgram::trayMenu()
{
    setCommandArguments({"/nocheck"});
    QCOMPARE(main_systray::Main(), -1);
    CtDropMenu *menu = gSystray->ctDropMenu1;
    QVERIFY(menu->setupFlag());
    QCOMPARE(menu->setupValue(), 0);
    const QStringList captions{"Open Zorbi 2003",  "", "Check Reminders", "Add New Event", "",
                               "About Zorbi 2003", "", "Close Menu",      "Exit"};
    const QList<bool> pictures{true, false, true, true, false, false, false, true, true};
    QCOMPARE(menu->entryCount(), captions.size());
    for (int e = 1; e <= menu->entryCount(); ++e) {
        QCOMPARE(menu->entryCaption(e), captions[e - 1]);
        QCOMPARE(menu->isSeparator(e), captions[e - 1].isEmpty());
        QCOMPARE(!menu->menu()->actions().at(e - 1)->icon().isNull(), pictures[e - 1]);
    }
    QCOMPARE((QList<int>{gMenuOpen, gMenuCheck, gMenuAddEvent, gMenuAbout, gMenuClose, gMenuExit}),
             (QList<int>{1, 3, 4, 6, 8, 9}));
    QCOMPARE(gMenuSeparator, 7);
}

void TestReminderProgram::menuCommands_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("started"); // "" when nothing starts
    QTest::newRow("Open") << "Open Zorbi 2003"
                          << "Zorbi []";
    QTest::newRow("Add New Event") << "Add New Event"
                                   << "Zorbi [/add_event]";
    QTest::newRow("About") << "About Zorbi 2003"
                           << "Zorbi [/about]";
    QTest::newRow("Close Menu") << "Close Menu"
                                << "";
    QTest::newRow("Check Reminders") << "Check Reminders"
                                     << "";
    QTest::newRow("Exit") << "Exit"
                          << "";
}

void TestReminderProgram::menuCommands()
{
    QFETCH(QString, caption);
    QFETCH(QString, started);
    setCommandArguments({"/nocheck"});
    QCOMPARE(main_systray::Main(), -1);
    CtDropMenu *menu = gSystray->ctDropMenu1;
    int entry = 0;
    for (int e = 1; e <= menu->entryCount(); ++e)
        if (menu->entryCaption(e) == caption)
            entry = e;
    QVERIFY(entry);
    menu->triggerEntry(entry);

    const QString program = m_pf->path() + "/";
    QCOMPARE(m_started, started.isEmpty() ? QStringList() : QStringList{program + started});
    // "Check Reminders" checks at once and says when nothing is due.
    if (caption == "Check Reminders") {
        QCOMPARE(m_pf->dialogs().count(SD::Message), 1);
        QCOMPARE(m_pf->dialogs().last(SD::Message)->text, QString("There are no event reminders due at this time."));
        QVERIFY(gNextReminderCheck.isValid());
    } else {
        QCOMPARE(m_pf->dialogs().shown().size(), size_t(0));
        QVERIFY(!gNextReminderCheck.isValid());
    }
    QCOMPARE(m_ended, caption == "Exit" ? 1 : 0);
    if (caption == "Exit") {
        QVERIFY(!gSystray->Timer1->isActive());
        QVERIFY(!gSystray->ctTray1->isShown());
        QVERIFY(!proglink::isRunning(funGetReminderTitle()));
        InstanceLock next(QStringLiteral("Zorbi_Reminder"));
        QVERIFY(next.tryLock()); // a new copy may start at once
    }
}

void TestReminderProgram::iconClicks()
{
    setCommandArguments({"/nocheck"});
    QCOMPARE(main_systray::Main(), -1);
    emit gSystray->ctTray1->buttonNotify(4); // the middle button does nothing
    QVERIFY(m_started.isEmpty());
    emit gSystray->ctTray1->buttonNotify(1);
    QCOMPARE(m_started, QStringList{m_pf->path() + "/Zorbi []"});
}

void TestReminderProgram::quitMessageEndsTheProgram()
{
    addDueEvent();
    setCommandArguments({"/nocheck"});
    QCOMPARE(main_systray::Main(), -1);
    QVERIFY(proglink::isRunning(funGetReminderTitle()));
    QVERIFY(reminder_control::funRemindersRunning());

    // The quit message comes while a check shows its window, with both files open.
    gNextReminderCheck = QDateTime();
    bool filesOpen = false, ended = false;
    onReminderWindow([&](frm_reminder *w) {
        filesOpen = gDataDB && gSystemDB;
        QVERIFY(reminder_control::funRemindersControl(nullptr, 0));
        QTRY_VERIFY(m_ended == 1);
        // The files are closed before the program ends, so the main program
        // can copy the data file at once.
        ended = !gDataDB && !gSystemDB;
        w->reject();
    });
    gSystray->Timer1_Timer();
    QVERIFY(filesOpen);
    QVERIFY(ended);
    QVERIFY(!proglink::isRunning(funGetReminderTitle()));
    QVERIFY(!reminder_control::funRemindersControl(nullptr, 0));
}

ZORBI_TEST_MAIN(TestReminderProgram)
#include "tst_reminder_program.moc"

void TestReminderProgram::unwritableSettingsAreReportedOnce()
{
    // A folder where the settings file belongs: it can be neither read nor written.
    const QString file =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Zorbi 2003", "Zorbi 2003").fileName();
    QVERIFY(QDir().mkpath(file));
    setCommandArguments({"--"});
    QCOMPARE(main_systray::Main(), -1);
    for (int minutes : {6, 12, 18}) {
        zbclock::setNow(QDateTime(QDate(2026, 12, 10), QTime(12, minutes)));
        gSystray->Timer1_Timer();
    }
    QVERIFY(gNextReminderCheck >= QDateTime(QDate(2026, 12, 10), QTime(12, 18))); // it went on checking
    QCOMPARE(m_pf->dialogs().shown().size(), size_t(1));
    QCOMPARE(m_pf->dialogs().last(SD::Message)->text, QString("75: Path/File access error"));
}
