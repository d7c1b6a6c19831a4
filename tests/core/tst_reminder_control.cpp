// The main program's side of the reminder program: running, stopping and
// starting it (a real second process), its autostart entry, and the
// preferences dispatcher.

#include "core/database.h"
#include "core/codes.h"
#include "core/frm_prefs.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/reminder_control.h"
#include "core/settings.h"
#include "events/frm_reminder.h"
#include "platform/autostart.h"
#include "platform/db/database.h"
#include "platform/program_link.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "reminder_window.h"
#include "test_support.h"
#include "tray/frm_systray.h"
#include "tray/main_systray.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QPushButton>
#include <QSignalSpy>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::ProgramFolder;

namespace {

// Puts the runtime and cache folders back as they were.
struct FolderEnvironment {
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    bool hadCache = qEnvironmentVariableIsSet("XDG_CACHE_HOME");
    ~FolderEnvironment()
    {
        qputenv("XDG_RUNTIME_DIR", runtime);
        if (hadCache)
            qputenv("XDG_CACHE_HOME", cache);
        else
            qunsetenv("XDG_CACHE_HOME");
    }
};

struct Owner {
    uid_t uid = 0;
    mode_t mode = 0;
};
Owner ownerOf(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {uid_t(-1), 0};
    return {st.st_uid, mode_t(st.st_mode & 07777)};
}

bool giveAway(const QString &path) { return ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0; }
bool setMode(const QString &path, mode_t mode) { return ::chmod(QFile::encodeName(path).constData(), mode) == 0; }

} // namespace
using SD = ui::ScriptedDialogs;
using reminder_control::funAutoStartIsOn;
using reminder_control::funRegistryDelVal;
using reminder_control::funRegistryGetVal;
using reminder_control::funRemindersControl;
using reminder_control::subAutoStartOff;
using reminder_control::subAutoStartOn;

class TestReminderControl : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void linkAnswersAndQuits();
    void runtimeFolderIsPrivate_data();
    void runtimeFolderIsPrivate();
    void noPrivateFolderRefusesToStart();
    void bothProgramsAgreeWithoutRuntimeFolder();
    void controlActions();
    void prefsHandler();

    void execLineRoundTrip_data();
    void execLineRoundTrip();
    void autoStartOnAndOff();
    void autoStartWhereTheFolderCannotBeWritten();

    void realReminderProgram();
    void quitDuringItsReminderWindowLosesNothing();

private:
    bool copyReminderProgram(const ProgramFolder &pf);
    void endStrayReminderProgram();
    QByteArray m_config = qgetenv("XDG_CONFIG_HOME");
};

void TestReminderControl::cleanup()
{
    endStrayReminderProgram();
    qputenv("XDG_CONFIG_HOME", m_config);
    testsupport::stopWatchingReminderWindow();
    shell::setOpener(nullptr);
    resetSubjectRoutines();
    setCommandArguments({});
}

// ---- The link ----

void TestReminderControl::linkAnswersAndQuits()
{
    ProgramFolder pf;
    const QString title = funGetReminderTitle();
    QCOMPARE(title, QString("Zorbi 2003 Reminders"));
    QVERIFY(!funRemindersRunning());
    QVERIFY(!funRemindersControl(nullptr, 0)); // nobody to tell, nothing happens

    // A socket left by a copy that died answers nothing, and is taken over.
    QFile stale(proglink::socketPath(title));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    QVERIFY(!funRemindersRunning());

    proglink::Listener listener(title);
    QVERIFY(listener.listen());
    QSignalSpy quits(&listener, &proglink::Listener::quitRequested);
    QVERIFY(funRemindersRunning());
    QTest::qWait(20);
    QCOMPARE(quits.count(), 0); // asking whether it runs does not stop it
    QVERIFY(funRemindersControl(nullptr, 0));
    QTRY_COMPARE(quits.count(), 1);

    // Only the user's own runtime folder holds the socket.
    QVERIFY(proglink::socketPath(title).startsWith(InstanceLock::runtimeFolder() + "/"));
    listener.close();
    QVERIFY(!funRemindersRunning());
}

// The lock and the socket live in a folder only this user can open: the runtime
// folder when it is one, else a private folder in the user's cache; never a
// shared one, where another user's file would pass for a running copy.
void TestReminderControl::runtimeFolderIsPrivate_data()
{
    QTest::addColumn<QString>("runtime"); // "@" = the test's folder; "-" = unset
    QTest::addColumn<bool>("used");
    QTest::newRow("private") << "@/run" << true;
    QTest::newRow("unset") << "-" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("relative") << "run" << false;
    QTest::newRow("missing") << "@/gone" << false;
    QTest::newRow("world-writable") << "@/open" << false;
    QTest::newRow("shared /tmp") << "/tmp" << false;
    QTest::newRow("readable by the group") << "@/group" << false;
    QTest::newRow("another user's") << "@/theirs" << false;
    QTest::newRow("a file") << "@/file" << false;
    QTest::newRow("a link to a private folder") << "@/link" << false;
}

