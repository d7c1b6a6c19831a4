// The backup of the data file, the exit's backup prompt and the About box,
// on real files in a temporary program folder.

#include "core/backup.h"
#include "core/database.h"
#include "core/frm_about.h"
#include "core/frm_backup.h"
#include "core/frm_controls.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/reminder_control.h"
#include "core/settings.h"
#include "platform/db/database.h"
#include "platform/program_link.h"
#include "platform/shell.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

using testsupport::ProgramFolder;
using SD = ui::ScriptedDialogs;

namespace {

const QString kRefusal =
    QStringLiteral("The file you have selected is your current Zorbi data file. Please save to a different file name.");

// Both files of the program folder open, as the running program has them.
bool openBoth(const ProgramFolder &pf)
{
    gPicturePath = pf.file("Pictures") + "/";
    return funOpen_SystemDB(nullptr, pf.file("Zorbi.sys")) && funOpen_DataDB(nullptr, pf.file("Zorbi.dat"));
}

bool addPet(const QString &name)
{
    return gDataDB->execute("INSERT INTO tbl_pet (pet_name, pet_species_id) VALUES (?, 1)", {name});
}

// The pets' names in a backup, opened as a data file; "!" and the error when it will not open.
QStringList petsIn(const QString &file)
{
    db::DbError err;
    auto copy = db::Workspace().openDatabase(file, false, true, funDBConnect(), &err, db::kDataFileId);
    if (!copy)
        return {"!" + QString::number(err.number) + " " + err.description};
    QStringList names;
    auto rs = copy->openRecordset("SELECT pet_name FROM tbl_pet ORDER BY pet_id");
    for (; rs && !rs->isEOF(); rs->moveNext())
        names << rs->field("pet_name").toString();
    return names;
}

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whatever a backup writes besides the target: its copy and the copy's journals.
QStringList temporaries(const QString &folder)
{
    return QDir(folder).entryList({"*.tmp", "*.tmp-*"}, QDir::Files | QDir::Hidden);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

QString successText(const QString &target)
{
    return "Your data file \"" + gDataDBPath + "\" has been backed up to \"" + target
           + "\".\nPlease remember that this backup DOES NOT backup any of your picture files, due to the "
             "large size of picture files.\n\nYour pictures are stored in folder \""
           + gPicturePath + "\".\n\nPlease be sure to backup the picture files in this folder up manually.";
}

// The reminder program's end of the link, in this process: it ends a moment
// after it was told, as the real one does once it has closed its files.
struct ReminderStandIn {
    proglink::Listener listener{funGetReminderTitle()};
    bool told = false;
    bool filesOpenWhenItEnded = false;
    bool end = true;
    ReminderStandIn()
    {
        listener.listen();
        QObject::connect(&listener, &proglink::Listener::quitRequested, &listener, [this] {
            told = true;
            if (end)
                QTimer::singleShot(300, &listener, [this] {
                    filesOpenWhenItEnded = gDataDB && gSystemDB;
                    listener.close();
                });
        });
    }
};

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void cleanup();

    void backsUpAndReopens();
    void startFolder_data();
    void startFolder();
    void liveFilesAreRefused_data();
    void liveFilesAreRefused();
    void refusalAsksAgainAndClosesNothing();
    void cancelChangesNothing();
    void oldBackupIsReplaced();
    void failureKeepsOldBackup_data();
    void failureKeepsOldBackup();
    void failedCopyLeavesNothing();
    void staleTemporariesAreRemoved();
    void unusableFolderIsToldFirst_data();
    void unusableFolderIsToldFirst();
    void readOnlyFolder();
    void fileLockedByAnotherEndsTheProgram();
    void filesThatCannotBeReopenedEndTheProgram();
    void reminderProgramStoppedAndStartedAgain_data();
    void reminderProgramStoppedAndStartedAgain();
    void otherWindowsAreClosed();

    void promptButtons();
    void promptAtExit();
    void versionText_data();
    void versionText();
    void aboutBox();

private:
    QStringList m_started;
    void recordStarts();
};

void TestBackup::cleanup()
{
    backup::setFailureHook(nullptr);
    backup::setEndProcess(nullptr);
    shell::setOpener(nullptr);
    resetSubjectRoutines();
    m_started.clear();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->close();
}

void TestBackup::recordStarts()
{
    shell::setOpener([this](const QString &target, const QString &parameters, bool isProgram) {
        m_started << QString("%1 [%2] %3").arg(target, parameters).arg(isProgram);
    });
}

void TestBackup::backsUpAndReopens()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    QVERIFY(addPet("Rex") && addPet("Tiddles"));
    funPref_Set("BackupCount", "7");
    const QString target = pf.file("copies/Pets.dat");
    QVERIFY(QDir().mkpath(pf.file("copies")));
    pf.dialogs().queue(target);

