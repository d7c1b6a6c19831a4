// The photo gallery on a real data file and real picture files: the gallery's
// fill in each view, the picture handler's codes and messages, the picture
// window's save, close and delete paths, and the main window's and the
// context menus' picture entries.

#include "core/frm_controls.h"
#include "core/codes.h"
#include "core/frm_date.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/settings.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/data_control.h"
#include "platform/controls/db_combo.h"
#include "platform/controls/vb_image.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/thumbnails.h"
#include "records/frm_picture.h"
#include "records/picture_handler.h"
#include "data_rows.h"
#include "picture_samples.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QStandardItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include <sys/stat.h>

using testsupport::ProgramFolder;
using Shown = ui::ScriptedDialogs::Shown;
using Window = std::unique_ptr<frm_picture>;

using testsupport::insert;
using testsupport::value;
namespace {

QStringList g_calls;

long addPet(const QVariant &name)
{
    return insert("INSERT INTO tbl_pet (pet_name, pet_species_id) VALUES (?, 1)", {name});
}

long addPicture(const QVariant &pet, const QVariant &title, const QVariant &file, const QVariant &category = {},
                const QVariant &date = {})
{
    return insert(
        "INSERT INTO tbl_picture (picture_pet_id, picture_title, picture_description, picture_date, "
        "picture_category, picture_filename) VALUES (?, ?, ?, ?, ?, ?)",
        {pet, title, title.isNull() ? QVariant() : QVariant("about " + title.toString()), date, category, file});
}

int pictureCount() { return value("SELECT COUNT(*) FROM tbl_picture").toInt(); }

// A JPEG of one colour in the pictures folder.
void writeJpeg(const QString &name, QColor colour, QSize size = {400, 300})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(gPicturePath + name, "JPG"));
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QColor centre(const QIcon &icon)
{
    const QImage image = icon.pixmap(128, 128).toImage();
    return image.isNull() ? QColor() : QColor(image.pixel(image.width() / 2, image.height() / 2));
}

// The gallery's thumbnails are read in the background after the fill.
bool thumbnailsRead()
{
    return QTest::qWaitFor([] { return !gMain->ImageListPicture_Large->isReading(); }, 20000);
}

// The gallery's rows as they are listed: title | pet | category | date | caption.
QStringList galleryRows()
{
    QStringList rows;
    const VbListView *l = gMain->ListView_Picture;
    const QAbstractItemModel *m = l->findChild<QAbstractItemView *>("reportView")->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << m->index(r, c).data().toString();
        rows << cells.join(" | ");
    }
    return rows;
}

VbListItem *galleryItem(const QString &title)
{
    const VbListView *l = gMain->ListView_Picture;
    const auto *m = qobject_cast<const QAbstractProxyModel *>(l->findChild<QAbstractItemView *>("reportView")->model());
    for (int r = 0; r < m->rowCount(); ++r)
        if (m->index(r, 0).data().toString() == title) {
            auto *model = qobject_cast<QStandardItemModel *>(m->sourceModel());
            return static_cast<VbListItem *>(model->itemFromIndex(m->mapToSource(m->index(r, 0))));
        }
    return nullptr;
}

Window open(long id)
{
    Window w = picture_handler::funPictureWindow(gMain, id);
    if (w)
        w->show();
    return w;
}

QStringList messages(ProgramFolder &pf)
{
    QStringList texts;
    for (const Shown &s : pf.dialogs().shown())
        texts << s.text;
    return texts;
}

// Acts on the picture window once it is the modal window, then closes
// whatever is left modal; gives up after a while so a failing test never waits.
QPointer<QTimer> onPictureWindow(const std::function<void(frm_picture *)> &act)
{
    return testsupport::onModal<frm_picture>([act](frm_picture *w) {
        act(w);
        if (w->isVisible())
            w->close();
    });
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // The gallery.
    void fillInTheReportView();
    void fillInTheLargeIconView();
    void otherViewsOpenNoFile_data();
    void otherViewsOpenNoFile();
    void refillKeepsOneThumbnailAnItem();
    void showSetsTheToolbar_data();
    void showSetsTheToolbar();

    // The handler's codes.
    void edit_data();
    void edit();
    void editOfNothing();
    void deleteByCode_data();
    void deleteByCode();
    void otherCodes();

    // The picture window.
    void closePaths_data();
    void closePaths();
    void newPictureWithoutTitle();
    void importThenSave();
    void importOtherFormats_data();
    void importOtherFormats();
    void refusedSaveKeepsTheEdits();
    void deleteDropsPendingEdits();
    void photoSites_data();
    void photoSites();
    void dateChooser();
    void petsAndCategories();
    void pictureMenuOnRightClick();

    // The main window's and the menus' picture entries.
    void petPanelEntries();
    void galleryMenuAndToolbar();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestPictures::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QFile::copy(qEnvironmentVariable("ZORBI_SOURCE_DIR") + QStringLiteral("/data/Default.gif"),
                m_pf->file(QStringLiteral("Default.gif")));
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gDataDB && gSystemDB && !gDefaultPicture.isEmpty());
    QDir(thumbnails::cacheRoot()).removeRecursively();
    g_calls.clear();
    auto &r = subjectRoutines();
    r.reportHandler = [](QWidget *, int a, long id, long rec, bool flag) {
        g_calls << QStringLiteral("report(%1,%2,%3,%4)").arg(a).arg(id).arg(rec).arg(flag);
        return false;
    };
    m_pf->dialogs().clear();
}

