// Start-up and exit of the main program, with real files in a temporary program folder.

#include "core/database.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/settings.h"
#include "platform/controls/vb_list_view.h"
#include "platform/db/database.h"
#include "platform/single_instance.h"
#include "test_support.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QSqlQuery>

using testsupport::ProgramFolder;
using SD = ui::ScriptedDialogs;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        setCommandArguments({});
        resetSubjectRoutines();
    }

    void opensBothShippedFiles();
    void missingDataFileAsksAndRemembersTheChoice();
    void cancellingTheChoiceEndsQuietly();
    void badFilesAreRefused_data();
    void badFilesAreRefused();
    void aFailedChoiceNamesTheFileTried();
    void missingSystemFileOffersNoDialog();

    void mainEndsWhenAFileCannotBeOpened();
    void secondInstanceIsRefused();
    void defaultPicturePath();

    void isCommand_data();
    void isCommand();

    void backupRule_data();
    void backupRule();
    void exitClosesFilesAndDeletesTempFiles();
    void unwritableSettingsAreReportedOnce();
    void unchangedSettingsAreNotRewritten();
};

void TestStartup::opensBothShippedFiles()
{
    ProgramFolder pf;
    QVERIFY(funOpen_SystemDB(nullptr, funGetDBNameSystem()));
    QVERIFY(funOpen_DataDB(nullptr, funGetDBNameData()));
    QVERIFY(gSystemDB && gDataDB);
    QCOMPARE(gDataDBPath, pf.file("Zorbi.dat"));
    QCOMPARE(gSystemDBPath, pf.file("Zorbi.sys"));
    QCOMPARE(funPref_Get("Database", ""), pf.file("Zorbi.dat"));
    QCOMPARE(pf.dialogs().shown().size(), size_t(0));
}

void TestStartup::missingDataFileAsksAndRemembersTheChoice()
{
    ProgramFolder pf;
    QVERIFY(QFile::rename(pf.file("Zorbi.dat"), pf.file("Moved.dat")));
    funPref_Set("Database", pf.file("Gone.dat"));

    pf.dialogs().queue(pf.file("Missing too.dat")); // a missing choice asks again
    pf.dialogs().queue(pf.file("Moved.dat"));
    DataOpenResult r = DataOpenResult::Failed;
    QVERIFY(funOpen_DataDB(nullptr, funGetDBNameData(), &r));
    QCOMPARE(int(r), int(DataOpenResult::Opened));
    QCOMPARE(pf.dialogs().count(SD::File), 2);
    const auto *dlg = pf.dialogs().last(SD::File);
    QCOMPARE(dlg->file.title, QString("Select Zorbi data file..."));
    QCOMPARE(dlg->file.filter, QString("Zorbi data files (*.dat)|*.dat|All Files (*.*)|*.*"));
    QCOMPARE(dlg->file.initialDir, pf.path());
    QVERIFY(!dlg->file.save);
    QCOMPARE(pf.dialogs().count(SD::Message), 0);
    QCOMPARE(funPref_Get("Database", ""), pf.file("Moved.dat"));
    QCOMPARE(gDataDBPath, pf.file("Moved.dat"));
    // No empty file was made at either missing path.
    QVERIFY(!QFile::exists(pf.file("Gone.dat")));
    QVERIFY(!QFile::exists(pf.file("Missing too.dat")));

    // The next start opens the chosen file directly.
    resetGlobals();
    pf.dialogs().clear();
    QVERIFY(funOpen_DataDB(nullptr, funGetDBNameData()));
    QCOMPARE(pf.dialogs().shown().size(), size_t(0));
}

void TestStartup::cancellingTheChoiceEndsQuietly()
{
    ProgramFolder pf;
    QFile::remove(pf.file("Zorbi.dat"));
    pf.dialogs().queue(QString());
    DataOpenResult r = DataOpenResult::Opened;
    QVERIFY(!funOpen_DataDB(nullptr, funGetDBNameData(), &r));
    QCOMPARE(int(r), int(DataOpenResult::Cancelled));
    QCOMPARE(pf.dialogs().count(SD::Message), 0);
    QVERIFY(!gDataDB);
    QVERIFY(!QFile::exists(pf.file("Zorbi.dat")));
    QCOMPARE(funPref_Get("Database", "unset"), QString("unset"));
}