    subBackupDatabase(gControls, true); // as the menu calls it
    QCOMPARE(petsIn(target), (QStringList{"Rex", "Tiddles"}));
    QVERIFY(gDataDB && gDataDB->isOpen() && gSystemDB && gSystemDB->isOpen());
    QVERIFY(addPet("Fido")); // the program goes on working on the reopened files
    QCOMPARE(funPref_Get("BackupCount"), QString("1"));
    QCOMPARE(QDir(pf.file("copies")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"Pets.dat"}); // no temporary left

    const auto &shown = pf.dialogs().shown();
    QCOMPARE(shown.size(), size_t(2));
    QCOMPARE(shown[0].kind, SD::File);
    QCOMPARE(shown[0].file.title, QString("Backup Zorbi data file to"));
    QCOMPARE(shown[0].file.filter, QString("Zorbi data files (*.dat)|*.dat|All Files (*.*)|*.*"));
    QCOMPARE(shown[0].file.defaultExt, QString("*.dat"));
    QCOMPARE(shown[0].file.fileName, QString());
    QVERIFY(shown[0].file.save);
    QVERIFY(shown[0].file.overwritePrompt); // an existing file is replaced only when the user says so
    QCOMPARE(shown[1].text, successText(target));
    QCOMPARE(shown[1].title, QString("Backup message"));
    QCOMPARE(shown[1].icon, int(ui::Information));
    QCOMPARE(shown[1].buttons, int(ui::OKOnly));
    QVERIFY(!QApplication::overrideCursor());
}

void TestBackup::startFolder_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("temp"); // "-" unset
    QTest::addColumn<QString>("expected");
    QTest::newRow("the setting") << "/srv/backups"
                                 << "/var/tmp"
                                 << "/srv/backups";
    QTest::newRow("TEMP") << ""
                          << "/var/tmp"
                          << "/var/tmp";
    QTest::newRow("neither") << ""
                             << "-" << QDir::tempPath();
    // "@" is the program folder, which holds the file.
    QTest::newRow("a file, not a folder") << "@/notes.txt"
                                          << "/var/tmp"
                                          << "@";
}

void TestBackup::startFolder()
{
    QFETCH(QString, setting);
    QFETCH(QString, temp);
    QFETCH(QString, expected);
    ProgramFolder pf;
    const QByteArray saved = qgetenv("TEMP");
    const bool had = qEnvironmentVariableIsSet("TEMP");
    auto restore = qScopeGuard([&] { had ? qputenv("TEMP", saved) : qunsetenv("TEMP"); });
    temp == "-" ? qunsetenv("TEMP") : qputenv("TEMP", QFile::encodeName(temp));
    setting.replace("@", pf.path());
    expected.replace("@", pf.path());
    if (setting.startsWith(pf.path()))
        writeFile(setting, "the user's notes");
    if (!setting.isEmpty())
        funPref_Set("BackupFolder", setting);
    QVERIFY(openBoth(pf));
    backup::subBackupDatabase(nullptr, true); // cancelled
    QCOMPARE(pf.dialogs().last(SD::File)->file.initialDir, expected);
}