void TestReminderControl::runtimeFolderIsPrivate()
{
    QFETCH(QString, runtime);
    QFETCH(bool, used);
    FolderEnvironment restore;
    QTemporaryDir dir;
    for (const char *name : {"run", "open", "group", "theirs"})
        QVERIFY(QDir(dir.path()).mkdir(name));
    QVERIFY(setMode(dir.filePath("run"), 0700));
    QVERIFY(setMode(dir.filePath("open"), 0777));
    QVERIFY(setMode(dir.filePath("group"), 0750));
    QVERIFY(setMode(dir.filePath("theirs"), 0700));
    if (runtime == "@/theirs" && !giveAway(dir.filePath("theirs")))
        QSKIP("a folder cannot be given to another user here");
    QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(dir.filePath("run"), dir.filePath("link")));
    runtime.replace("@", dir.path());
    if (runtime == "-")
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));

    const QString expected = used ? runtime : dir.filePath("cache/zorbi-runtime");
    QString why;
    QCOMPARE(InstanceLock::runtimeFolder(&why), expected);
    QVERIFY(why.isEmpty());
    const Owner made = ownerOf(expected);
    QCOMPARE(made.uid, ::geteuid());
    QCOMPARE(made.mode, mode_t(0700));
    QCOMPARE(ownerOf(dir.filePath("open")).mode, mode_t(0777)); // a folder not ours to mend is left alone

    // The lock and the socket of both programs are there.
    for (const QString &path : {InstanceLock::lockPath("Zorbi"), InstanceLock::lockPath("Zorbi_Reminder"),
                                proglink::socketPath(funGetReminderTitle())})
        QCOMPARE(QFileInfo(path).absolutePath(), expected);
    InstanceLock lock(QStringLiteral("Zorbi"));
    QVERIFY(lock.tryLock());
    QVERIFY(QFile::exists(expected + "/Zorbi.lock"));
    lock.release();
    proglink::Listener listener(funGetReminderTitle());
    QVERIFY(listener.listen());
    QVERIFY(proglink::isRunning(funGetReminderTitle()));
    listener.close();
}

void TestReminderControl::noPrivateFolderRefusesToStart()
{
    FolderEnvironment restore;
    QTemporaryDir dir;
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
    const QString fallback = dir.filePath("cache/zorbi-runtime");

    // One of ours that lost its mode is made private again.
    QVERIFY(QDir().mkpath(fallback));
    QVERIFY(setMode(fallback, 0777));
    QCOMPARE(InstanceLock::runtimeFolder(), fallback);
    QCOMPARE(ownerOf(fallback).mode, mode_t(0700));

    // A cache folder that others may change is not used.
    QVERIFY(setMode(dir.filePath("cache"), 0777));
    QString why;
    QCOMPARE(InstanceLock::runtimeFolder(&why), QString());
    QCOMPARE(why, dir.filePath("cache") + " can be changed by other users.");
    QVERIFY(setMode(dir.filePath("cache"), 0700));

    // Another user's folder there: neither program starts, and each says why.
    if (!giveAway(fallback))
        QSKIP("a folder cannot be given to another user here");
    QCOMPARE(InstanceLock::runtimeFolder(&why), QString());
    QCOMPARE(why, fallback + " belongs to another user.");
    QCOMPARE(InstanceLock::lockPath("Zorbi"), QString());
    QCOMPARE(proglink::socketPath(funGetReminderTitle()), QString());
    QVERIFY(!funRemindersRunning());
    QVERIFY(!funRemindersControl(nullptr, 0));

    ProgramFolder pf;
    QCOMPARE(Main(), 1);
    QCOMPARE(main_systray::Main(), 1);
    ui::setDefaultTitle(funGetAppTitle()); // the reminder program's start set its own
    QCOMPARE(pf.dialogs().count(SD::Message), 2);
    const QString reason = "There is no private folder for its lock: " + fallback + " belongs to another user.";
    QCOMPARE(pf.dialogs().shown()[0].text, "Zorbi 2003 cannot start. " + reason);
    QCOMPARE(pf.dialogs().shown()[0].icon, int(ui::Critical));
    QCOMPARE(pf.dialogs().shown()[1].text, "Zorbi 2003 Reminders cannot start. " + reason);
    QVERIFY(!gSystemDB && !gDataDB && !gSystray);
}

