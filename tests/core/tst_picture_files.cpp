// Picture files: the numbered names, the import with its format and size
// checks, clearing, saving a stored picture elsewhere, and fitting a picture
// into its box.

#include "core/globals.h"
#include "core/hooks.h"
#include "core/picture_files.h"
#include "core/settings.h"
#include "platform/controls/vb_image.h"
#include "picture_samples.h"
#include "test_support.h"

#include <QApplication>
#include <QLabel>
#include <sys/stat.h>

using testsupport::ProgramFolder;
using Shown = ui::ScriptedDialogs::Shown;
using namespace picture_files;

namespace {

// A window with a picture box, as the pet and picture windows have one.
struct PictureWindow {
    explicit PictureWindow(const QString &name = QStringLiteral("frm_pet_detail"))
    {
        window.setObjectName(name);
        label = new QLabel(&window);
        label->setObjectName(QStringLiteral("lblPicture"));
        image = new VbImage(&window);
        image->setObjectName(QStringLiteral("ImagePicture"));
    }
    QWidget window;
    QLabel *label;
    VbImage *image;
};

// A real picture of 10 x 10 pixels, padded with zeros to `size` bytes.
void makePicture(const QString &path, qint64 size = 0)
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    QVERIFY(img.save(path, "BMP"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::Append));
    if (size > f.size())
        f.write(QByteArray(int(size - f.size()), '\0'));
}

void makeFile(const QString &path, const QByteArray &content = "not a picture")
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QStringList pictures() { return QDir(gPicturePath).entryList(QDir::Files, QDir::Name); }

QStringList titles(const ui::ScriptedDialogs &d)
{
    QStringList t;
    for (const Shown &s : d.shown())
        t << s.title;
    return t;
}

} // namespace

class TestPictureFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void nextName_data();
    void nextName();
    void everyNumberTaken();

    void importNamesAndFits();
    void sizeWarning_data();
    void sizeWarning();
    void formatCheck_data();
    void formatCheck();
    void notAPicture();
    void otherFormats_data();
    void otherFormats();
    void notARegularFile_data();
    void notARegularFile();
    void importWithNoFreeName();

    void fit_data();
    void fit();
    void clearAndReset();

    void saveWithoutPicture();
    void saveAs_data();
    void saveAs();

    void localeInfo();

private:
    std::unique_ptr<ProgramFolder> m_pf;
    QString m_source; // the folder the user picks pictures from
};

void TestPictureFiles::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    gPicturePath = m_pf->file("Pictures") + "/";
    gDefaultPicture = qEnvironmentVariable("ZORBI_SOURCE_DIR") + "/data/Default.gif";
    QVERIFY(QFile::exists(gDefaultPicture));
    m_source = m_pf->file("source");
    QDir().mkpath(m_source);
}

void TestPictureFiles::cleanup()
{
    m_pf.reset();
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestPictureFiles::nextName_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("name");
    // A number is taken whatever the extension of the stored file.
    QTest::newRow("after two") << QStringList{"ZB_00001.jpg", "ZB_00002.gif"} << "cat.png"
                               << "ZB_00003.png";
    QTest::newRow("a gap") << QStringList{"ZB_00001.jpg", "ZB_00003.gif"} << "a.GIF"
                           << "ZB_00002.gif";
    QTest::newRow("no extension") << QStringList{} << "scan"
                                  << "ZB_00001";
    QTest::newRow("stored without extension") << QStringList{"ZB_00001"} << "a.bmp"
                                              << "ZB_00002.bmp";
    QTest::newRow("any case") << QStringList{"zb_00001.JPG"} << "a.bmp"
                              << "ZB_00002.bmp";
    QTest::newRow("last extension") << QStringList{} << "dog.show.JPG"
                                    << "ZB_00001.jpg";
    QTest::newRow("only an extension") << QStringList{} << ".jpg"
                                       << "ZB_00001.jpg";
    QTest::newRow("ending in a dot") << QStringList{} << "odd."
                                     << "ZB_00001";
    QTest::newRow("other names") << QStringList{"ZB_1.jpg", "ZB_000001.jpg", "Default.gif"} << "x.ico"
                                 << "ZB_00001.ico";
}

void TestPictureFiles::nextName()
{
    QFETCH(QStringList, present);
    QFETCH(QString, source);
    QFETCH(QString, name);
    for (const QString &p : present)
        makeFile(gPicturePath + p);
    QCOMPARE(funGetNextPictureName(gPicturePath, source), name);
}