// Any spelling of a live file is refused; other files are not.
void TestBackup::liveFilesAreRefused_data()
{
    QTest::addColumn<QString>("target"); // "@" = the program folder, "=" = the test's other folder
    QTest::addColumn<bool>("refused");
    QTest::newRow("the data file") << "@/Zorbi.dat" << true;
    QTest::newRow("relative") << "Zorbi.dat" << true;
    QTest::newRow("dot and dot-dot") << "@/Pictures/.././Zorbi.dat" << true;
    QTest::newRow("a link to it") << "=/link.dat" << true;
    QTest::newRow("through a linked folder") << "=/folder/Zorbi.dat" << true;
    QTest::newRow("a hard link") << "=/hard.dat" << true;
    QTest::newRow("the system file") << "@/Zorbi.sys" << true;
    QTest::newRow("system file, relative") << "./Pictures/../Zorbi.sys" << true;
    QTest::newRow("the data file's journal") << "@/Zorbi.dat-wal" << true;
    QTest::newRow("its shared memory") << "=/folder/Zorbi.dat-shm" << true;
    QTest::newRow("the system file's journal") << "@/Zorbi.sys-journal" << true;
    QTest::newRow("another case is another file") << "@/zorbi.DAT" << false;
    QTest::newRow("a new file") << "@/Backup.dat" << false;
    QTest::newRow("a link to nowhere") << "=/dangling.dat" << false;
}

void TestBackup::liveFilesAreRefused()
{
    QFETCH(QString, target);
    QFETCH(bool, refused);
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    QTemporaryDir other;
    QVERIFY(QFile::link(pf.file("Zorbi.dat"), other.filePath("link.dat")));
    QVERIFY(QFile::link(pf.path(), other.filePath("folder")));
    QVERIFY(QFile::link(pf.file("gone.dat"), other.filePath("dangling.dat")));
    QVERIFY(::link(QFile::encodeName(pf.file("Zorbi.dat")).constData(),
                   QFile::encodeName(other.filePath("hard.dat")).constData())
            == 0);
    const QString cwd = QDir::currentPath();
    auto back = qScopeGuard([&] { QDir::setCurrent(cwd); });
    QVERIFY(QDir::setCurrent(pf.path()));
    target.replace("@", pf.path()).replace("=", other.path());
    QCOMPARE(backup::funIsLiveFile(target), refused);
}

// A live file brings the message and the dialog again; the next choice is used.
void TestBackup::refusalAsksAgainAndClosesNothing()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    QVERIFY(addPet("Rex"));
    QTemporaryDir other;
    QVERIFY(QFile::link(pf.file("Zorbi.dat"), other.filePath("link.dat")));
    const db::Database *data = gDataDB.get();
    const QByteArray system = bytesOf(pf.file("Zorbi.sys"));
    pf.dialogs().queue(other.filePath("link.dat"));
    pf.dialogs().queue(QVariant()); // the refusal's OK
    pf.dialogs().queue(pf.file("Zorbi.sys"));
    pf.dialogs().queue(QVariant());
    pf.dialogs().queue(pf.file("Good.dat"));
    backup::subBackupDatabase(nullptr, true);

    const auto &shown = pf.dialogs().shown();
    QCOMPARE(shown.size(), size_t(6));
    for (int i : {1, 3}) {
        QCOMPARE(shown[i].text, kRefusal);
        QCOMPARE(shown[i].title, QString("Backup error"));
        QCOMPARE(shown[i].icon, int(ui::Exclamation));
        QCOMPARE(shown[i].buttons, int(ui::OKOnly));
    }
    QCOMPARE(pf.dialogs().count(SD::File), 3);
    QCOMPARE(shown[5].title, QString("Backup message"));
    QVERIFY(gDataDB.get() != data); // closed and reopened only for the good one
    QCOMPARE(bytesOf(pf.file("Zorbi.sys")), system);
    QCOMPARE(petsIn(pf.file("Zorbi.dat")), QStringList{"Rex"});
    QCOMPARE(petsIn(pf.file("Good.dat")), QStringList{"Rex"});
    QVERIFY(QFileInfo(other.filePath("link.dat")).isSymLink());
}