void TestStartup::badFilesAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("text file") << "text" << int(db::ErrUnrecognizedFormat);
    QTest::newRow("damaged file") << "damaged" << int(db::ErrUnrecognizedFormat);
    QTest::newRow("foreign database") << "foreign" << int(db::ErrUnrecognizedFormat);
    QTest::newRow("system file as data") << "system" << int(db::ErrUnrecognizedFormat);
    QTest::newRow("wrong password") << "password" << int(db::ErrNotValidPassword);
}

void TestStartup::badFilesAreRefused()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    ProgramFolder pf;
    const QString path = pf.file("Bad.dat");
    if (kind == "text") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Shopping list: dog food, cat litter\n");
    } else if (kind == "damaged") {
        QVERIFY(QFile::copy(pf.file("Zorbi.dat"), path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.seek(0);
        f.write(QByteArray(100, '\x5a'));
    } else if (kind == "foreign") {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        c.setDatabaseName(path);
        QVERIFY(c.open());
        QSqlQuery(c).exec("CREATE TABLE recipes (id INTEGER)");
        c.close();
        c = QSqlDatabase();
        QSqlDatabase::removeDatabase("foreign");
    } else if (kind == "system") {
        QVERIFY(QFile::copy(pf.file("Zorbi.sys"), path));
    } else if (kind == "password") {
        db::DbError err;
        QVERIFY(db::createDatabaseFile(path, db::kDataFileId, "not ours", {}, &err));
    }
    const qint64 size = QFileInfo(path).size();

    DataOpenResult r = DataOpenResult::Opened;
    QVERIFY(!funOpen_DataDB(nullptr, path, &r));
    QCOMPARE(int(r), int(DataOpenResult::Failed));
    QCOMPARE(pf.dialogs().count(SD::File), 0);
    QCOMPARE(pf.dialogs().count(SD::Message), 1);
    const auto *m = pf.dialogs().last(SD::Message);
    QVERIFY2(m->text.startsWith("Unable to open Zorbi data file: " + path + "\nError " + QString::number(error) + ": "),
             qPrintable(m->text));
    QCOMPARE(m->icon, int(ui::Critical));
    QCOMPARE(m->buttons, int(ui::OKOnly));
    QCOMPARE(m->title, QString("Zorbi 2003"));
    QVERIFY(!gDataDB);
    QCOMPARE(funPref_Get("Database", "unset"), QString("unset"));
    QCOMPARE(QFileInfo(path).size(), size); // refused, and left as it was
}

void TestStartup::aFailedChoiceNamesTheFileTried()
{
    ProgramFolder pf;
    QFile::remove(pf.file("Zorbi.dat"));
    QFile junk(pf.file("Junk.dat"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a database");
    junk.close();
    pf.dialogs().queue(junk.fileName());
    QVERIFY(!funOpen_DataDB(nullptr, pf.file("Zorbi.dat")));
    const auto *m = pf.dialogs().last(SD::Message);
    QVERIFY(m);
    QVERIFY2(m->text.startsWith("Unable to open Zorbi data file: " + junk.fileName() + "\n"), qPrintable(m->text));
}

void TestStartup::missingSystemFileOffersNoDialog()
{
    ProgramFolder pf;
    QFile::remove(pf.file("Zorbi.sys"));
    QVERIFY(!funOpen_SystemDB(nullptr, funGetDBNameSystem()));
    QCOMPARE(pf.dialogs().count(SD::File), 0);
    const auto *m = pf.dialogs().last(SD::Message);
    QVERIFY(m);
    QVERIFY2(m->text.startsWith("Unable to open Zorbi system file: " + pf.file("Zorbi.sys") + "\nError 3024: "),
             qPrintable(m->text));
    QCOMPARE(m->icon, int(ui::Critical));
    QVERIFY(!QFile::exists(pf.file("Zorbi.sys")));
}

void TestStartup::mainEndsWhenAFileCannotBeOpened()
{
    {
        ProgramFolder pf;
        QFile::remove(pf.file("Zorbi.sys"));
        QCOMPARE(Main(), 1);
        QCOMPARE(pf.dialogs().count(SD::Message), 1); // the opener's message, nothing more
        QVERIFY(!gDataDB);
        QCOMPARE(pf.entries(), QStringList({"Pictures", "Zorbi.dat"}));
    }
    {
        ProgramFolder pf;
        QFile::remove(pf.file("Zorbi.dat"));
        pf.dialogs().queue(QString()); // the user cancels the choice of a data file
        QCOMPARE(Main(), 0);
        QCOMPARE(pf.dialogs().count(SD::Message), 0);
        resetGlobals();
        QCOMPARE(pf.entries(), QStringList({"Pictures", "Zorbi.sys"}));
    }
}

void TestStartup::secondInstanceIsRefused()
{
    ProgramFolder pf;
    InstanceLock other(QStringLiteral("Zorbi"));
    QVERIFY(other.tryLock());
    QCOMPARE(Main(), 0);
    QCOMPARE(pf.dialogs().shown().size(), size_t(1));
    const auto *m = pf.dialogs().last(SD::Message);
    QCOMPARE(m->text, QString("Zorbi 2003 is already running."));
    QCOMPARE(m->icon, int(ui::Information));
    QCOMPARE(m->buttons, int(ui::OKOnly));
    QVERIFY(!gSystemDB && !gDataDB);
    // Nothing was touched: no setting was written.
    QCOMPARE(funPref_Get("Database", "unset"), QString("unset"));
    other.release();
}

void TestStartup::defaultPicturePath()
{
    {
        ProgramFolder pf;
        QCOMPARE(Main(), -1);
        QCOMPARE(gDefaultPicture, QString());
        QCOMPARE(gPicturePath, pf.file("Pictures") + "/");
        QVERIFY(gSystemDB && gDataDB);
        funPref_Set("AutomaticBackup", "0"); // no backup prompt at the exit
        subExitProcedure();
    }
    {
        ProgramFolder pf;
        QFile gif(pf.file("Default.gif"));
        QVERIFY(gif.open(QIODevice::WriteOnly));
        gif.close();
        QCOMPARE(Main(), -1);
        QCOMPARE(gDefaultPicture, pf.file("Default.gif"));
        funPref_Set("AutomaticBackup", "0");
        subExitProcedure();
    }
}

void TestStartup::isCommand_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("sw");
    QTest::addColumn<bool>("found");
    QTest::newRow("plain") << QStringList{"/about"} << "/about" << true;
    QTest::newRow("capitals") << QStringList{"/ABOUT"} << "/about" << true;
    QTest::newRow("glued") << QStringList{"x/aboutx"} << "/about" << true;
    QTest::newRow("second argument") << QStringList{"-style", "fusion", "/Add_Event"} << "/add_event" << true;
    QTest::newRow("both switches") << QStringList{"/about", "/add_event"} << "/about" << true;
    QTest::newRow("missing") << QStringList{"/add_event"} << "/about" << false;
    QTest::newRow("no switch asked") << QStringList{"/about"} << "" << false;
}

void TestStartup::isCommand()
{
    QFETCH(QStringList, args);
    QFETCH(QString, sw);
    QFETCH(bool, found);
    setCommandArguments(args);
    QCOMPARE(funIsCommand(sw), found);
}

void TestStartup::backupRule_data()
{
    // What is stored before the exit (empty = nothing stored), the prompt, the count after.
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<bool>("prompt");
    QTest::addColumn<QString>("after");
    QTest::newRow("nothing stored") << ""
                                    << ""
                                    << "" << true << "";
    QTest::newRow("rule off") << "0"
                              << ""
                              << "" << false << "100";
    QTest::newRow("count 4") << ""
                             << "4"
                             << "" << false << "5";
    QTest::newRow("count 5") << ""
                             << "5"
                             << "" << true << "5";
    QTest::newRow("count reset by the prompt") << "1"
                                               << "1"
                                               << "5" << false << "2";
    QTest::newRow("limit emptied") << "1"
                                   << "4"
                                   << " " << false << "5";
    QTest::newRow("limit not a number") << "1"
                                        << "5"
                                        << "five" << true << "5";
    QTest::newRow("count not a number") << "1"
                                        << "lots"
                                        << "5" << true << "lots";
    QTest::newRow("top of range, rule off") << "0"
                                            << "32767"
                                            << "" << false << "32767";
    QTest::newRow("beyond range, rule off") << "0"
                                            << "99999"
                                            << "" << false << "100";
    // A limit stored out of range is held to the range the preferences take, never taken for 5.
    QTest::newRow("limit beyond range") << "1"
                                        << "6"
                                        << "40000" << false << "7";
    QTest::newRow("limit beyond range, count at the top") << "1"
                                                          << "32767"
                                                          << "99999" << true << "32767";
    QTest::newRow("limit zero") << "1"
                                << "1"
                                << "0" << true << "1";
}

void TestStartup::backupRule()
{
    QFETCH(QString, rule);
    QFETCH(QString, count);
    QFETCH(QString, limit);
    QFETCH(bool, prompt);
    QFETCH(QString, after);
    ProgramFolder pf(false);
    if (!rule.isEmpty())
        funPref_Set("AutomaticBackup", rule);
    if (!count.isEmpty())
        funPref_Set("BackupCount", count);
    if (!limit.isEmpty())
        funPref_Set("AutomaticBackupCount", limit);

    int prompts = 0;
    subjectRoutines().showBackupPromptBox = [&](QWidget *) { ++prompts; };
    subExitProcedure();
    QCOMPARE(prompts, prompt ? 1 : 0);
    QCOMPARE(funPref_Get("BackupCount", ""), after);
    QCOMPARE(pf.dialogs().shown().size(), size_t(0));
}

void TestStartup::exitClosesFilesAndDeletesTempFiles()
{
    ProgramFolder pf;
    QCOMPARE(Main(), -1);
    for (const char *name : {"a.tmp", "B.TMP", "c.Tmp", "c.txt", "tmp", "x.tmp.txt"}) {
        QFile f(pf.file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QDir(pf.path()).mkdir("folder.tmp");
    // A file that cannot be deleted stays, and the others still go.
    const QString stuck = pf.file("stuck.tmp");
    {
        QFile f(stuck);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const bool immutable = testsupport::setImmutable(stuck, true);
    if (!immutable)
        QFile::remove(stuck);
    funPref_Set("AutomaticBackup", "0");
    subExitProcedure();
    if (immutable)
        testsupport::setImmutable(stuck, false);
    QVERIFY(!gSystemDB && !gDataDB);
    QStringList left{"Pictures", "Zorbi.dat", "Zorbi.sys", "c.txt", "folder.tmp", "tmp", "x.tmp.txt"};
    if (immutable)
        left.insert(5, "stuck.tmp");
    QCOMPARE(pf.entries(), left);
    if (!immutable)
        qWarning("the file system cannot make a file undeletable here; that case was not tried");
    // Both files were closed cleanly: the data file opens again at once.
    QVERIFY(funOpen_DataDB(nullptr, pf.file("Zorbi.dat")));
}

ZORBI_TEST_MAIN(TestStartup)
#include "tst_startup.moc"

void TestStartup::unwritableSettingsAreReportedOnce()
{
    ProgramFolder pf;
    // A folder where the settings file belongs: it can be neither read nor written.
    const QString file =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Zorbi 2003", "Zorbi 2003").fileName();
    QVERIFY(QDir().mkpath(file));
    int prompts = 0;
    subjectRoutines().showBackupPromptBox = [&](QWidget *) { ++prompts; };

    QCOMPARE(Main(), -1);
    QVERIFY(gSystemDB && gDataDB);
    funPref_Set("Listview_Pet", 3); // the modes of this run, stored at exit
    settings::holdWrites();
    gMain->saveListViewModes();
    subExitProcedure();
    QCOMPARE(prompts, 1); // the defaults: the count of 99 brings the prompt
    QCOMPARE(pf.dialogs().shown().size(), size_t(1));
    QCOMPARE(pf.dialogs().last(SD::Message)->text, QString("75: Path/File access error"));
}

void TestStartup::unchangedSettingsAreNotRewritten()
{
    ProgramFolder pf;
    funPref_Set("Database", pf.file("Zorbi.dat"));
    funPref_Set("AutomaticBackup", "0");
    funPref_Set("BackupCount", "1");
    for (const char *key : {"Listview_Pet", "Listview_Address", "Listview_Report", "Listview_Picture"})
        funPref_Set(key, 0);
    const int before = settings::writeCount();

    // Opening the data file it names leaves the setting as it is.
    QCOMPARE(Main(), -1);
    QCOMPARE(settings::writeCount(), before);

    // The exit stores the new count, and the modes, in one write.
    gMain->ListView_Pet->setView(3);
    settings::holdWrites();
    gMain->saveListViewModes();
    subExitProcedure();
    QCOMPARE(settings::writeCount(), before + 1);
    QCOMPARE(funPref_Get("BackupCount", ""), QString("2"));
    QCOMPARE(funPref_Get("Listview_Pet", ""), QString("3"));
    QCOMPARE(pf.dialogs().shown().size(), size_t(0));
}