void TestPictures::cleanup()
{
    resetSubjectRoutines();
    m_pf.reset();
}

// ---------------------------------------------------------------- the gallery

void TestPictures::fillInTheReportView()
{
    const long rex = addPet("Rex");
    const long nameless = addPet("");
    addPicture(qlonglong(rex), "Zoo", "ZB_00001.jpg", "Outings", "6/1/2024");
    addPicture(QVariant(), QVariant(), QVariant());
    addPicture(qlonglong(rex), "beach", "", "Outings");
    addPicture(qlonglong(nameless), "", "ZB_00009.jpg");
    // A pet deleted meanwhile leaves its picture without a pet.
    addPicture(9999, "Apple tree", QVariant());

    QVERIFY(picture_handler::funPictureHandler(gMain, ActionShow, 0, QString(), 3));
    QCOMPARE(
        galleryRows(),
        (QStringList{"Untitled |  |  |  | ", "Untitled |  |  |  | about ", "Apple tree |  |  |  | about Apple tree",
                     "beach | Rex | Outings |  | about beach", "Zoo | Rex | Outings | 6/1/2024 | about Zoo"}));
    for (int i = 0; i < gMain->ListView_Picture->ItemCount(); ++i) {
        VbListItem *item = galleryItem(i < 2 ? "Untitled" : QStringList{"Apple tree", "beach", "Zoo"}[i - 2]);
        QVERIFY(item);
        QCOMPARE(item->SmallIcon(), 1);
        QCOMPARE(item->Icon(), 0);
    }
    QCOMPARE(galleryItem("Zoo")->Tag().toLongLong(), value("SELECT picture_id FROM tbl_picture WHERE "
                                                           "picture_title = 'Zoo'")
                                                         .toLongLong());
    QCOMPARE(gCurrentView, 20);
    QCOMPARE(gMain->shownView(), 20);

    // An empty gallery is no error.
    gDataDB->execute("DELETE FROM tbl_picture");
    QVERIFY(picture_handler::funPictureHandler(gMain, ActionRefresh, 0, QString(), 3));
    QCOMPARE(gMain->ListView_Picture->ItemCount(), 0);
    QCOMPARE(messages(*m_pf), QStringList());
}

void TestPictures::fillInTheLargeIconView()
{
    // A good file, a missing one, one that is no picture, a folder, a pipe,
    // the data file itself, and no file: every row is listed, and each but the
    // first shows the default picture.
    writeJpeg("ZB_00001.jpg", Qt::blue);
    writeText(gPicturePath + "ZB_00003.jpg", "not a picture");
    QVERIFY(QDir().mkdir(gPicturePath + "ZB_00004.jpg"));
    QCOMPARE(::mkfifo(QFile::encodeName(gPicturePath + "ZB_00005.jpg").constData(), 0600), 0);
    addPicture(QVariant(), "a good one", "ZB_00001.jpg");
    addPicture(QVariant(), "b missing", "ZB_00002.jpg");
    addPicture(QVariant(), "c unreadable", "ZB_00003.jpg");
    addPicture(QVariant(), "d folder", "ZB_00004.jpg");
    addPicture(QVariant(), "e pipe", "ZB_00005.jpg");
    addPicture(QVariant(), "f data file", "../Zorbi.dat");
    addPicture(QVariant(), "g no file", QVariant());

    QVERIFY(picture_handler::funPictureHandler(gMain, ActionShow, 0, QString(), 0));
    QCOMPARE(messages(*m_pf), QStringList());
    VbListView *l = gMain->ListView_Picture;
    QCOMPARE(l->View(), 0);
    QCOMPARE(l->ItemCount(), 7);
    QCOMPARE(l->Icons(), gMain->ImageListPicture_Large);
    QCOMPARE(gMain->ImageListPicture_Large->Count(), 7);
    QCOMPARE(gMain->ImageListPicture_Large->ImageSize(), QSize(128, 128));
    QVERIFY(thumbnailsRead());

    const QColor standIn = centre(QIcon(QPixmap::fromImage(thumbnails::thumbnail(gDefaultPicture))));
    QVERIFY(standIn.isValid() && standIn.blue() < 200);
    int index = 0;
    for (const char *title :
         {"a good one", "b missing", "c unreadable", "d folder", "e pipe", "f data file", "g no file"}) {
        ++index;
        VbListItem *item = galleryItem(QLatin1String(title));
        QVERIFY2(item, title);
        QCOMPARE(item->Icon(), index);
        const QColor shown = centre(gMain->ImageListPicture_Large->picture(index));
        if (index == 1)
            QVERIFY2(shown.blue() > 200 && shown.red() < 60, title);
        else
            QCOMPARE(shown, standIn);
    }
    // Only the good file went to the thumbnail cache.
    QCOMPARE(QDir(thumbnails::cacheRoot() + "/normal").entryList(QDir::Files).size(), 2); // it and Default.gif
    QVERIFY(QFileInfo(thumbnails::cachedPath(gPicturePath + "ZB_00001.jpg")).isFile());

    // Without the default picture the program's own picture stands in.
    QFile::remove(gDefaultPicture);
    QVERIFY(picture_handler::funPictureHandler(gMain, ActionRefresh, 0, QString(), 0));
    QCOMPARE(gMain->ImageListPicture_Large->Count(), 7);
    QVERIFY(!gMain->ImageListPicture_Large->picture(2).isNull());
}