void TestBackup::cancelChangesNothing()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    funPref_Set("BackupCount", "3");
    ReminderStandIn reminder;
    recordStarts();
    QDialog window;
    window.setObjectName("frm_other");
    window.show();
    const db::Database *data = gDataDB.get();
    const db::Database *system = gSystemDB.get();

    backup::subBackupDatabase(nullptr, true);
    QCOMPARE(pf.dialogs().shown().size(), size_t(1));
    QVERIFY(gDataDB.get() == data && gSystemDB.get() == system);
    QVERIFY(window.isVisible());
    QVERIFY(!reminder.told);
    QVERIFY(m_started.isEmpty());
    QCOMPARE(funPref_Get("BackupCount"), QString("3"));
}

void TestBackup::oldBackupIsReplaced()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    const QString target = pf.file("Pets.dat");
    QVERIFY(addPet("Rex"));
    QVERIFY(backup::funBackupTo(nullptr, target));
    QVERIFY(addPet("Tiddles"));
    QVERIFY(backup::funBackupTo(nullptr, target));
    QCOMPARE(petsIn(target), (QStringList{"Rex", "Tiddles"}));
    QCOMPARE(pf.dialogs().count(SD::Message), 2);
    QCOMPARE(temporaries(pf.path()), QStringList());
}

// A failure anywhere says so, leaves the old backup whole, keeps the count and
// opens both files again.
void TestBackup::failureKeepsOldBackup_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("text");
    const QString tail = ".  Please make sure all forms are closed before attempting to backup your Zorbi data file.";
    QTest::newRow("disk full while compacting")
        << int(backup::Step::Compact) << 61 << "Disk full"
        << "61 - Disk full. Your Zorbi data file was NOT backed up successfully.";
    QTest::newRow("disk full while flushing") << int(backup::Step::Flush) << 61 << "Disk full"
                                              << "61 - Disk full. Your Zorbi data file was NOT backed up successfully.";
    QTest::newRow("permission denied") << int(backup::Step::Compact) << 70 << "Permission denied"
                                       << "70 - Permission denied" + tail;
    QTest::newRow("disk not ready") << int(backup::Step::Flush) << 71 << "Disk not ready"
                                    << "71 - Disk not ready";
    QTest::newRow("the rename") << int(backup::Step::Replace) << 75 << "Is a directory"
                                << "75 - Is a directory";
    QTest::newRow("opening the source") << int(backup::Step::OpenSource) << 3343 << "Damaged"
                                        << "3343 - Damaged";
}

void TestBackup::failureKeepsOldBackup()
{
    QFETCH(int, step);
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, text);
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    const QString target = pf.file("Pets.dat");
    QVERIFY(addPet("Rex"));
    QVERIFY(backup::funBackupTo(nullptr, target));
    const QByteArray old = bytesOf(target);
    QVERIFY(addPet("Tiddles"));
    funPref_Set("BackupCount", "4");
    pf.dialogs().clear();
    ReminderStandIn reminder;
    recordStarts();

    backup::setFailureHook([&](backup::Step s) {
        return int(s) == step ? db::DbError{number, description} : db::DbError{};
    });
    QVERIFY(!backup::funBackupTo(nullptr, target));
    QCOMPARE(pf.dialogs().shown().size(), size_t(1));
    const auto *m = pf.dialogs().last(SD::Message);
    QCOMPARE(m->text, text);
    QCOMPARE(m->title, QString("Backup error"));
    QCOMPARE(m->icon, int(ui::Critical));
    QCOMPARE(bytesOf(target), old);
    QCOMPARE(funPref_Get("BackupCount"), QString("4"));
    QVERIFY(gDataDB && gDataDB->isOpen() && gSystemDB && gSystemDB->isOpen());
    QCOMPARE(petsIn(pf.file("Zorbi.dat")), (QStringList{"Rex", "Tiddles"}));
    QCOMPARE(temporaries(pf.path()), QStringList());
    // The reminder program starts again after a failure too.
    QVERIFY(reminder.told);
    QCOMPARE(m_started, QStringList{pf.file("Zorbi_Reminder") + " [/nocheck] 1"});
}

