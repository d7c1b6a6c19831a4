// The two database files as a user's machine has them: a program folder the
// user cannot write (an install for all users), a write-protected data file,
// and a data file with a damaged page.

#include "core/database.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/picture_files.h"
#include "core/settings.h"
#include "core/system.h"
#include "data/schema.h"
#include "platform/db/database.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using testsupport::ProgramFolder;
using SD = ui::ScriptedDialogs;

namespace {

bool writable(const QString &path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0; }

// Makes a file or folder unwritable for the test's life: the mode for a user,
// the immutable flag as well for root, whom the mode does not stop.
class WriteProtect {
public:
    explicit WriteProtect(const QString &path) : m_path(path)
    {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        m_mode = st.st_mode & 07777;
        ::chmod(QFile::encodeName(path).constData(), m_mode & ~0222);
        m_immutable = testsupport::setImmutable(path, true);
    }
    ~WriteProtect()
    {
        if (m_immutable)
            testsupport::setImmutable(m_path, false);
        ::chmod(QFile::encodeName(m_path).constData(), m_mode);
    }
    bool holds() const { return !writable(m_path); }

private:
    QString m_path;
    mode_t m_mode = 0;
    bool m_immutable = false;
};

QString scalarText(db::Database &d, const QString &sql)
{
    auto rs = d.openRecordset(sql);
    return rs && !rs->isEOF() ? rs->field(0).toString() : QStringLiteral("(failed)");
}

QString journalMode(const QString &path)
{
    db::DbError err;
    auto d = db::Workspace().openDatabase(path, false, true, funDBConnect(), &err);
    return d ? scalarText(*d, QStringLiteral("PRAGMA journal_mode")) : err.description;
}

QStringList companions(const QString &path)
{
    QStringList found;
    for (const char *suffix : {"-wal", "-shm", "-journal"})
        if (QFileInfo::exists(path + QLatin1String(suffix)))
            found << QFileInfo(path).fileName() + QLatin1String(suffix);
    return found;
}

int modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

// Gives the program folder the empty data file an install ships, in `journal`.
bool shipDataFile(const ProgramFolder &pf, db::Journal journal)
{
    const QString dat = pf.file(QStringLiteral("Zorbi.dat"));
    QFile::remove(dat);
    db::DbError err;
    const bool made = journal == db::Journal::Rollback ? schema::makeDataFileTemplate(dat, funGetDBPassword(), &err)
                                                       : schema::makeDataFile(dat, funGetDBPassword(), &err);
    if (!made)
        qWarning("%s", qPrintable(err.description));
    return made;
}

// One user of the computer: their own data folder, and no data file stored yet.
void becomeUser(const QString &dataHome)
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    funPref_Set(QStringLiteral("Database"), QString());
}

QString petNames()
{
    QStringList names;
    for (auto rs = gDataDB->openRecordset(QStringLiteral("SELECT pet_name FROM tbl_pet ORDER BY pet_name"));
         rs && !rs->isEOF(); rs->moveNext())
        names << rs->field(QStringLiteral("pet_name")).toString();
    return names.join(QLatin1Char(','));
}

void startAndQuit(const std::function<void()> &whileRunning)
{
    QCOMPARE(Main(), -1);
    whileRunning();
    funPref_Set(QStringLiteral("AutomaticBackup"), QStringLiteral("0")); // no backup prompt at the exit
    subExitProcedure();
    resetGlobals();
}

} // namespace

class TestDatabaseFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { m_dataHome = qgetenv("XDG_DATA_HOME"); }
    void cleanup()
    {
        resetGlobals();
        qputenv("XDG_DATA_HOME", m_dataHome);
    }

    void shippedFilesKeepTheirJournals();
    void systemFileIsOnlyRead();
    void unwritablePlaces_data();
    void unwritablePlaces();
    void damagedDataFileIsReportedOnce();
    void aPictureIsNotSavedOverTheFiles_data();
    void aPictureIsNotSavedOverTheFiles();
    void eachUserOfAnInstallHasTheirOwnDataFile();
    void defaultDataFile_data();
    void defaultDataFile();

private:
    QByteArray m_dataHome;
};