void TestPictures::otherViewsOpenNoFile_data()
{
    QTest::addColumn<int>("view");
    QTest::newRow("small icons") << 1;
    QTest::newRow("report") << 3;
}

void TestPictures::otherViewsOpenNoFile()
{
    QFETCH(int, view);
    writeJpeg("ZB_00001.jpg", Qt::blue);
    writeText(gPicturePath + "ZB_00002.jpg", "not a picture");
    addPicture(QVariant(), "good", "ZB_00001.jpg");
    addPicture(QVariant(), "unreadable", "ZB_00002.jpg");
    QVERIFY(picture_handler::funPictureHandler(gMain, ActionShow, 0, QString(), view));
    QCOMPARE(gMain->ListView_Picture->View(), view);
    QCOMPARE(gMain->ListView_Picture->ItemCount(), 2);
    QCOMPARE(gMain->ImageListPicture_Large->Count(), 0);
    QVERIFY(!QFileInfo::exists(thumbnails::cacheRoot()));
    QCOMPARE(messages(*m_pf), QStringList());
}

void TestPictures::refillKeepsOneThumbnailAnItem()
{
    for (int i = 1; i <= 12; ++i) {
        writeJpeg(QStringLiteral("ZB_%1.jpg").arg(i, 5, 10, QLatin1Char('0')), i % 2 ? Qt::red : Qt::green);
        addPicture(QVariant(), QStringLiteral("Picture %1").arg(i, 2, 10, QLatin1Char('0')),
                   QStringLiteral("ZB_%1.jpg").arg(i, 5, 10, QLatin1Char('0')));
    }
    for (int pass = 0; pass < 3; ++pass) {
        QVERIFY(picture_handler::funPictureHandler(gMain, ActionRefresh, 0, QString(), 0));
        QCOMPARE(gMain->ImageListPicture_Large->Count(), 12);
        QVERIFY(thumbnailsRead());
        for (int i = 1; i <= 12; ++i) {
            VbListItem *item = galleryItem(QStringLiteral("Picture %1").arg(i, 2, 10, QLatin1Char('0')));
            const QColor c = centre(gMain->ImageListPicture_Large->picture(item->Icon()));
            QVERIFY(i % 2 ? c.red() > 200 && c.green() < 60 : c.green() > 100 && c.red() < 60);
        }
    }
}

void TestPictures::showSetsTheToolbar_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("pressed"); // of the three view buttons
    QTest::newRow("large") << 0 << 0;
    QTest::newRow("small") << 1 << 1;
    QTest::newRow("report") << 3 << 2;
}