// The engine itself fails while writing (a limit on the size of files stands in
// for a full disk): neither the copy nor the journal the engine left beside it stays.
void TestBackup::failedCopyLeavesNothing()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    QVERIFY(addPet("Rex"));
    QVERIFY(gDataDB->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                             "INSERT INTO tbl_contact (contact_name) SELECT hex(randomblob(500)) FROM n"));
    const QString folder = pf.file("copies");
    QVERIFY(QDir().mkpath(folder));
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    {
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        auto restore = qScopeGuard([&] {
            ::setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldSignal);
        });
        // Only the copy is written while the limit holds: the live files are closed.
        backup::setFailureHook([&](backup::Step s) {
            if (s == backup::Step::Compact) {
                rlimit small = saved;
                small.rlim_cur = 100 * 1024;
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
            return db::DbError{};
        });
        QVERIFY(!backup::funBackupTo(nullptr, folder + "/Pets.dat"));
    }
    QCOMPARE(pf.dialogs().last(SD::Message)->title, QString("Backup error"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    QCOMPARE(petsIn(pf.file("Zorbi.dat")), QStringList{"Rex"});
}

// What backups to the same target left when they were killed goes with the
// next one; a copy still being written (its writer holds its lock) stays, and
// so do the files of other targets and the user's own.
void TestBackup::staleTemporariesAreRemoved()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    const QString folder = pf.file("copies");
    QVERIFY(QDir().mkpath(folder));
    const QStringList stale{".Pets.dat.c9c34a.tmp", ".Pets.dat.c9c34a.tmp-journal", "Pets.dat.4c047f.tmp-journal",
                            "Pets.dat.00aa11.tmp",  ".Pets.dat.5e5e5e.tmp",         ".Pets.dat.5e5e5e.tmp-journal"};
    const QStringList kept{".Pets.dat.77e1d0.tmp", ".Pets.dat.77e1d0.tmp-journal", ".Other.dat.c9c34a.tmp",
                           "Pets.dat.notes.tmp",   "Pets.dat.c9c34a.tmp.txt",      "my.tmp",
                           ".Pets.dat.0b0b0b.tmp"};
    for (const QString &name : stale + kept)
        writeFile(folder + "/" + name, "left over");
    // Killed as the engine began: the copy is still empty, its journal there.
    writeFile(folder + "/.Pets.dat.5e5e5e.tmp", "");
    // Just made by a backup that has not locked it yet: empty, new, no journal.
    writeFile(folder + "/.Pets.dat.0b0b0b.tmp", "");
    // A backup running in another program holds its copy locked.
    const int running = ::open(QFile::encodeName(folder + "/.Pets.dat.77e1d0.tmp").constData(), O_RDWR | O_CLOEXEC);
    QVERIFY(running >= 0);
    auto unlock = qScopeGuard([&] { ::close(running); });
    QCOMPARE(::flock(running, LOCK_EX | LOCK_NB), 0);

    QVERIFY(backup::funBackupTo(nullptr, folder + "/Pets.dat"));
    QStringList expected = kept + QStringList{"Pets.dat"};
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), expected);
    QVERIFY(petsIn(folder + "/Pets.dat").isEmpty());
}

// A folder that cannot take the copy is told as it is, before anything is
// closed or stopped.
void TestBackup::unusableFolderIsToldFirst_data()
{
    QTest::addColumn<QString>("target"); // "@" = the program folder
    QTest::addColumn<QString>("text");
    QTest::newRow("no such folder") << "@/gone/Pets.dat"
                                    << "76 - Path not found: the folder \"@/gone\" does not exist. "
                                       "Your Zorbi data file was NOT backed up.";
    QTest::newRow("a file, not a folder") << "@/notes.txt/Pets.dat"
                                          << "76 - Path not found: \"@/notes.txt\" is not a folder. "
                                             "Your Zorbi data file was NOT backed up.";
}