void TestDatabaseFiles::shippedFilesKeepTheirJournals()
{
    // The files the build puts beside the programs, and those the tests make.
    const QString shipped = qEnvironmentVariable("ZORBI_PROGRAM_DIR");
    QVERIFY(!shipped.isEmpty());
    QCOMPARE(journalMode(shipped + QStringLiteral("/Zorbi.sys")), QStringLiteral("delete"));
    QCOMPARE(journalMode(shipped + QStringLiteral("/Zorbi.dat")), QStringLiteral("wal"));
    ProgramFolder pf;
    QCOMPARE(journalMode(pf.file(QStringLiteral("Zorbi.sys"))), QStringLiteral("delete"));
    QCOMPARE(journalMode(pf.file(QStringLiteral("Zorbi.dat"))), QStringLiteral("wal"));
}

void TestDatabaseFiles::systemFileIsOnlyRead()
{
    ProgramFolder pf;
    const QString sys = pf.file(QStringLiteral("Zorbi.sys"));
    QVERIFY(funOpen_SystemDB(nullptr, sys));
    QCOMPARE(scalarText(*gSystemDB, QStringLiteral("SELECT COUNT(*) > 0 FROM tbl_species")), QStringLiteral("1"));
    QVERIFY(!gSystemDB->execute(QStringLiteral("DELETE FROM tbl_species")));
    QCOMPARE(gSystemDB->lastError().number, int(db::ErrReadOnly));
    // Reading leaves nothing beside the file: the folder need not be writable.
    QCOMPARE(companions(sys), QStringList());
    // The data file beside it is opened for changes as before.
    QVERIFY(funOpen_DataDB(nullptr, pf.file(QStringLiteral("Zorbi.dat"))));
    QVERIFY(gDataDB->execute(QStringLiteral("INSERT INTO tbl_contact (contact_name) VALUES ('Vet')")));
    QCOMPARE(pf.dialogs().count(SD::Message), 0);
}

void TestDatabaseFiles::unwritablePlaces_data()
{
    QTest::addColumn<QString>("place");   // what is write-protected
    QTest::addColumn<bool>("dataInside"); // the data file lies in the program folder
    QTest::addColumn<QString>("message"); // "" when the program starts
    QTest::newRow("program folder, data file elsewhere") << "folder" << false << "";
    QTest::newRow("program folder with the data file")
        << "folder" << true
        << "Unable to open Zorbi data file: %1\nError 3027: The file '%1' is in the folder '%2', "
           "which is read-only for you, so no changes can be saved in the file.";
    QTest::newRow("the data file itself")
        << "file" << true
        << "Unable to open Zorbi data file: %1\nError 3027: The file '%1' is read-only, so no "
           "changes can be saved in it.";
}

void TestDatabaseFiles::unwritablePlaces()
{
    QFETCH(QString, place);
    QFETCH(bool, dataInside);
    QFETCH(QString, message);
    ProgramFolder pf;
    QTemporaryDir elsewhere;
    QString dat = pf.file(QStringLiteral("Zorbi.dat"));
    if (!dataInside) {
        const QString moved = elsewhere.filePath(QStringLiteral("Zorbi.dat"));
        QVERIFY(QFile::rename(dat, moved));
        dat = moved;
    }
    const QStringList before = pf.entries();
    WriteProtect protect(place == QLatin1String("folder") ? pf.path() : dat);
    if (!protect.holds())
        QSKIP("nothing here can make a folder or file unwritable for this user");

    QVERIFY(funOpen_SystemDB(nullptr, funGetDBNameSystem()));
    const bool opened = funOpen_DataDB(nullptr, dat);
    QCOMPARE(opened, message.isEmpty());
    if (opened) {
        QCOMPARE(pf.dialogs().count(SD::Message), 0);
        QVERIFY(gDataDB->execute(QStringLiteral("INSERT INTO tbl_contact (contact_name) VALUES ('Vet')")));
    } else {
        QCOMPARE(pf.dialogs().count(SD::Message), 1);
        const SD::Shown *m = pf.dialogs().last(SD::Message);
        message.replace(QStringLiteral("%1"), dat).replace(QStringLiteral("%2"), QDir::toNativeSeparators(pf.path()));
        QVERIFY2(m->text.startsWith(message), qPrintable(m->text));
        QCOMPARE(m->icon, int(ui::Critical));
    }
    resetGlobals();
    QCOMPARE(pf.entries(), before);
}

