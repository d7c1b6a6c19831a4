// The file dialogs beside open database files: they list the folder by name
// only, so the sharing with the other program survives a look at the folder.
// The same holds for the picture readers, whatever file a record names.
//
// The second program is this executable run again with "--count <file>": it
// opens the data file as the reminder program does, reads, and closes.

#include "core/database.h"
#include "core/globals.h"
#include "platform/db/database.h"
#include "platform/controls/vb_image.h"
#include "platform/dialogs.h"
#include "platform/thumbnails.h"
#include "test_support.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QProcess>

#include <cstdio>

using testsupport::ProgramFolder;

namespace {

// The second program: prints the number of contacts, or -1 when the file would not open.
int countContacts(const QString &path)
{
    db::DbError err;
    auto d = db::Workspace().openDatabase(path, false, false, funDBConnect(), &err, db::kDataFileId);
    int n = -1;
    if (d) {
        auto rs = d->openRecordset(QStringLiteral("SELECT COUNT(*) FROM tbl_contact"));
        if (rs)
            n = rs->field(0).toInt();
        d->close();
    } else {
        std::fprintf(stderr, "%d %s\n", err.number, qPrintable(err.description));
    }
    std::printf("%d\n", n);
    return n < 0 ? 1 : 0;
}

int countInAnotherProcess(const QString &path)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--count"), path});
    if (!p.waitForFinished(20000))
        return -2;
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed().toInt();
}

bool addContact(db::Database &d, const QString &name)
{
    return d.execute(QStringLiteral("INSERT INTO tbl_contact (contact_name) VALUES (?)"), {name});
}

// Lets the dialog's model list the folder and work out every entry's icon and type.
void letTheDialogReadTheFolder(QFileDialog *dlg, const QString &folder)
{
    auto *model = dlg->findChild<QFileSystemModel *>();
    QVERIFY(model);
    const QModelIndex root = model->index(folder);
    QTRY_VERIFY_WITH_TIMEOUT(model->rowCount(root) >= 2, 5000);
    for (int pass = 0; pass < 3; ++pass) {
        for (int r = 0; r < model->rowCount(root); ++r) {
            model->data(model->index(r, 0, root), Qt::DecorationRole);
            model->data(model->index(r, 2, root), Qt::DisplayRole);
        }
        QTest::qWait(150);
    }
}

} // namespace

class TestFileDialog : public QObject {
    Q_OBJECT
private slots:
    void dialogOnTheProgramFolderKeepsTheSharing_data();
    void dialogOnTheProgramFolderKeepsTheSharing();
    void typesComeFromTheNameAlone();
    void pictureReadersKeepTheSharing();
    void defaultSuffix_data();
    void defaultSuffix();
    void saveDialogGivenAFileStartsInItsFolder();
};

void TestFileDialog::dialogOnTheProgramFolderKeepsTheSharing_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("open") << false;
    QTest::newRow("save") << true;
}

void TestFileDialog::dialogOnTheProgramFolderKeepsTheSharing()
{
    QFETCH(bool, save);
    ProgramFolder pf;
    const QString dat = pf.file(QStringLiteral("Zorbi.dat"));
    QVERIFY(funOpen_DataDB(nullptr, dat));
    QVERIFY(addContact(*gDataDB, QStringLiteral("Before the dialog")));
    QVERIFY(QFileInfo::exists(dat + QStringLiteral("-wal")));
    QVERIFY(QFileInfo::exists(dat + QStringLiteral("-shm")));

    ui::QtDialogs real;
    ui::FileRequest r;
    r.title = QStringLiteral("Import picture file...");
    r.filter = QStringLiteral("All Files (*.*)|*.*");
    r.initialDir = pf.path();
    r.save = save;
    bool looked = false;
    QPointer<QTimer> t = testsupport::onModal<QFileDialog>([&](QFileDialog *dlg) {
        letTheDialogReadTheFolder(dlg, pf.path());
        // The other program opens and closes the file while the dialog shows it.
        QCOMPARE(countInAnotherProcess(dat), 1);
        looked = true;
    });
    QCOMPARE(real.fileDialog(nullptr, r), QString());
    delete t;
    QVERIFY(looked);

    // Our connection still holds its journal: the other program did not take it as left over.
    QVERIFY(QFileInfo::exists(dat + QStringLiteral("-wal")));
    QVERIFY(addContact(*gDataDB, QStringLiteral("After the dialog")));
    QCOMPARE(countInAnotherProcess(dat), 2);
    subCloseDataDB();
    QCOMPARE(countInAnotherProcess(dat), 2);
}