void TestBackup::unusableFolderIsToldFirst()
{
    QFETCH(QString, target);
    QFETCH(QString, text);
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    writeFile(pf.file("notes.txt"), "the user's notes");
    ReminderStandIn reminder;
    recordStarts();
    const db::Database *data = gDataDB.get();
    QVERIFY(!backup::funBackupTo(nullptr, target.replace("@", pf.path())));
    QCOMPARE(pf.dialogs().shown().size(), size_t(1));
    const auto *m = pf.dialogs().last(SD::Message);
    QCOMPARE(m->text, text.replace("@", pf.path()));
    QCOMPARE(m->title, QString("Backup error"));
    QCOMPARE(m->icon, int(ui::Critical));
    QVERIFY(gDataDB.get() == data);
    QVERIFY(!reminder.told);
    QVERIFY(m_started.isEmpty());
    QCOMPARE(bytesOf(pf.file("notes.txt")), QByteArray("the user's notes"));
}

// A folder nobody may write, not even the administrator.
void TestBackup::readOnlyFolder()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    const QString folder = pf.file("locked");
    QVERIFY(QDir().mkpath(folder));
    QFile old(folder + "/Pets.dat");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an old backup");
    old.close();
    if (::geteuid() != 0)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    else if (!testsupport::setImmutable(folder, true))
        QSKIP("the file system cannot lock a folder here");
    auto unlock = qScopeGuard([&] {
        testsupport::setImmutable(folder, false);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    QVERIFY(!backup::funBackupTo(nullptr, folder + "/Pets.dat"));
    QCOMPARE(pf.dialogs().last(SD::Message)->text,
             "70 - Permission denied: the folder \"" + folder
                 + "\" cannot be written to.  Please make sure all forms are closed before attempting to backup "
                   "your Zorbi data file.");
    QCOMPARE(bytesOf(folder + "/Pets.dat"), QByteArray("an old backup"));
    QVERIFY(gDataDB && gSystemDB);
}

void TestBackup::fileLockedByAnotherEndsTheProgram()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    QList<int> ended;
    backup::setEndProcess([&](int code) { ended << code; });
    backup::setFailureHook([](backup::Step s) {
        return s == backup::Step::OpenSource ? db::DbError{db::ErrOpenedExclusively, "locked"} : db::DbError{};
    });
    QVERIFY(!backup::funBackupTo(nullptr, pf.file("Pets.dat")));
    QCOMPARE(
        pf.dialogs().last(SD::Message)->text,
        QString("3356 - Zorbi was not able to re-open your database. Zorbi will now close, please restart Zorbi."));
    QCOMPARE(ended, QList<int>{1});
}

void TestBackup::filesThatCannotBeReopenedEndTheProgram()
{
    for (const char *gone : {"Zorbi.sys", "Zorbi.dat"}) {
        ProgramFolder pf;
        QVERIFY(openBoth(pf));
        QList<int> ended;
        backup::setEndProcess([&](int code) { ended << code; });
        // The file goes while it is closed.
        backup::setFailureHook([&](backup::Step s) {
            if (s == backup::Step::Replace)
                QFile::rename(pf.file(gone), pf.file("moved"));
            return db::DbError{};
        });
        QVERIFY(!backup::funBackupTo(nullptr, pf.file("Pets.dat")));
        QCOMPARE(ended, QList<int>{1});
        const auto &shown = pf.dialogs().shown();
        QVERIFY(shown.size() >= 2);
        QCOMPARE(shown.back().icon, int(ui::Critical));
        QCOMPARE(shown.back().text, QString(gone == QString("Zorbi.sys")
                                                ? "Unable to re-open your Zorbi data file. Please restart Zorbi."
                                                : "Your data file has been backed up. Please re-open Zorbi 2003."));
        QVERIFY(petsIn(pf.file("Pets.dat")).isEmpty()); // the backup itself was made
    }
}