void TestDatabaseFiles::damagedDataFileIsReportedOnce()
{
    ProgramFolder pf;
    const QString dat = pf.file(QStringLiteral("Zorbi.dat"));
    int petPage = 0, eventPage = 0, pageSize = 0;
    {
        db::DbError err;
        auto d = db::Workspace().openDatabase(dat, false, false, funDBConnect(), &err);
        QVERIFY2(d, qPrintable(err.description));
        for (int i = 0; i < 50; ++i)
            QVERIFY(d->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name) VALUES (?)"),
                               {QStringLiteral("Pet %1").arg(i)}));
        QVERIFY(
            d->execute(QStringLiteral("INSERT INTO tbl_event (event_name, event_date) VALUES ('Vet', date('now'))")));
        petPage = scalarText(*d, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'tbl_pet'")).toInt();
        eventPage =
            scalarText(*d, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'tbl_event'")).toInt();
        pageSize = scalarText(*d, QStringLiteral("PRAGMA page_size")).toInt();
    }
    QVERIFY(petPage > 1 && eventPage > 1 && pageSize > 0);
    QVERIFY(companions(dat).isEmpty()); // the last close folded the journal in
    {
        // The test's own damage: no program has the file open now.
        QFile f(dat);
        QVERIFY(f.open(QIODevice::ReadWrite));
        for (int page : {petPage, eventPage}) {
            QVERIFY(f.seek(qint64(page - 1) * pageSize));
            f.write(QByteArray(pageSize, '\xA5'));
        }
    }

    // The file opens (only its first pages are read then), and the start-up's
    // routines each meet a damaged page: the user is told once.
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gMain->isVisible());
    QCOMPARE(pf.dialogs().count(SD::Message), 1);
    const SD::Shown *m = pf.dialogs().last(SD::Message);
    QCOMPARE(m->text, QStringLiteral("The database file '%1' is damaged: a part of it cannot be read, so some "
                                     "records cannot be shown or saved. Close the program and restore the file "
                                     "from a backup copy.")
                          .arg(dat));
    QCOMPARE(m->icon, int(ui::Critical));
    QCOMPARE(m->title, QStringLiteral("Zorbi 2003"));
    // A routine that meets it later adds no box.
    QVERIFY(!gDataDB->execute(QStringLiteral("UPDATE tbl_pet SET pet_name = 'x'")));
    ui::errorReport(gDataDB->lastError().number, gDataDB->lastError().description, QStringLiteral("subSave"));
    QCOMPARE(pf.dialogs().count(SD::Message), 1);
}

void TestDatabaseFiles::aPictureIsNotSavedOverTheFiles_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("data file") << "Zorbi.dat";
    QTest::newRow("its journal") << "Zorbi.dat-wal";
    QTest::newRow("system file") << "Zorbi.sys";
}

void TestDatabaseFiles::aPictureIsNotSavedOverTheFiles()
{
    QFETCH(QString, target);
    ProgramFolder pf;
    QVERIFY(funOpen_SystemDB(nullptr, funGetDBNameSystem()));
    QVERIFY(funOpen_DataDB(nullptr, funGetDBNameData()));
    QVERIFY(gDataDB->execute(QStringLiteral("INSERT INTO tbl_contact (contact_name) VALUES ('Vet')")));
    gPicturePath = pf.file(QStringLiteral("Pictures/"));
    QVERIFY(QFile::copy(qEnvironmentVariable("ZORBI_SOURCE_DIR") + QStringLiteral("/data/Default.gif"),
                        gPicturePath + QStringLiteral("ZB_00001.gif")));
    const qint64 size = QFileInfo(pf.file(target)).size();
    pf.dialogs().queue(pf.file(target));
    QVERIFY(!picture_files::funSavePictureAs(QStringLiteral("ZB_00001.gif")));
    QCOMPARE(pf.dialogs().count(SD::Message), 1);
    QVERIFY2(pf.dialogs().last(SD::Message)->text.contains(QStringLiteral("keeps its records in")),
             qPrintable(pf.dialogs().last(SD::Message)->text));
    QCOMPARE(QFileInfo(pf.file(target)).size(), size);
    subCloseDataDB();
    QVERIFY(funOpen_DataDB(nullptr, funGetDBNameData()));
    QCOMPARE(scalarText(*gDataDB, QStringLiteral("SELECT COUNT(*) FROM tbl_contact")), QStringLiteral("1"));
}