void TestPictures::showSetsTheToolbar()
{
    QFETCH(int, view);
    QFETCH(int, pressed);
    CtToolBar *tb = gMain->ctToolbar_MainToolbar;
    const MainToolItems &t = gMain->toolItems;
    gMain->showView(6); // the calendar's toolbar first
    tb->setItemEnabled(t.print, false);
    tb->setItemEnabled(t.del, true);
    gListviewPicture = 0;
    QVERIFY(picture_handler::funPictureHandler(gMain, ActionShow, 0, QString(), view));
    for (int id : {t.sepPrint, t.print, t.sepDelete, t.del, t.sepViews, t.largeIcons, t.mediumIcons, t.details})
        QVERIFY2(tb->itemVisible(id), qPrintable(tb->itemText(id)));
    for (int id : t.calendarGroup())
        QVERIFY2(!tb->itemVisible(id), qPrintable(tb->itemText(id)));
    QVERIFY(!tb->itemEnabled(t.del));
    QVERIFY(!tb->itemEnabled(t.print)); // Print keeps its state
    for (int i = 0; i < 3; ++i)
        QCOMPARE(tb->itemChecked(t.viewButtons()[size_t(i)]), i == pressed);
    QCOMPARE(gMain->ListView_Picture->View(), view);
    QCOMPARE(gCurrentView, 20);
    QCOMPARE(gMain->shownView(), 20);
}

// ---------------------------------------------------------------- the codes

void TestPictures::edit_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("a picture") << "ZB_00001.jpg"
                               << "";
    QTest::newRow("no picture") << ""
                                << "";
    QTest::newRow("missing file") << "ZB_00002.jpg"
                                  << "53: File not found";
    QTest::newRow("no picture in it") << "ZB_00003.jpg"
                                      << "481: Invalid picture";
    // The data file is the database engine's alone: it is never read as a picture.
    QTest::newRow("the data file") << "../Zorbi.dat"
                                   << "481: Invalid picture";
}

void TestPictures::edit()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    writeJpeg("ZB_00001.jpg", Qt::blue, {800, 400});
    writeText(gPicturePath + "ZB_00003.jpg", "not a picture");
    const long id = addPicture(qlonglong(addPet("Rex")), "Zoo", file);
    gCurrentView = 1;
    QString title;
    int width = 0;
    QColor shown;
    auto t = onPictureWindow([&](frm_picture *w) {
        title = w->windowTitle();
        width = w->ImagePicture->Width();
        shown = QColor(w->ImagePicture->picture().toImage().pixel(10, 10));
        QCOMPARE(w->txtpicture[0]->text(), QString("Zoo"));
        QCOMPARE(w->DBCbopicture[1]->currentText(), QString("Rex"));
    });
    QVERIFY(picture_handler::funPictureHandler(gMain, ActionEdit, id, QString(), 1));
    delete t;
    QCOMPARE(title, QString("Zoo"));
    QCOMPARE(gCurrentView, 20);
    // A large picture is fitted into the box; the default picture (200 pixels) fits as it is.
    if (file == "ZB_00001.jpg") {
        QCOMPARE(width, 3165);
        QVERIFY(shown.blue() > 200);
    } else {
        QCOMPARE(width, 3000);
        QVERIFY(shown.blue() < 200);
    }
    if (message.isEmpty()) {
        QCOMPARE(messages(*m_pf), QStringList());
    } else {
        QCOMPARE(messages(*m_pf), QStringList{message});
        const Shown &s = m_pf->dialogs().shown().front();
        QCOMPARE(s.title, QString("Picture error"));
        QCOMPARE(s.icon, int(ui::Exclamation));
    }
}

void TestPictures::editOfNothing()
{
    bool opened = false;
    auto t = onPictureWindow([&](frm_picture *) { opened = true; });
    QVERIFY(!picture_handler::funPictureHandler(gMain, ActionEdit, 0, QString(), 1));
    QCOMPARE(messages(*m_pf), QStringList());
    QVERIFY(!picture_handler::funPictureHandler(gMain, ActionEdit, 4242, QString(), 1));
    QCOMPARE(messages(*m_pf), QStringList{"Picture not found, may have been deleted."});
    QCOMPARE(m_pf->dialogs().shown().front().title, QString("Error"));
    QCOMPARE(m_pf->dialogs().shown().front().icon, int(ui::Information));
    QTest::qWait(50);
    QVERIFY(!opened);
    delete t;
}

void TestPictures::deleteByCode_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("no") << int(ui::No) << false;
    QTest::newRow("yes") << int(ui::Yes) << true;
}

void TestPictures::deleteByCode()
{
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    writeJpeg("ZB_00001.jpg", Qt::blue);
    const long id = addPicture(QVariant(), "Zoo \"at noon\"", "ZB_00001.jpg");
    addPicture(QVariant(), "Other", QVariant());
    m_pf->dialogs().queue(answer);
    QCOMPARE(picture_handler::funPictureHandler(gMain, ActionDelete, id, "Zoo \"at noon\"", 1), deleted);
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete picture \"Zoo \"at noon\"\"?"});
    const Shown &s = m_pf->dialogs().shown().front();
    QCOMPARE(s.title, QString("Confirm Delete"));
    QCOMPARE(s.buttons, int(ui::YesNo));
    QCOMPARE(s.icon, int(ui::Question));
    QCOMPARE(s.defaultButton, 2);
    QCOMPARE(pictureCount(), deleted ? 1 : 2);
    // The file stays either way.
    QVERIFY(QFileInfo(gPicturePath + "ZB_00001.jpg").isFile());
}