void TestPictureFiles::everyNumberTaken()
{
    QStringList names;
    for (int n = 1; n <= kLastPictureNumber; ++n)
        names << QStringLiteral("ZB_%1.jpg").arg(n, 5, 10, QLatin1Char('0'));
    QCOMPARE(funNextPictureNumber(names), 0);
    names.removeAt(41);
    QCOMPARE(funNextPictureNumber(names), 42);
}

void TestPictureFiles::importNamesAndFits()
{
    makeFile(gPicturePath + "ZB_00001.jpg");
    makeFile(gPicturePath + "ZB_00002.gif");
    makePicture(m_source + "/Cat.bmp");
    PictureWindow w;
    w.label->setText("ZB_00001.jpg");
    m_pf->dialogs().queue(m_source + "/Cat.bmp");
    ::subImportPicture(&w.window); // as the window's picture menu calls it
    const Shown *dlg = m_pf->dialogs().last(ui::ScriptedDialogs::File);
    QVERIFY(dlg);
    QCOMPARE(dlg->file.title, QString("Import picture file..."));
    QCOMPARE(dlg->file.filterIndex, 7);
    QCOMPARE(dlg->file.initialDir, m_pf->file("Samples"));
    QVERIFY(!dlg->file.save);
    QCOMPARE(ui::qtFilters(dlg->file.filter).size(), 7);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 0);

    QCOMPARE(w.label->text(), QString("ZB_00003.bmp"));
    QCOMPARE(pictures(), (QStringList{"ZB_00001.jpg", "ZB_00002.gif", "ZB_00003.bmp"}));
    QFile copy(gPicturePath + "ZB_00003.bmp"), original(m_source + "/Cat.bmp");
    QVERIFY(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), original.readAll());
    // 10 pixels are 150 twips: smaller than the pet box, so kept and centred across it.
    QVERIFY(w.image->hasPicture());
    QVERIFY(w.image->Stretch());
    QCOMPARE(w.image->Width(), 150);
    QCOMPARE(w.image->Height(), 150);
    QCOMPARE(w.image->Left(), 5100 + (2880 - 150) / 2);
    QCOMPARE(w.image->Top(), 900);

    // With a local photo folder set, the dialog starts there.
    funPref_Set("PhotoSite_3", m_source);
    m_pf->dialogs().clear();
    ::subImportPicture(&w.window);
    QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::File)->file.initialDir, m_source);
    QCOMPARE(w.label->text(), QString("ZB_00003.bmp")); // a cancelled dialog changes nothing
}

void TestPictureFiles::sizeWarning_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("kb"); // "" when no warning
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("dialogs"); // file dialogs shown
    QTest::addColumn<bool>("imported");
    QTest::newRow("500,000 bytes") << qint64(500000) << "" << 0 << 1 << true;
    QTest::newRow("500,001 bytes") << qint64(500001) << "500" << int(ui::Yes) << 1 << true;
    QTest::newRow("1,234,567 bytes") << qint64(1234567) << "1,235" << int(ui::Yes) << 1 << true;
    QTest::newRow("half to even") << qint64(2500500) << "2,500" << int(ui::Yes) << 1 << true;
    QTest::newRow("no: choose again") << qint64(600000) << "600" << int(ui::No) << 2 << false;
    QTest::newRow("cancel") << qint64(600000) << "600" << int(ui::Cancel) << 1 << false;
}

void TestPictureFiles::sizeWarning()
{
    QFETCH(qint64, size);
    QFETCH(QString, kb);
    QFETCH(int, answer);
    QFETCH(int, dialogs);
    QFETCH(bool, imported);
    makePicture(m_source + "/Big.bmp", size);
    QCOMPARE(QFileInfo(m_source + "/Big.bmp").size(), size);
    PictureWindow w;
    m_pf->dialogs().queue(m_source + "/Big.bmp");
    if (!kb.isEmpty())
        m_pf->dialogs().queue(answer);
    ::subImportPicture(&w.window);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::File), dialogs);
    const Shown *warning = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    if (kb.isEmpty()) {
        QVERIFY(!warning);
    } else {
        QVERIFY(warning);
        QCOMPARE(warning->title, QString("Large picture warning"));
        QCOMPARE(warning->buttons, int(ui::YesNoCancel));
        QCOMPARE(warning->icon, int(ui::Exclamation));
        QCOMPARE(warning->text, QString("Using large picture files may cause Zorbi 2003 to behave slowly.\r\n"
                                        "The picture file you selected \"Big.bmp\" is %1 KB in size.\r\n\r\n"
                                        "Would you still like to use this picture file?")
                                    .arg(kb));
    }
    QCOMPARE(pictures(), imported ? QStringList{"ZB_00001.bmp"} : QStringList{});
    QCOMPARE(w.label->text(), imported ? QString("ZB_00001.bmp") : QString());
}