void TestDatabaseFiles::eachUserOfAnInstallHasTheirOwnDataFile()
{
    ProgramFolder pf;
    QVERIFY(shipDataFile(pf, db::Journal::Rollback));
    const QStringList shipped = pf.entries();
    QTemporaryDir home;
    const QString ann = home.filePath(QStringLiteral("ann/Zorbi 2003"));
    const QString bob = home.filePath(QStringLiteral("bob/Zorbi 2003"));
    {
        WriteProtect protect(pf.path());
        if (!protect.holds())
            QSKIP("nothing here can make a folder unwritable for this user");

        becomeUser(home.filePath(QStringLiteral("ann")));
        startAndQuit([&] {
            QCOMPARE(gDataDBPath, ann + QStringLiteral("/Zorbi.dat"));
            QCOMPARE(funPref_Get(QStringLiteral("Database")), gDataDBPath);
            QCOMPARE(gPicturePath, ann + QStringLiteral("/Pictures/"));
            QCOMPARE(pf.dialogs().count(SD::Message), 0);
            QVERIFY(gDataDB->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name) VALUES ('Rex')")));
        });
        QCOMPARE(modeOf(ann), 0700);
        QCOMPARE(modeOf(ann + QStringLiteral("/Zorbi.dat")), 0600);
        // The next start opens the stored file, with the pet in it.
        startAndQuit([&] {
            QCOMPARE(gDataDBPath, ann + QStringLiteral("/Zorbi.dat"));
            QCOMPARE(petNames(), QStringLiteral("Rex"));
        });
        // A user whose settings lost the file's path finds the same file again, not a new one.
        becomeUser(home.filePath(QStringLiteral("ann")));
        startAndQuit([&] { QCOMPARE(petNames(), QStringLiteral("Rex")); });

        becomeUser(home.filePath(QStringLiteral("bob")));
        startAndQuit([&] {
            QCOMPARE(gDataDBPath, bob + QStringLiteral("/Zorbi.dat"));
            QCOMPARE(petNames(), QString());
        });
        QCOMPARE(pf.dialogs().count(SD::Message), 0);
    }
    // Nothing was left in the program folder, and no temporary beside the copies.
    QCOMPARE(pf.entries(), shipped);
    QCOMPARE(QDir(ann).entryList(QDir::Files), QStringList({QStringLiteral("Zorbi.dat")}));
    QCOMPARE(QDir(bob).entryList(QDir::Files), QStringList({QStringLiteral("Zorbi.dat")}));
}

void TestDatabaseFiles::defaultDataFile_data()
{
    QTest::addColumn<bool>("forAllUsers"); // the program folder is write-protected
    QTest::addColumn<bool>("walShipped");  // the shipped file runs in WAL, which no user can read there
    QTest::addColumn<bool>("userCopy");    // the data file is the user's own copy
    QTest::newRow("a program folder the user writes") << false << false << false;
    QTest::newRow("an install for all users") << true << false << true;
    QTest::newRow("an install whose shipped file cannot be read") << true << true << false;
}

void TestDatabaseFiles::defaultDataFile()
{
    QFETCH(bool, forAllUsers);
    QFETCH(bool, walShipped);
    QFETCH(bool, userCopy);
    ProgramFolder pf;
    QVERIFY(shipDataFile(pf, walShipped ? db::Journal::Wal : db::Journal::Rollback));
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path())); // and no data file stored
    const QString own = home.filePath(QStringLiteral("Zorbi 2003/Zorbi.dat"));
    std::optional<WriteProtect> protect;
    if (forAllUsers) {
        protect.emplace(pf.path());
        if (!protect->holds())
            QSKIP("nothing here can make a folder unwritable for this user");
    }
    const QString path = funGetDBNameData();
    QCOMPARE(path, userCopy ? own : pf.file(QStringLiteral("Zorbi.dat")));
    QCOMPARE(QFileInfo::exists(own), userCopy);
    QCOMPARE(funGetPicturesFolder(),
             (forAllUsers ? home.filePath(QStringLiteral("Zorbi 2003")) : pf.path()) + QStringLiteral("/Pictures"));
    QVERIFY(funOpen_SystemDB(nullptr, funGetDBNameSystem()));
    const bool opened = funOpen_DataDB(nullptr, path);
    // The one case that cannot start says so in the opener's words.
    QCOMPARE(opened, !(forAllUsers && !userCopy));
    QCOMPARE(pf.dialogs().count(SD::Message), opened ? 0 : 1);
    if (forAllUsers && !userCopy)
        QVERIFY(QDir(home.filePath(QStringLiteral("Zorbi 2003"))).entryList(QDir::Files).isEmpty());
    resetGlobals();
}

ZORBI_TEST_MAIN(TestDatabaseFiles)

#include "tst_database_files.moc"