void TestPictures::otherCodes()
{
    for (int code : {4, 6}) {
        m_pf->dialogs().clear();
        QVERIFY(!picture_handler::funPictureHandler(gMain, code, 1, QString(), 1));
        QCOMPARE(messages(*m_pf), QStringList{"Invalid function specified for picture handler."});
        QCOMPARE(m_pf->dialogs().shown().front().title, QString("Zorbi 2003"));
    }
    // Through the installed routines, as every caller reaches it.
    ::funPictureHandler(gMain, ActionPrint, 12, QString(), 1);
    QCOMPARE(g_calls, QStringList{"report(19,11,12,1)"});
}

// ---------------------------------------------------------------- the window

void TestPictures::closePaths_data()
{
    QTest::addColumn<QString>("typed"); // "" types nothing
    QTest::addColumn<QString>("how");   // "save" Save & Close, "close" the close box
    QTest::addColumn<int>("answer");    // to "Save Changes?", 0 when none is asked
    QTest::addColumn<QString>("stored");
    QTest::newRow("save, nothing changed") << ""
                                           << "save" << 0 << "Zoo";
    QTest::newRow("close, nothing changed") << ""
                                            << "close" << 0 << "Zoo";
    QTest::newRow("save, changed") << "Zoo at noon"
                                   << "save" << 0 << "Zoo at noon";
    QTest::newRow("close, changed, No") << "Zoo at noon"
                                        << "close" << int(ui::No) << "Zoo";
    QTest::newRow("close, changed, Yes") << "Zoo at noon"
                                         << "close" << int(ui::Yes) << "Zoo at noon";
}

void TestPictures::closePaths()
{
    QFETCH(QString, typed);
    QFETCH(QString, how);
    QFETCH(int, answer);
    QFETCH(QString, stored);
    const long id = addPicture(QVariant(), "Zoo", QVariant());
    Window w = open(id);
    QVERIFY(w);
    QCOMPARE(w->savedRecordID(), id); // opened: the picture's id
    w->setSavedRecordID(0);           // so that only a write puts it back
    if (!typed.isEmpty()) {
        w->txtpicture[0]->setFocus();
        w->txtpicture[0]->selectAll();
        QTest::keyClicks(w->txtpicture[0], typed);
    }
    if (answer)
        m_pf->dialogs().queue(answer);
    if (how == "save")
        w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    else
        w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(messages(*m_pf), answer ? QStringList{"Save Changes?"} : QStringList());
    QCOMPARE(value("SELECT picture_title FROM tbl_picture").toString(), stored);
    QCOMPARE(pictureCount(), 1);
    const bool written = how == "save" || answer == int(ui::Yes);
    QCOMPARE(w->savedRecordID(), written ? id : 0L);
}

void TestPictures::newPictureWithoutTitle()
{
    Window w = open(0);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("New Picture"));
    // Nothing to delete before the picture is saved.
    QVERIFY(!w->ctToolBar_Menubar->itemEnabled(w->menuItems.del));
    QVERIFY(!w->ctToolbar_Toolbar->itemEnabled(w->toolItems.del));
    QTest::keyClicks(w->txtpictureCaption, "Asleep");
    w->ctToolBar_Menubar->clickItem(w->menuItems.saveClose);
    QVERIFY(!w->isVisible());
    QCOMPARE(pictureCount(), 1);
    const long id = long(value("SELECT picture_id FROM tbl_picture").toLongLong());
    QCOMPARE(w->savedRecordID(), id);
    QCOMPARE(value("SELECT picture_title FROM tbl_picture").toString(), QString());
    QVERIFY(picture_handler::funPictureHandler(gMain, ActionRefresh, 0, QString(), 3));
    QCOMPARE(galleryRows(), QStringList{"Untitled |  |  |  | Asleep"});

    // Opened again, its delete names it "Untitled".
    w = open(id);
    QCOMPARE(w->windowTitle(), value("SELECT picture_title FROM tbl_picture").isNull() ? "(None)" : "");
    QVERIFY(w->ctToolBar_Menubar->itemEnabled(w->menuItems.del));
    m_pf->dialogs().queue(int(ui::No));
    w->ctToolBar_Menubar->clickItem(w->menuItems.del);
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete picture \"Untitled\"?"});
    QVERIFY(w->isVisible());
    QCOMPARE(pictureCount(), 1);
    w->close();

    // The title bar: "(None)" for no title, nothing for an empty one.
    for (const QVariant &title : {QVariant(), QVariant("")}) {
        Window other = open(addPicture(QVariant(), title, QVariant()));
        QCOMPARE(other->windowTitle(), title.isNull() ? QString("(None)") : QString());
        other->close();
    }
}

