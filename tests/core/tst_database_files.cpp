// The two database files as a user's machine has them: a program folder the
// user cannot write (an install for all users), a write-protected data file,
// and a data file with a damaged page.

#include "core/database.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/picture_files.h"
#include "platform/db/database.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

using testsupport::ProgramFolder;
using SD = ui::ScriptedDialogs;

namespace {

bool writable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

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

} // namespace

class TestDatabaseFiles : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { resetGlobals(); }

    void shippedFilesKeepTheirJournals();
    void systemFileIsOnlyRead();
    void unwritablePlaces_data();
    void unwritablePlaces();
    void damagedDataFileIsReportedOnce();
    void aPictureIsNotSavedOverTheFiles_data();
    void aPictureIsNotSavedOverTheFiles();
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
        << "folder" << true << "Unable to open Zorbi data file: %1\nError 3027: The file '%1' is in the folder '%2', "
                               "which is read-only for you, so no changes can be saved in the file.";
    QTest::newRow("the data file itself")
        << "file" << true << "Unable to open Zorbi data file: %1\nError 3027: The file '%1' is read-only, so no "
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
            QVERIFY(d->execute(QStringLiteral("INSERT INTO tbl_pet (pet_name) VALUES (?)"), {QStringLiteral("Pet %1").arg(i)}));
        QVERIFY(d->execute(QStringLiteral("INSERT INTO tbl_event (event_name, event_date) VALUES ('Vet', date('now'))")));
        petPage = scalarText(*d, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'tbl_pet'")).toInt();
        eventPage = scalarText(*d, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'tbl_event'")).toInt();
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

ZORBI_TEST_MAIN(TestDatabaseFiles)

#include "tst_database_files.moc"