void TestPictureFiles::formatCheck_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("answer"); // to the format message; 0 when none is shown
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QString>("stored");
    QTest::newRow("jpeg refused, ok") << "dog.jpeg" << int(ui::OK) << 2 << "";
    QTest::newRow("png refused, cancel") << "dog.png" << int(ui::Cancel) << 1 << "";
    QTest::newRow("no extension") << "dog" << int(ui::Cancel) << 1 << "";
    QTest::newRow("capitals accepted") << "DOG.JPG" << 0 << 1 << "ZB_00001.jpg";
    QTest::newRow("dib accepted") << "dog.dib" << 0 << 1 << "ZB_00001.dib";
}

void TestPictureFiles::formatCheck()
{
    QFETCH(QString, file);
    QFETCH(int, answer);
    QFETCH(int, dialogs);
    QFETCH(QString, stored);
    makePicture(m_source + "/" + file);
    PictureWindow w;
    m_pf->dialogs().queue(m_source + "/" + file);
    if (answer)
        m_pf->dialogs().queue(answer);
    ::subImportPicture(&w.window);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::File), dialogs);
    const Shown *message = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    if (answer) {
        QVERIFY(message);
        QCOMPARE(message->text, QString("You have selected an unsupported picture format. Please select a picture "
                                        "format from the list of supported picture formats."));
        QCOMPARE(message->title, QString("Invalid picture format"));
        QCOMPARE(message->buttons, int(ui::OKCancel));
    } else {
        QVERIFY(!message);
    }
    QCOMPARE(w.label->text(), stored);
    QCOMPARE(pictures(), stored.isEmpty() ? QStringList{} : QStringList{stored});
}

void TestPictureFiles::notAPicture()
{
    // Accepted by its name, refused by its contents: the copy goes again and
    // the window keeps the picture it had, and its stored name.
    makeFile(m_source + "/.jpg");
    makePicture(gPicturePath + "ZB_00007.jpg");
    PictureWindow w;
    w.label->setText("ZB_00007.jpg");
    QVERIFY(w.image->loadPicture(gPicturePath + "ZB_00007.jpg"));
    const QImage before = w.image->picture().toImage();
    m_pf->dialogs().queue(m_source + "/.jpg");
    ::subImportPicture(&w.window);
    const Shown *message = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(message);
    QCOMPARE(message->text,
             QString("You have selected an unsupported picture format. Please import a different picture."));
    QCOMPARE(message->title, QString("Invalid picture format"));
    QCOMPARE(message->buttons, int(ui::OKCancel));
    QCOMPARE(message->icon, int(ui::Exclamation));
    QCOMPARE(w.label->text(), QString("ZB_00007.jpg"));
    QCOMPARE(pictures(), QStringList{"ZB_00007.jpg"});
    QCOMPARE(w.image->picture().toImage(), before);
}

// The metafiles and PCX pictures the import offers are read like the rest;
// a damaged one is refused with the invalid-picture message and not kept.
void TestPictureFiles::otherFormats_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("damaged");
    for (const char *extension : {"pcx", "wmf", "emf"}) {
        QTest::addRow("%s", extension) << extension << false;
        QTest::addRow("%s damaged", extension) << extension << true;
    }
}

void TestPictureFiles::otherFormats()
{
    QFETCH(QString, extension);
    QFETCH(bool, damaged);
    QByteArray bytes = picture_samples::sample(extension, 120, 60);
    if (damaged)
        bytes.chop(bytes.size() / 3);
    const QString source = m_source + "/Drawing." + extension.toUpper();
    QVERIFY(picture_samples::write(source, bytes));
    PictureWindow w;
    m_pf->dialogs().queue(source);
    ::subImportPicture(&w.window);
    if (damaged) {
        QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->text,
                 QString("You have selected an unsupported picture format. Please import a different picture."));
        QCOMPARE(w.label->text(), QString());
        QCOMPARE(pictures(), QStringList());
        return;
    }
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 0);
    QCOMPARE(w.label->text(), "ZB_00001." + extension);
    QCOMPARE(pictures(), QStringList{"ZB_00001." + extension});
    // 120 x 60 pixels are 1800 x 900 twips, centred across the pet box.
    QVERIFY(w.image->hasPicture());
    QCOMPARE(w.image->picture().size(), QSize(120, 60));
    QCOMPARE(w.image->Width(), 1800);
    QCOMPARE(w.image->Height(), 900);
    QCOMPARE(w.image->Left(), 5100 + (2880 - 1800) / 2);
    const QImage shown = w.image->picture().toImage();
    QCOMPARE(QColor(shown.pixel(20, 30)), QColor(Qt::red));
    QCOMPARE(QColor(shown.pixel(100, 30)), QColor(Qt::blue));
}