// Without a runtime folder both programs still find each other, in the same
// private folder, across processes.
void TestReminderControl::bothProgramsAgreeWithoutRuntimeFolder()
{
    FolderEnvironment restore;
    ProgramFolder pf;
    if (!copyReminderProgram(pf))
        QSKIP("the reminder program has not been built");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(pf.file("cache")));
    // Told to go while it can still be found, whatever happens below.
    auto quit = qScopeGuard([] { proglink::postQuit(funGetReminderTitle()); });
    QVERIFY(!funRemindersRunning());
    QVERIFY(funRemindersControl(nullptr, 1, "/nocheck"));
    QTRY_VERIFY_WITH_TIMEOUT(funRemindersRunning(), 20000);
    QVERIFY(QFile::exists(pf.file("cache/zorbi-runtime/Zorbi_Reminder.lock")));
    QVERIFY(funRemindersControl(nullptr, 0));
    InstanceLock lock(QStringLiteral("Zorbi_Reminder"));
    QVERIFY(lock.tryLock(10000)); // it heard the quit and ended
    lock.release();
}

void TestReminderControl::controlActions()
{
    ProgramFolder pf;
    QStringList opened;
    shell::setOpener([&](const QString &target, const QString &parameters, bool isProgram) {
        opened << QString("%1 [%2] %3").arg(target, parameters).arg(isProgram);
    });
    // A program in the program folder, as the build puts it there.
    QFile program(pf.file("Zorbi_Reminder"));
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\nexit 0\n");
    program.close();
    program.setPermissions(program.permissions() | QFile::ExeOwner);

    QVERIFY(funRemindersControl(nullptr, 1, "/nocheck"));
    QVERIFY(funRemindersControl(nullptr, 1));
    QVERIFY(!funRemindersControl(nullptr, 2, "/nocheck"));
    QVERIFY(!funRemindersControl(nullptr, -1));
    QCOMPARE(opened, (QStringList{pf.file("Zorbi_Reminder") + " [/nocheck] 1", pf.file("Zorbi_Reminder") + " [] 1"}));
    QCOMPARE(funGetReminderProgram(), pf.file("Zorbi_Reminder"));
}

void TestReminderControl::prefsHandler()
{
    ProgramFolder pf;
    QVERIFY(!reminder_control::funPrefsHandler(nullptr, ActionEdit, 1));
    QCOMPARE(pf.dialogs().count(SD::Message), 1);
    const auto *m = pf.dialogs().last(SD::Message);
    QCOMPARE(m->text, QString("Invalid function specified in funPrefsHandler"));
    QCOMPARE(m->buttons, int(ui::OKOnly));
    QCOMPARE(m->title, QString("Zorbi 2003"));
    // The main window reaches it through the installed routines.
    QVERIFY(!::funPrefsHandler(nullptr, ActionPrint, 1));
    QCOMPARE(pf.dialogs().count(SD::Message), 2);
    // Code 5 shows the preferences window and answers True once it is closed.
    QPointer<QTimer> t = testsupport::onModal<frm_prefs>([](frm_prefs *w) { w->cmdPrefs[3]->click(); });
    QVERIFY(reminder_control::funPrefsHandler(nullptr, ActionShow, 2));
    delete t;
    QCOMPARE(pf.dialogs().count(SD::Message), 2);
}

// ---- Autostart ----

void TestReminderControl::execLineRoundTrip_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec"); // as written after Exec=
    QTest::newRow("plain") << "/opt/zorbi/Zorbi_Reminder"
                           << R"("/opt/zorbi/Zorbi_Reminder")";
    QTest::newRow("blanks") << "/home/ann/My Programs/Zorbi 2003/Zorbi_Reminder"
                            << R"("/home/ann/My Programs/Zorbi 2003/Zorbi_Reminder")";
    QTest::newRow("quote and dollar") << R"(/home/ann/"best" $pets/Zorbi_Reminder)"
                                      << R"("/home/ann/\\"best\\" \\$pets/Zorbi_Reminder")";
    QTest::newRow("backslash") << R"(/home/ann/a\b/Zorbi_Reminder)"
                               << R"("/home/ann/a\\\\b/Zorbi_Reminder")";
    QTest::newRow("percent") << "/home/ann/100% pets/Zorbi_Reminder"
                             << R"("/home/ann/100%% pets/Zorbi_Reminder")";
    QTest::newRow("backquote") << "/home/ann/`x`/Zorbi_Reminder"
                               << R"("/home/ann/\\`x\\`/Zorbi_Reminder")";
}