void TestPictures::importThenSave()
{
    Window w = open(0);
    const QString sample = qEnvironmentVariable("ZORBI_SOURCE_DIR") + "/data/samples/Dog.jpg";
    m_pf->dialogs().queue(sample);
    w->ctToolBar_Menubar->clickItem(w->menuItems.importPicture);
    QCOMPARE(w->lblPicture->text(), QString("ZB_00001.jpg"));
    QVERIFY(QFileInfo(gPicturePath + "ZB_00001.jpg").isFile());
    QVERIFY(w->ImagePicture->Width() <= 3165 && w->ImagePicture->Height() <= 3165);
    QCOMPARE(w->ImagePicture->Left() + w->ImagePicture->Width() / 2, 4320 + 3165 / 2);
    w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    QVERIFY(!w->isVisible());
    QCOMPARE(value("SELECT picture_filename FROM tbl_picture").toString(), QString("ZB_00001.jpg"));

    // Imported, then closed with "No": no row; the copy stays in the folder.
    w = open(0);
    m_pf->dialogs().queue(sample);
    w->ctToolbar_Toolbar->clickItem(w->toolItems.picture);
    QCOMPARE(w->lblPicture->text(), QString("ZB_00002.jpg"));
    m_pf->dialogs().queue(int(ui::No));
    w->close();
    QVERIFY(!w->isVisible());
    QCOMPARE(pictureCount(), 1);
}

void TestPictures::importOtherFormats_data()
{
    QTest::addColumn<QString>("extension");
    for (const char *extension : {"pcx", "wmf", "emf"})
        QTest::newRow(extension) << extension;
}

// A metafile or PCX picture imported into the gallery shows in the window and
// as its thumbnail.
void TestPictures::importOtherFormats()
{
    QFETCH(QString, extension);
    const QString source = m_pf->file("drawing." + extension);
    QVERIFY(picture_samples::write(source, picture_samples::sample(extension, 400, 200)));
    Window w = open(0);
    m_pf->dialogs().queue(source);
    w->ctToolbar_Toolbar->clickItem(w->toolItems.picture);
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 0);
    QCOMPARE(w->lblPicture->text(), "ZB_00001." + extension);
    QCOMPARE(w->ImagePicture->picture().size(), QSize(400, 200));
    QCOMPARE(w->ImagePicture->Width(), 3165);
    w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    QVERIFY(!w->isVisible());

    QVERIFY(picture_handler::funPictureHandler(gMain, ActionShow, 0, QString(), 0));
    VbListItem *item = galleryItem("Untitled");
    QVERIFY(item);
    QVERIFY(thumbnailsRead());
    const QImage thumb = gMain->ImageListPicture_Large->picture(item->Icon()).pixmap(128, 128).toImage();
    QCOMPARE(QColor(thumb.pixel(30, 64)), QColor(Qt::red));
    QCOMPARE(QColor(thumb.pixel(98, 64)), QColor(Qt::blue));
    QVERIFY(QFileInfo(thumbnails::cachedPath(gPicturePath + "ZB_00001." + extension)).isFile());
}

void TestPictures::refusedSaveKeepsTheEdits()
{
    const long id = addPicture(QVariant(), "Zoo", QVariant());
    QVERIFY(gDataDB->execute("CREATE TRIGGER no_writes BEFORE UPDATE ON tbl_picture "
                             "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END"));
    Window w = open(id);
    w->txtpicture[0]->selectAll();
    QTest::keyClicks(w->txtpicture[0], "Zoo at noon");
    w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    // Told, and the window stays with what was typed.
    QCOMPARE(m_pf->dialogs().count(ui::ScriptedDialogs::Message), 1);
    QVERIFY(m_pf->dialogs().shown().front().title.startsWith("Error"));
    QVERIFY(m_pf->dialogs().shown().front().text.contains("the disk is full"));
    QVERIFY(w->isVisible());
    QCOMPARE(w->txtpicture[0]->text(), QString("Zoo at noon"));
    QCOMPARE(value("SELECT picture_title FROM tbl_picture").toString(), QString("Zoo"));

    // Once the file takes writes again, the same command saves.
    QVERIFY(gDataDB->execute("DROP TRIGGER no_writes"));
    w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    QVERIFY(!w->isVisible());
    QCOMPARE(value("SELECT picture_title FROM tbl_picture").toString(), QString("Zoo at noon"));
}