void TestPictureFiles::notARegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe") << "fifo";
    QTest::newRow("device") << "device";
    QTest::newRow("folder") << "folder";
}

// Only a plain file is read: a pipe or a device named .jpg would hang the
// copy for good. The user is told and chooses again; nothing changes.
void TestPictureFiles::notARegularFile()
{
    QFETCH(QString, kind);
    const QString path = m_source + "/odd.jpg";
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "device")
        QVERIFY(QFile::link("/dev/zero", path));
    else
        QVERIFY(QDir().mkpath(path));
    PictureWindow w;
    w.label->setText("ZB_00007.jpg");
    m_pf->dialogs().queue(path);
    m_pf->dialogs().queue(int(ui::OK)); // choose again ...
    ::subImportPicture(&w.window);      // ... and cancel the dialog
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::File), 2);
    const Shown *message = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(message);
    QCOMPARE(message->text,
             QString("\"odd.jpg\" is not a picture file that can be imported. Please select a picture file."));
    QCOMPARE(message->buttons, int(ui::OKCancel));
    QCOMPARE(w.label->text(), QString("ZB_00007.jpg"));
    QCOMPARE(pictures(), QStringList{});
}

void TestPictureFiles::importWithNoFreeName()
{
    // Every number in use: the import stops before it touches any stored file.
    for (int n = 1; n <= kLastPictureNumber; ++n)
        QFile(gPicturePath + QStringLiteral("ZB_%1.jpg").arg(n, 5, 10, QLatin1Char('0'))).open(QIODevice::WriteOnly);
    makePicture(m_source + "/Cat.bmp");
    PictureWindow w;
    w.label->setText("ZB_00010.jpg");
    m_pf->dialogs().queue(m_source + "/Cat.bmp");
    ::subImportPicture(&w.window);
    QCOMPARE(titles(m_pf->dialogs()), (QStringList{"Import picture file...", "Import picture file..."}));
    QCOMPARE(m_pf->dialogs().last(ui::ScriptedDialogs::Message)->icon, int(ui::Exclamation));
    QCOMPARE(w.label->text(), QString("ZB_00010.jpg"));
    QCOMPARE(QFileInfo(gPicturePath + "ZB_99999.jpg").size(), 0);
    QVERIFY(!QFile::exists(gPicturePath + "ZB_99999.bmp"));
}

void TestPictureFiles::fit_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("petBox");
    QTest::addColumn<bool>("square");
    QTest::addColumn<QList<int>>("frame"); // left, top, width, height
    QTest::newRow("landscape, pet box") << 6000 << 3000 << true << false << QList<int>{5100, 900, 2880, 1440};
    QTest::newRow("portrait, pet box") << 3000 << 6000 << true << false << QList<int>{5820, 900, 1440, 2880};
    QTest::newRow("smaller than the box") << 1500 << 1000 << true << false << QList<int>{5790, 900, 1500, 1000};
    QTest::newRow("square picture") << 4000 << 4000 << true << false << QList<int>{5100, 900, 2880, 2880};
    QTest::newRow("landscape, other box") << 6000 << 3000 << false << false << QList<int>{4320, 900, 3165, 1583};
    QTest::newRow("made square") << 6000 << 3000 << true << true << QList<int>{5100, 900, 2880, 2880};
    QTest::newRow("no picture") << 0 << 0 << false << false << QList<int>{5903, 900, 0, 0};
}

void TestPictureFiles::fit()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, petBox);
    QFETCH(bool, square);
    QFETCH(QList<int>, frame);
    PictureWindow w(petBox ? "frm_pet_detail" : "frm_picture");
    const PictureBox box = pictureBoxOf(&w.window);
    QCOMPARE(box.size, petBox ? 2880 : 3165);
    const PictureFrame f = funFitPicture(width, height, box.size, box.left, square);
    QCOMPARE((QList<int>{f.left, f.top, f.width, f.height}), frame);
    // The image control takes the same frame, in pixels at 15 twips each.
    w.image->setWidth(width);
    w.image->setHeight(height);
    subSizePicture(w.image, box.size, box.left, square);
    QCOMPARE((QList<int>{w.image->Left(), w.image->Top(), w.image->Width(), w.image->Height()}), frame);
    QCOMPARE(w.image->geometry(), QRect(qRound(frame[0] / 15.0), 60, qRound(frame[2] / 15.0), qRound(frame[3] / 15.0)));
    QVERIFY(w.image->Stretch());
}