void TestFileDialog::pictureReadersKeepTheSharing()
{
    ProgramFolder pf;
    const QString dat = pf.file(QStringLiteral("Zorbi.dat"));
    QVERIFY(funOpen_DataDB(nullptr, dat));
    QVERIFY(addContact(*gDataDB, QStringLiteral("Before the pictures")));
    QVERIFY(QFileInfo::exists(dat + QStringLiteral("-wal")));

    // A record naming the data file or its journal as its picture.
    for (const QString &name : {dat, dat + QStringLiteral("-wal"), dat + QStringLiteral("-shm")}) {
        QVERIFY(thumbnails::thumbnail(name).isNull());
        VbImage image;
        QVERIFY(!image.loadPicture(name));
    }
    QCOMPARE(countInAnotherProcess(dat), 1);
    QVERIFY(QFileInfo::exists(dat + QStringLiteral("-wal")));
    QVERIFY(addContact(*gDataDB, QStringLiteral("After the pictures")));
    QCOMPARE(countInAnotherProcess(dat), 2);
    subCloseDataDB();
    QCOMPARE(countInAnotherProcess(dat), 2);
}

void TestFileDialog::typesComeFromTheNameAlone()
{
    // Contents that say "PNG picture" under a name that says nothing, and the
    // other way round: the name decides both times.
    QTemporaryDir dir;
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(QStringLiteral("Zorbi.dat-shm"), QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
    write(QStringLiteral("dog.png"), "plain text");
    const std::unique_ptr<QAbstractFileIconProvider> provider = ui::fileIconProviderByName();
    const auto type = [&](const QString &name) { return provider->type(QFileInfo(dir.filePath(name))); };
    QVERIFY2(!type(QStringLiteral("Zorbi.dat-shm")).contains(QStringLiteral("PNG"), Qt::CaseInsensitive),
             qPrintable(type(QStringLiteral("Zorbi.dat-shm"))));
    QVERIFY2(type(QStringLiteral("dog.png")).contains(QStringLiteral("PNG"), Qt::CaseInsensitive),
             qPrintable(type(QStringLiteral("dog.png"))));
}

void TestFileDialog::defaultSuffix_data()
{
    QTest::addColumn<QString>("defaultExt");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("one") << "*.dat"
                         << "dat";
    QTest::newRow("a list") << "*.bmp;*.dib;*.gif"
                            << "";
    QTest::newRow("any") << "*.*"
                         << "";
    QTest::newRow("none") << ""
                          << "";
}

void TestFileDialog::defaultSuffix()
{
    QFETCH(QString, defaultExt);
    QFETCH(QString, suffix);
    QTemporaryDir dir;
    ui::QtDialogs real;
    ui::FileRequest r;
    r.filter = QStringLiteral("All Files (*.*)|*.*");
    r.defaultExt = defaultExt;
    r.initialDir = dir.path();
    QString shown = QStringLiteral("(not shown)");
    QPointer<QTimer> t = testsupport::onModal<QFileDialog>([&](QFileDialog *dlg) { shown = dlg->defaultSuffix(); });
    real.fileDialog(nullptr, r);
    delete t;
    QCOMPARE(shown, suffix);
}

// A start "folder" that names a file: the dialog opens in the file's folder with
// no name filled in, so Enter chooses nothing.
void TestFileDialog::saveDialogGivenAFileStartsInItsFolder()
{
    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    {
        QFile f(notes);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the user's notes");
    }
    ui::QtDialogs real;
    ui::FileRequest r;
    r.filter = QStringLiteral("Zorbi data files (*.dat)|*.dat|All Files (*.*)|*.*");
    r.defaultExt = QStringLiteral("*.dat");
    r.initialDir = notes;
    r.save = true;
    r.overwritePrompt = false;
    QString folder, name;
    bool stillOpen = false;
    QPointer<QTimer> t = testsupport::onModal<QFileDialog>([&](QFileDialog *dlg) {
        folder = dlg->directory().absolutePath();
        auto *edit = dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name = edit ? edit->text() : QStringLiteral("(no name box)");
        QTest::keyClick(edit ? static_cast<QWidget *>(edit) : dlg, Qt::Key_Return);
        stillOpen = dlg->isVisible();
    });
    QCOMPARE(real.fileDialog(nullptr, r), QString());
    delete t;
    QCOMPARE(folder, QDir(dir.path()).absolutePath());
    QCOMPARE(name, QString());
    QVERIFY(stillOpen);
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--count") == 0) {
        QCoreApplication app(argc, argv);
        return countContacts(QString::fromLocal8Bit(argv[2]));
    }
    testsupport::prepareEnvironment();
    QApplication app(argc, argv);
    TestFileDialog tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_file_dialog.moc"