void TestBackup::reminderProgramStoppedAndStartedAgain_data()
{
    QTest::addColumn<bool>("running");
    QTest::newRow("running") << true;
    QTest::newRow("not running") << false;
}

void TestBackup::reminderProgramStoppedAndStartedAgain()
{
    QFETCH(bool, running);
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    recordStarts();
    std::unique_ptr<ReminderStandIn> reminder;
    if (running)
        reminder = std::make_unique<ReminderStandIn>();
    QVERIFY(backup::funBackupTo(nullptr, pf.file("Pets.dat")));
    if (running) {
        QVERIFY(reminder->told);
        QVERIFY(reminder->filesOpenWhenItEnded); // the backup waited for it to go
        QVERIFY(!reminder->listener.isListening());
        QCOMPARE(m_started, QStringList{pf.file("Zorbi_Reminder") + " [/nocheck] 1"});
    } else {
        QVERIFY(m_started.isEmpty());
    }
}

// Every window but the main window and the shared controls goes; the one the
// backup was started from is still there while its handler runs on.
void TestBackup::otherWindowsAreClosed()
{
    ProgramFolder pf;
    QVERIFY(openBoth(pf));
    QWidget main, controls;
    main.setObjectName("frm_main");
    controls.setObjectName("frm_controls");
    main.show();
    controls.show();
    QPointer<QDialog> viewer = new QDialog;
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setObjectName("frm_report");
    viewer->show();

    // The backup from the exit's prompt, which is modal.
    subjectRoutines().backupDatabase = [&](QWidget *, bool) {
        QVERIFY(backup::funBackupTo(nullptr, pf.file("Pets.dat")));
    };
    bool promptVisibleAfter = true;
    testsupport::onModal<frm_backup>([&](frm_backup *prompt) {
        prompt->cmdBackup[0]->click();
        promptVisibleAfter = prompt->isVisible();
    });
    frm_backup prompt;
    prompt.exec();
    QVERIFY(!promptVisibleAfter);
    QVERIFY(main.isVisible() && controls.isVisible());
    QTRY_VERIFY(viewer.isNull()); // deleted by the event loop, not by the backup
    QVERIFY(petsIn(pf.file("Pets.dat")).isEmpty());
    QVERIFY(QFileInfo(pf.file("Pets.dat")).isFile());
}

// ---- The prompt and the About box ----

void TestBackup::promptButtons()
{
    ProgramFolder pf(false);
    funPref_Set("BackupCount", "9");
    QStringList calls;
    subjectRoutines().backupDatabase = [&](QWidget *form, bool flag) {
        calls << QString("backup %1 %2").arg(form == gControls).arg(flag);
    };
    frm_backup prompt;
    QCOMPARE(prompt.windowTitle(), QString("Automatic Backup"));
    QCOMPARE(prompt.lblBackup[0]->text(),
             QString("It is strongly recommended that you regularly backup your information in order to minimize "
                     "the chance of accidental loss of data."));
    QCOMPARE(prompt.lblBackup[1]->text(), QString("Do you want to backup your Zorbi information now?"));
    QCOMPARE(prompt.cmdBackup[0]->toolTip(), QString("Backup your information now..."));
    QCOMPARE(prompt.cmdBackup[1]->toolTip(), QString("Exit without backing up..."));
    for (QPushButton *b : prompt.cmdBackup)
        QVERIFY(!b->icon().isNull());

    prompt.show();
    prompt.cmdBackup[2]->click(); // help, and the prompt stays
    QVERIFY(prompt.isVisible());
    QWidget *help = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == "frm_help" && w->isVisible())
            help = w;
    QVERIFY(help);
    help->close();

    prompt.cmdBackup[0]->click();
    QCOMPARE(calls, QStringList{"backup 1 0"});
    QVERIFY(!prompt.isVisible());
    QCOMPARE(funPref_Get("BackupCount"), QString("9"));

    prompt.show();
    prompt.cmdBackup[1]->click();
    QVERIFY(!prompt.isVisible());
    QCOMPARE(funPref_Get("BackupCount"), QString("1"));
    QCOMPARE(calls.size(), 1);
}