void TestReminderControl::execLineRoundTrip()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(autostart::execLine({program}), exec);
    QCOMPARE(autostart::execArguments(exec), QStringList{program});
    QCOMPARE(autostart::execArguments(autostart::execLine({program, "/nocheck"})), (QStringList{program, "/nocheck"}));
}

void TestReminderControl::autoStartOnAndOff()
{
    ProgramFolder pf;
    // A program folder with blanks in its path.
    const QString folder = pf.file("My Programs/Zorbi 2003");
    QVERIFY(QDir().mkpath(folder));
    setProgramFolder(folder);
    const QString entry = autostart::folder() + "/Zorbi-2003.desktop";
    QCOMPARE(autostart::entryPath("Zorbi 2003"), entry);
    QCOMPARE(autostart::folder(), qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart");
    QFile::remove(entry);

    QVERIFY(!funAutoStartIsOn());
    subAutoStartOn();
    QCOMPARE(pf.dialogs().shown().size(), size_t(0));
    QVERIFY(funAutoStartIsOn());
    QCOMPARE(funRegistryGetVal("Zorbi 2003"), folder + "/Zorbi_Reminder");
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    file.close();
    QVERIFY2(text.startsWith("[Desktop Entry]\nType=Application\n"), qPrintable(text));
    QVERIFY2(text.contains("\nExec=\"" + folder + "/Zorbi_Reminder\"\n"), qPrintable(text));
    // Turning it on twice leaves one entry.
    subAutoStartOn();
    QCOMPARE(QDir(autostart::folder()).entryList(QDir::Files), QStringList{"Zorbi-2003.desktop"});

    subAutoStartOff();
    QVERIFY(!QFile::exists(entry));
    QVERIFY(!funAutoStartIsOn());
    QVERIFY(funRegistryDelVal("Zorbi 2003")); // nothing left to remove
    // An entry that cannot be removed is said to be there still.
    QVERIFY(QDir().mkpath(entry + "/stuck"));
    QVERIFY(!funRegistryDelVal("Zorbi 2003"));
    QVERIFY(QDir(entry).removeRecursively());
}

void TestReminderControl::autoStartWhereTheFolderCannotBeWritten()
{
    ProgramFolder pf;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    // A file where the autostart folder should be: not even the administrator can write there.
    QVERIFY(QDir().mkpath(pf.file("config")));
    QFile blocker(pf.file("config/autostart"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(pf.file("config")));

    subAutoStartOn();
    const auto &shown = pf.dialogs().shown();
    QCOMPARE(shown.size(), size_t(2));
    QCOMPARE(shown[0].title, QString("Error - funRegistrySetVal"));
    QVERIFY2(shown[0].text.startsWith("75: "), qPrintable(shown[0].text));
    QCOMPARE(shown[1].text,
             "Zorbi was unable to configure Zorbi Reminders to start automatically when you start your computer. "
             "To accomplish this yourself, simply copy '"
                 + pf.file("Zorbi_Reminder")
                 + "' to your Startup Program Group. Be sure to only copy this file, do not move it.");
    QCOMPARE(shown[1].buttons, int(ui::OKOnly));
    QCOMPARE(shown[1].title, QString("Zorbi 2003"));
    QVERIFY(!funAutoStartIsOn());

    // Without the variable, the user's own ~/.config.
    qputenv("XDG_CONFIG_HOME", "");
    QCOMPARE(autostart::folder(), QDir::homePath() + "/.config/autostart");
    qputenv("XDG_CONFIG_HOME", "relative/path");
    QCOMPARE(autostart::folder(), QDir::homePath() + "/.config/autostart");
    qputenv("XDG_CONFIG_HOME", saved);
}

// ---- The real reminder program ----

bool TestReminderControl::copyReminderProgram(const ProgramFolder &pf)
{
    const QString built = qEnvironmentVariable("ZORBI_PROGRAM_DIR") + "/Zorbi_Reminder";
    if (!QFile::exists(built))
        return false;
    // A copy in the test's program folder uses that folder's files, and settings
    // of its own, which start empty.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(pf.file("config")));
    QFile::remove(pf.file("Zorbi_Reminder"));
    if (!QFile::copy(built, pf.file("Zorbi_Reminder")))
        return false;
    return QFile::setPermissions(pf.file("Zorbi_Reminder"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestReminderControl::endStrayReminderProgram()
{
    // Asks a copy this test started to go; one that does not answer is ended by
    // the process id its lock names.
    proglink::postQuit(funGetReminderTitle());
    InstanceLock lock(QStringLiteral("Zorbi_Reminder"));
    if (lock.tryLock(5000)) {
        lock.release();
        return;
    }
    QLockFile file(InstanceLock::lockPath(QStringLiteral("Zorbi_Reminder")));
    qint64 pid = 0;
    QString host, app;
    if (file.getLockInfo(&pid, &host, &app) && pid > 0 && app.contains("Zorbi_Reminder")) {
        qWarning("ending the reminder program %lld, which did not quit", pid);
        ::kill(pid_t(pid), SIGKILL);
    }
}

void TestReminderControl::realReminderProgram()
{
    ProgramFolder pf;
    if (!copyReminderProgram(pf))
        QSKIP("the reminder program has not been built");
    funPref_Set("AutomaticBackup", "0");
    QVERIFY(!funRemindersRunning());

    QVERIFY(funRemindersControl(nullptr, 1, "/nocheck"));
    QTRY_VERIFY_WITH_TIMEOUT(funRemindersRunning(), 20000);

    // One copy per user, across processes.
    QCOMPARE(main_systray::Main(), 0);
    QCOMPARE(pf.dialogs().last(SD::Message)->text, QString("Zorbi 2003 Reminders is already running."));
    pf.dialogs().clear();

    // The main program starts without a check of its own while it runs...
    db::DbError err;
    {
        auto data = db::Workspace().openDatabase(pf.file("Zorbi.dat"), false, false, funDBConnect(), &err);
        QVERIFY(data);
        QVERIFY(data->execute("INSERT INTO tbl_event (event_name, event_date) VALUES ('Vet', '2000-01-01')"));
    }
    testsupport::resetReminderWindowCount();
    testsupport::onReminderWindow([](frm_reminder *w) { w->reject(); });
    QCOMPARE(Main(), -1);
    QCOMPARE(testsupport::reminderWindowsShown(), 0);
    subExitProcedure();
    resetGlobals();

    // ...is stopped by the quit message, and a new copy may start at once, as
    // after a backup.
    QVERIFY(funRemindersControl(nullptr, 0));
    QVERIFY(funRemindersControl(nullptr, 1, "/nocheck"));
    QTRY_VERIFY_WITH_TIMEOUT(funRemindersRunning(), 20000);
    QVERIFY(funRemindersControl(nullptr, 0));
    QTRY_VERIFY_WITH_TIMEOUT(!funRemindersRunning(), 20000);
    InstanceLock lock(QStringLiteral("Zorbi_Reminder"));
    QVERIFY(lock.tryLock(10000)); // the program has ended
    lock.release();

    // ...and without it, the main program checks once itself.
    testsupport::onReminderWindow([](frm_reminder *w) { w->reject(); });
    QCOMPARE(Main(), -1);
    QCOMPARE(testsupport::reminderWindowsShown(), 1);
    subExitProcedure();
}

void TestReminderControl::quitDuringItsReminderWindowLosesNothing()
{
    ProgramFolder pf;
    if (!copyReminderProgram(pf))
        QSKIP("the reminder program has not been built");
    db::DbError err;
    {
        auto data = db::Workspace().openDatabase(pf.file("Zorbi.dat"), false, false, funDBConnect(), &err);
        QVERIFY(data);
        QVERIFY(data->execute("INSERT INTO tbl_event (event_name, event_date) VALUES ('Vet', '2000-01-01')"));
    }
    // Started without a switch, it checks at once and waits in its reminder window.
    QVERIFY(funRemindersControl(nullptr, 1));
    QTRY_VERIFY_WITH_TIMEOUT(funRemindersRunning(), 20000);
    QTest::qWait(500);
    QVERIFY(funRemindersControl(nullptr, 0));
    InstanceLock lock(QStringLiteral("Zorbi_Reminder"));
    QVERIFY(lock.tryLock(10000));
    lock.release();

    // The data file is free at once (nothing holds it, not even shared), and
    // nothing was written to it.
    auto data = db::Workspace().openDatabase(pf.file("Zorbi.dat"), true, false, funDBConnect(), &err);
    QVERIFY2(data, qPrintable(err.description));
    auto rs = data->openRecordset("SELECT event_acknowledged_date FROM tbl_event");
    QVERIFY(rs && !rs->isEOF());
    QCOMPARE(rs->field(0).toString(), QString("1900-01-01 00:00:00"));
}

ZORBI_TEST_MAIN(TestReminderControl)
#include "tst_reminder_control.moc"