void TestPictures::deleteDropsPendingEdits()
{
    writeJpeg("ZB_00001.jpg", Qt::blue);
    const long id = addPicture(QVariant(), "Zoo", "ZB_00001.jpg");
    Window w = open(id);
    w->txtpicture[0]->selectAll();
    QTest::keyClicks(w->txtpicture[0], "Zoo at noon");
    m_pf->dialogs().queue(int(ui::Yes));
    w->ctToolbar_Toolbar->clickItem(w->toolItems.del);
    // One question, the delete's; nothing is written to the deleted row.
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete picture \"Zoo\"?"});
    QVERIFY(!w->isVisible());
    QCOMPARE(pictureCount(), 0);
    QCOMPARE(w->savedRecordID(), 0L);
    QVERIFY(QFileInfo(gPicturePath + "ZB_00001.jpg").isFile());
}

void TestPictures::photoSites_data()
{
    QTest::addColumn<QString>("site1");
    QTest::addColumn<QString>("site2");
    QTest::newRow("none") << ""
                          << "";
    QTest::newRow("only the second") << ""
                                     << "photos.example.org";
    QTest::newRow("both") << "pics.example.org"
                          << "https://photos.example.org";
}

void TestPictures::photoSites()
{
    QFETCH(QString, site1);
    QFETCH(QString, site2);
    funPref_Set("PhotoSite_1", site1);
    funPref_Set("PhotoSite_2", site2);
    Window w = open(0);
    CtToolBar *menu = w->ctToolBar_Menubar;
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[0].separator), !site1.isEmpty());
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[0].entry), !site1.isEmpty());
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[1].separator), !site2.isEmpty());
    QCOMPARE(menu->itemVisible(w->menuItems.photoSites[1].entry), !site2.isEmpty());
    if (!site1.isEmpty())
        QCOMPARE(menu->itemStoredText(w->menuItems.photoSites[0].entry), "http://" + site1);
    if (!site2.isEmpty())
        QCOMPARE(menu->itemStoredText(w->menuItems.photoSites[1].entry),
                 site2.startsWith("https:") ? site2 : "http://" + site2);
    QCOMPARE(w->lblDateFormat->text(), QString("m/d/yyyy"));
    w->close();
}

void TestPictures::dateChooser()
{
    const long id = addPicture(QVariant(), "Zoo", QVariant(), QVariant(), "6/1/2024");
    Window w = open(id);
    QCOMPARE(w->cmdPicture->toolTip(), QString("Select birthday..."));
    QString prompt;
    QDate shown;
    auto t = testsupport::onModal<frm_date>([&](frm_date *chooser) {
        prompt = chooser->windowTitle();
        shown = chooser->MonthView1->selectedDate();
        chooser->cmdCancel_Click();
    });
    w->cmdPicture->click();
    delete t;
    QCOMPARE(prompt, QString("Select date"));
    QCOMPARE(shown, QDate(2024, 6, 1));
    QCOMPARE(w->txtpicture[3]->text(), QString("6/1/2024"));
    t = testsupport::onModal<frm_date>([](frm_date *chooser) { chooser->MonthView1_DateClick(QDate(2018, 12, 24)); });
    w->cmdPicture->click();
    delete t;
    QCOMPARE(w->txtpicture[3]->text(), QString("12/24/2018"));
    QCOMPARE(w->focusWidget(), w->txtpicture[3]);
    w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    QCOMPARE(value("SELECT picture_date FROM tbl_picture").toString(), QString("12/24/2018"));
}

void TestPictures::petsAndCategories()
{
    addPet("Rex");
    addPet("");
    addPet(QVariant());
    const long bella = addPet("Bella");
    addPicture(QVariant(), "one", QVariant(), "Birthday");
    addPicture(QVariant(), "two", QVariant(), "Beach");
    addPicture(QVariant(), "three", QVariant(), "");
    addPicture(QVariant(), "four", QVariant(), "Beach");
    Window w = open(0);
    QStringList pets, categories;
    for (int i = 0; i < w->DBCbopicture[1]->count(); ++i)
        pets << w->DBCbopicture[1]->itemText(i);
    for (int i = 0; i < w->DBCbopicture[0]->count(); ++i)
        categories << w->DBCbopicture[0]->itemText(i);
    QCOMPARE(pets, (QStringList{"Bella", "Rex"}));
    QCOMPARE(categories, (QStringList{"Beach", "Birthday"}));

    // Typing completes from the categories in use; the rest is selected.
    w->DBCbopicture[0]->setFocus();
    QTest::keyClicks(w->DBCbopicture[0]->lineEdit(), "bi");
    QCOMPARE(w->DBCbopicture[0]->currentText(), QString("Birthday"));
    QCOMPARE(w->DBCbopicture[0]->lineEdit()->selectedText(), QString("rthday"));
    w->DBCbopicture[1]->setCurrentIndex(0);
    w->ctToolbar_Toolbar->clickItem(w->toolItems.saveClose);
    QCOMPARE(value("SELECT picture_category FROM tbl_picture WHERE picture_id = ?", {qlonglong(w->savedRecordID())})
                 .toString(),
             QString("Birthday"));
    QCOMPARE(value("SELECT picture_pet_id FROM tbl_picture WHERE picture_id = ?", {qlonglong(w->savedRecordID())})
                 .toLongLong(),
             qlonglong(bella));
}