// The exit's rule brings the real prompt; "Exit" starts the count again and the exit goes on.
void TestBackup::promptAtExit()
{
    ProgramFolder pf;
    QCOMPARE(Main(), -1);
    funPref_Set("BackupCount", "5");
    bool shown = false;
    testsupport::onModal<frm_backup>([&](frm_backup *prompt) {
        shown = true;
        prompt->cmdBackup[1]->click();
    });
    subExitProcedure();
    QVERIFY(shown);
    QCOMPARE(funPref_Get("BackupCount"), QString("1"));
    QVERIFY(!gDataDB && !gSystemDB);
}

void TestBackup::versionText_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("the program's") << "1.2.34"
                                   << "Version 1.2 (Build 34)";
    QTest::newRow("no build") << "2.0"
                              << "Version 2.0 (Build 0)";
}

void TestBackup::versionText()
{
    QFETCH(QString, version);
    QFETCH(QString, text);
    QCOMPARE(funVersionText(version), text);
}

void TestBackup::aboutBox()
{
    ProgramFolder pf(false);
    subInitApplication();
    recordStarts();
    frm_about box;
    QCOMPARE(box.windowTitle(), QString("About Zorbi 2003"));
    QCOMPARE(box.lblTitle->text(), QString("Zorbi 2003"));
    QCOMPARE(box.lblVersion->text(), QString("Version 1.2 (Build 34)"));
    QCOMPARE(box.lblWebsite->text(), funGetWebAddress());
    QCOMPARE(box.lblWebsite->cursor().shape(), Qt::WhatsThisCursor);
    QCOMPARE(box.cmdAbout[1]->text(), QString("&System Info"));
    QCOMPARE(box.cmdAbout[2]->text(), QString("License &Agreement"));
    box.show();

    // The web site, from its address and from the logo.
    for (QWidget *w : {static_cast<QWidget *>(box.lblWebsite), static_cast<QWidget *>(box.Image1)})
        QTest::mouseClick(w, Qt::LeftButton);
    const QString site = "http://" + funGetWebAddress();
    QCOMPARE(m_started, (QStringList{site + " [] 0", site + " [] 0"}));
    m_started.clear();

    box.cmdAbout[2]->click();
    QCOMPARE(m_started, QStringList{QUrl::fromLocalFile(pf.file("License.rtf")).toString() + " [] 0"});
    m_started.clear();

    // No system information tool on the path, then one.
    const QByteArray path = qgetenv("PATH");
    auto restore = qScopeGuard([&] { qputenv("PATH", path); });
    QTemporaryDir bin;
    qputenv("PATH", QFile::encodeName(bin.path()));
    box.cmdAbout[1]->click();
    QCOMPARE(pf.dialogs().shown().size(), size_t(1));
    QCOMPARE(pf.dialogs().last(SD::Message)->text, QString("System Information Is Unavailable At This Time"));
    QCOMPARE(pf.dialogs().last(SD::Message)->buttons, int(ui::OKOnly));
    QVERIFY(m_started.isEmpty());
    for (const char *name : {"lshw-gtk", "hardinfo"}) {
        QFile tool(bin.filePath(name));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n");
        tool.close();
        tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    }
    box.cmdAbout[1]->click();
    QCOMPARE(m_started, QStringList{bin.filePath("hardinfo") + " [] 1"}); // the first of the list found
    QCOMPARE(pf.dialogs().shown().size(), size_t(1));

    box.cmdAbout[0]->click();
    QVERIFY(!box.isVisible());
}

ZORBI_TEST_MAIN(TestBackup)
#include "tst_backup.moc"