void TestPictureFiles::clearAndReset()
{
    PictureWindow w("frm_picture");
    w.label->setText("ZB_00004.jpg");
    ::subClearPicture(&w.window); // as the window's picture menu calls it
    QCOMPARE(w.label->text(), QString());
    QVERIFY(w.image->hasPicture());
    // Default.gif is 200 pixels square: 3000 twips, within the 3165 box.
    QCOMPARE((QList<int>{w.image->Left(), w.image->Top(), w.image->Width(), w.image->Height()}),
             (QList<int>{4403, 900, 3000, 3000}));
    subResetPicture(w.image);
    QVERIFY(!w.image->hasPicture());
    QVERIFY(!w.image->Stretch());
    QCOMPARE((QList<int>{w.image->Left(), w.image->Top(), w.image->Width(), w.image->Height()}),
             (QList<int>{4320, 960, 3165, 3165}));
    // Without a default picture the box is simply empty.
    gDefaultPicture.clear();
    ::subClearPicture(&w.window);
    QVERIFY(!w.image->hasPicture());
}

void TestPictureFiles::saveWithoutPicture()
{
    PictureWindow w;
    ::subSavePicture(&w.window, QString());
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::File), 0);
    const Shown *message = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QVERIFY(message);
    QCOMPARE(message->text, QString("There is no picture, use 'Import Picture' to add a picture."));
    QCOMPARE(message->title, QString("Zorbi 2003"));
    QCOMPARE(message->icon, int(ui::Information));
}

void TestPictureFiles::saveAs_data()
{
    QTest::addColumn<QString>("target"); // relative to the program folder; "" cancels
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a new file") << "source/00012.jpg" << true << false;
    QTest::newRow("over a file elsewhere") << "source/old.jpg" << true << false;
    QTest::newRow("cancelled") << "" << false << false;
    QTest::newRow("onto the stored file") << "Pictures/ZB_00012.jpg" << false << true;
    QTest::newRow("onto another record's file") << "Pictures/ZB_00013.jpg" << false << true;
    QTest::newRow("the stored file, written otherwise") << "Pictures/../Pictures/./ZB_00012.jpg" << false << true;
}

void TestPictureFiles::saveAs()
{
    QFETCH(QString, target);
    QFETCH(bool, saved);
    QFETCH(bool, refused);
    makeFile(gPicturePath + "ZB_00012.jpg", "the stored picture");
    makeFile(gPicturePath + "ZB_00013.jpg", "another record's picture");
    makeFile(m_source + "/old.jpg", "an old file");
    PictureWindow w;
    w.label->setText("ZB_00012.jpg");
    const QString chosen = target.isEmpty() ? QString() : m_pf->path() + "/" + target;
    m_pf->dialogs().queue(chosen);
    ::subSavePicture(&w.window, w.label->text());
    const Shown *dlg = m_pf->dialogs().last(ui::ScriptedDialogs::File);
    QVERIFY(dlg);
    QCOMPARE(dlg->file.title, QString("Save picture as..."));
    QCOMPARE(dlg->file.fileName, QString("00012.jpg"));
    QVERIFY(dlg->file.save && dlg->file.overwritePrompt);
    const Shown *message = m_pf->dialogs().last(ui::ScriptedDialogs::Message);
    QCOMPARE(message != nullptr, refused);
    if (refused)
        QCOMPARE(message->title, QString("Save picture as..."));
    auto contents = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QCOMPARE(contents(gPicturePath + "ZB_00012.jpg"), QByteArray("the stored picture"));
    QCOMPARE(contents(gPicturePath + "ZB_00013.jpg"), QByteArray("another record's picture"));
    if (saved)
        QCOMPARE(contents(chosen), QByteArray("the stored picture"));
    else if (target.startsWith("source"))
        QVERIFY(!QFile::exists(chosen));
    QCOMPARE(funSavePictureAs("ZB_00012.jpg"), false); // the queue is empty: cancelled
}

void TestPictureFiles::localeInfo()
{
    QCOMPARE(funGetLocaleInfo(31), QString("M/d/yyyy"));
    QCOMPARE(funGetLocaleInfo(4), QString());
}

ZORBI_TEST_MAIN(TestPictureFiles)
#include "tst_picture_files.moc"