void TestPictures::pictureMenuOnRightClick()
{
    Window w = open(0);
    QTimer::singleShot(0, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    });
    QTest::mouseClick(w->ImagePicture, Qt::RightButton);
    CtDropMenu *pictureMenu = gControls->ctDropMenuContext->menu(3);
    QCOMPARE(pictureMenu->owner(), static_cast<QWidget *>(w.get()));
    // Its "Save picture" acts on this window: with no picture, it says so.
    pictureMenu->triggerEntry(3, w.get());
    QCOMPARE(messages(*m_pf), QStringList{"There is no picture, use 'Import Picture' to add a picture."});
    w->close();
}

// ---------------------------------------------------------------- the main window

void TestPictures::petPanelEntries()
{
    const long rex = addPet("Rex");
    const long zoo = addPicture(qlonglong(rex), "Zoo", QVariant());
    addPicture(qlonglong(rex), "Beach", QVariant());
    QVERIFY(funPetHandler(gMain, ActionShow, rex, QString(), 1));
    VbListView *panel = gMain->ListView_Pet;
    QVERIFY(panel->selectKey(QStringLiteral("p%1").arg(zoo)));

    // A double-click opens the picture; the panel is shown again afterwards.
    QString title;
    auto t = onPictureWindow([&](frm_picture *w) { title = w->windowTitle(); });
    gMain->ListView_Pet_DblClick();
    delete t;
    QCOMPARE(title, QString("Zoo"));
    QCOMPARE(gMain->shownView(), 1);

    // Delete on the toolbar deletes the chosen picture, then shows the panel again.
    QVERIFY(panel->selectKey(QStringLiteral("p%1").arg(zoo)));
    gMain->ListView_Pet_ItemClick(panel->SelectedItem());
    m_pf->dialogs().queue(int(ui::Yes));
    gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.del);
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete picture \"Zoo\"?"});
    QCOMPARE(pictureCount(), 1);
    QVERIFY(!panel->ListItem(QStringLiteral("p%1").arg(zoo)));
    QCOMPARE(gMain->shownView(), 1);
}

void TestPictures::galleryMenuAndToolbar()
{
    const long zoo = addPicture(QVariant(), "Zoo", QVariant());
    addPicture(QVariant(), "Beach", QVariant());
    QVERIFY(picture_handler::funPictureHandler(gMain, ActionShow, 0, QString(), 3));
    CtDropMenu *menu = gControls->ctDropMenuContext->menu(5);

    // Open, through the gallery's menu.
    gMain->ListView_Picture->setSelectedItem(galleryItem("Zoo"));
    menu->setTag(QString::number(zoo));
    QString title;
    auto t = onPictureWindow([&](frm_picture *w) { title = w->windowTitle(); });
    menu->triggerEntry(3, gMain);
    delete t;
    QCOMPARE(title, QString("Zoo"));

    // Delete, naming the chosen picture; the gallery is filled again.
    gMain->ListView_Picture->setSelectedItem(galleryItem("Zoo"));
    m_pf->dialogs().queue(int(ui::Yes));
    menu->triggerEntry(5, gMain);
    QCOMPARE(messages(*m_pf), QStringList{"Are you sure you want to delete picture \"Zoo\"?"});
    QCOMPARE(galleryRows(), QStringList{"Beach |  |  |  | about Beach"});

    // New, through the menu and through the toolbar.
    for (int way = 0; way < 2; ++way) {
        title.clear();
        t = onPictureWindow([&](frm_picture *w) {
            title = w->windowTitle();
            QTest::keyClicks(w->txtpicture[0], way ? "Toolbar" : "Menu");
            w->subSave(false, true);
        });
        if (way)
            gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.newPicture);
        else
            menu->triggerEntry(1, gMain);
        delete t;
        QCOMPARE(title, QString("New Picture"));
    }
    QCOMPARE(galleryRows(), (QStringList{"Beach |  |  |  | about Beach", "Menu |  |  |  | ", "Toolbar |  |  |  | "}));
}

ZORBI_TEST_MAIN(TestPictures)
#include "tst_pictures.moc"
