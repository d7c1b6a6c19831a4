// The main window: its views, menus and every command, against recording
// subject routines.

#include "core/database.h"
#include "platform/dates.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/menu.h"
#include "core/settings.h"
#include "platform/clock.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"
#include "platform/db/database.h"
#include "platform/shell.h"
#include "test_support.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QSettings>
#include <QProcess>
#include <QFrame>
#include <QLabel>

using testsupport::ProgramFolder;

// A main-window item by its name, for the tables of cases.
using ToolItem = int MainToolItems::*;
using MenuItem = int MainMenuItems::*;
Q_DECLARE_METATYPE(ToolItem)
Q_DECLARE_METATYPE(MenuItem)

namespace {

// Every call of a subject routine, as "name(arguments)".
QStringList g_calls;
// What the recording handlers answer.
bool g_answer = true;

QString arg(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    if (v.typeId() == QMetaType::QDateTime)
        return QStringLiteral("now");
    return v.toString();
}

// The pets a recording pet handler lists in the list bar on code 15.
struct Pet {
    long id;
    QString name;
};
std::vector<Pet> g_pets;

void record()
{
    g_calls.clear();
    g_answer = true;
    auto &r = subjectRoutines();
    r.petHandler = [](QWidget *, int a, long id, const QString &t, int x) {
        g_calls << QStringLiteral("pet(%1,%2,%3,%4)").arg(a).arg(id).arg(t).arg(x);
        if (a == 15 && gMain) {
            for (const Pet &p : g_pets) {
                gListBarCargo.push_back({1, long(p.id), p.name});
                const int item = gMain->ctListBar_main->addPictureItem(1, p.name, QIcon());
                gMain->ctListBar_main->setItemCargo(1, item, int(gListBarCargo.size()) - 1);
            }
        }
        return g_answer;
    };
    r.contactHandler = [](QWidget *, int a, long id, const QString &t) {
        g_calls << QStringLiteral("contact(%1,%2,%3)").arg(a).arg(id).arg(t);
        return g_answer;
    };
    r.pictureHandler = [](QWidget *, int a, long id, const QString &t, int m) {
        g_calls << QStringLiteral("picture(%1,%2,%3,%4)").arg(a).arg(id).arg(t).arg(m);
        return g_answer;
    };
    r.eventHandler = [](QWidget *, int a, long id, QVariant &d) {
        g_calls << QStringLiteral("event(%1,%2,%3)").arg(a).arg(id).arg(arg(d));
        return g_answer;
    };
    r.calendarHandler = [](QWidget *, int a, const QVariant &d) {
        g_calls << QStringLiteral("calendar(%1,%2)").arg(a).arg(arg(d));
        return g_answer;
    };
    r.reportHandler = [](QWidget *, int a, long id, long rec, bool f) {
        g_calls << QStringLiteral("report(%1,%2,%3,%4)").arg(a).arg(id).arg(rec).arg(f);
        return g_answer;
    };
    r.prefsHandler = [](QWidget *, int a, int tab) {
        g_calls << QStringLiteral("prefs(%1,%2)").arg(a).arg(tab);
        return g_answer;
    };
    r.checkReminders = [](int f, bool say) {
        g_calls << QStringLiteral("reminders(%1,%2)").arg(f).arg(say);
        return true;
    };
    r.backupDatabase = [](QWidget *, bool ask) { g_calls << QStringLiteral("backup(%1)").arg(ask); };
    r.showAboutBox = [](QWidget *) { g_calls << QStringLiteral("about"); };
    // The pets view's own toolbar hides Print; these tests reach every command.
    r.petToolBar = [](QWidget *) {};
}

// The pet panel as the pet handler fills it for one pet.
void fillPetPanel(long petId)
{
    VbListView *l = gMain->ListView_Pet;
    l->clearItems();
    gMain->showView(1);
    l->setTag(qlonglong(petId));
    l->addItem(QStringLiteral("edit"), QStringLiteral("Edit Details"))->setTag(1);
    l->addItem(QStringLiteral("vaccine"), QStringLiteral("Update Vaccinations"))->setTag(1);
    l->addItem(QStringLiteral("diary"), QStringLiteral("Add Diary Entries"))->setTag(1);
    l->addItem(QStringLiteral("r7"), QStringLiteral("Pet Poster"))->setTag(13);
    l->addItem(QStringLiteral("p12"), QStringLiteral("At the beach"))->setTag(20);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithItsControls();
    void closingKeepsTheViewModes();
    void closingKeepsTheViewModesChild();
    void showingAViewShowsOneFrame();
    void listViewModesRoundTrip();

    void toolbar_data();
    void toolbar();
    void calendarMoves_data();
    void calendarMoves();
    void deleteOnPetPanel_data();
    void deleteOnPetPanel();
    void deleteAndDoubleClickWithNoSelection();
    void deleteInGalleryKeepsItsRule();
    void toolbarActsOnTheViewOnScreen();

    void menuBar_data();
    void menuBar();
    void photoSites_data();
    void photoSites();

    void listBar();
    void petPanelDoubleClick_data();
    void petPanelDoubleClick();

    void calendarMonthChange();
    void dayTip();

    void contextMenus();
    void contextMenuClicks_data();
    void contextMenuClicks();

    void sortingSequence();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestMainWindow::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    g_pets.clear();
    record();
    QCOMPARE(Main(), -1);
    QVERIFY(gMain && gControls);
    g_calls.clear();
}

void TestMainWindow::cleanup()
{
    shell::setOpener(nullptr);
    resetSubjectRoutines();
    m_pf.reset();
    zbclock::reset();
}

// Closing the main window ends the program, so the closing is done by a
// second run of this test program; what it leaves in the settings is read here.
void TestMainWindow::closingKeepsTheViewModes()
{
    QTemporaryDir settings;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZORBI_CLOSING_SETTINGS"), settings.path());
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("closingKeepsTheViewModesChild")});
    QVERIFY(child.waitForFinished(120000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             child.readAllStandardOutput().constData());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    settings::resetSession(); // the store has moved: look for the file anew
    QCOMPARE(funPref_Get("Listview_Address", ""), QString("3"));
    QCOMPARE(funPref_Get("Listview_Pet", ""), QString("1"));
    QCOMPARE(funPref_Get("Listview_Picture", ""), QString("2"));
}

void TestMainWindow::closingKeepsTheViewModesChild()
{
    const QString settings = qEnvironmentVariable("ZORBI_CLOSING_SETTINGS");
    if (settings.isEmpty())
        QSKIP("the second program of closingKeepsTheViewModes");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
    funPref_Set("AutomaticBackup", "0"); // no backup prompt on the way out
    gMain->ListView_Contact->setView(3);
    gMain->ListView_Pet->setView(1);
    gMain->ListView_Picture->setView(2);
    gMain->close(); // the exit ends this program
    QFAIL("the main window closed and the program went on");
}

void TestMainWindow::startsWithItsControls()
{
    // Start-up ran the calendar set-up on today and the reminder check once.
    record();
    resetGlobals();
    QCOMPARE(Main(), -1);
    QVERIFY(g_calls.contains("calendar(5,now)"));
    QVERIFY(g_calls.contains("reminders(0,0)"));
    QVERIFY(g_calls.contains("pet(15,0,,1)"));
    QVERIFY(gMain->isVisible());
    QCOMPARE(gMain->windowTitle(), QString("Zorbi 2003"));
    QCOMPARE(gMain->ctListBar_main->caption(), QString("Menu"));
    // The fixed entries follow the pets, each with its cargo slot.
    QCOMPARE(gMain->ctListBar_main->itemCount(1), 5);
    const QStringList fixed{"Printouts", "Calendar", "Photo Gallery", "Address Book", "Preferences"};
    const int views[5] = {13, 6, 20, 2, 14};
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(gMain->ctListBar_main->itemText(1, i), fixed[i - 1]);
        const int slot = gMain->ctListBar_main->itemCargo(1, i);
        QCOMPARE(slot, i);
        QCOMPARE(gListBarCargo[size_t(slot)].view, views[i - 1]);
    }
    for (const char *name : {"ctListBar_main", "ctToolBar_MainMenuBar", "ctToolbar_MainToolbar", "StatusBar_main",
                             "ListView_Picture", "ListView_Pet", "ListView_Contact", "ListView_Report", "ctCalendar1"})
        QVERIFY2(gMain->findChild<QWidget *>(name), name);
    // A second run of the fixed entries adds five more slots after those already there.
    const size_t before = gListBarCargo.size();
    subListBarFixedItems(gMain);
    QCOMPARE(gListBarCargo.size(), before + 5);
    QCOMPARE(gMain->ctListBar_main->itemCargo(1, 10), int(before) + 4);
    subSetStatusText("Saving picture ...");
    QCOMPARE(gMain->StatusBar_panel1->text(), QString("Saving picture ..."));
    QImage shot = gMain->grab().toImage();
    QVERIFY(!shot.isNull());
    shot.save(QDir(QCoreApplication::applicationDirPath()).filePath("main_window.png"));
}

void TestMainWindow::showingAViewShowsOneFrame()
{
    for (int view : {20, 1, 2, 6, 13}) {
        gMain->showView(view);
        QCOMPARE(gCurrentView, view);
        QCOMPARE(gMain->shownView(), view);
        int visible = 0;
        for (QFrame *f : gMain->frameMain)
            visible += f->isVisible() ? 1 : 0;
        QCOMPARE(visible, 1);
        QVERIFY(gMain->frameMain[size_t(frm_main::frameOfView(view))]->isVisible());
    }
    gMain->showView(1, " Rex");
    QCOMPARE(gMain->lblMain[1]->text(), QString(" Rex"));
    QCOMPARE(gMain->lblMain[1]->textFormat(), Qt::PlainText); // "<b>Rex" shows its "<b>"
    // A window made tiny lays out again when it grows: the shown frame fills the
    // room beside the list bar once more.
    QFrame *shown = gMain->frameMain[size_t(frm_main::frameOfView(1))];
    gMain->resize(40, 30);
    QCoreApplication::processEvents();
    QVERIFY(shown->width() >= 0 && shown->height() >= 0);
    gMain->resize(1000, 700);
    QCoreApplication::processEvents();
    QVERIFY2(shown->width() > 500 && shown->height() > 400,
             qPrintable(QStringLiteral("%1x%2").arg(shown->width()).arg(shown->height())));
    // The calendar's row size follows its height: its height in twips over 95.
    gMain->showView(6);
    QCoreApplication::processEvents();
    QVERIFY(gMain->ctCalendar1->height() > 100);
    QCOMPARE(gMain->ctCalendar1->RowSize(), gMain->ctCalendar1->height() * 15.0 / 95.0);
}

void TestMainWindow::listViewModesRoundTrip()
{
    gMain->ListView_Contact->setView(3);
    gMain->ListView_Pet->setView(1);
    gMain->saveListViewModes();
    QCOMPARE(funPref_Get("Listview_Address", ""), QString("3"));
    QCOMPARE(funPref_Get("Listview_Pet", ""), QString("1"));
    resetGlobals();
    record();
    QCOMPARE(Main(), -1);
    QCOMPARE(gMain->ListView_Contact->View(), 3);
    QCOMPARE(gMain->ListView_Pet->View(), 1);
    QCOMPARE(gListviewAddress, 3);
}

void TestMainWindow::toolbar_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<ToolItem>("item");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("new pet") << 1 << ToolItem(&MainToolItems::newPet) << QStringList{"pet(1,0,,1)", "pet(15,0,,1)"};
    QTest::newRow("new event") << 6 << ToolItem(&MainToolItems::newEvent)
                               << QStringList{"event(1,0,)", "calendar(15,)"};
    QTest::newRow("new person") << 2 << ToolItem(&MainToolItems::newPerson)
                                << QStringList{"contact(1,0,)", "contact(15,0,)"};
    QTest::newRow("new picture") << 20 << ToolItem(&MainToolItems::newPicture)
                                 << QStringList{"picture(1,0,,1)", "picture(15,0,,0)"};
    QTest::newRow("print pets") << 1 << ToolItem(&MainToolItems::print) << QStringList{"pet(7,4,,1)"};
    QTest::newRow("print address book") << 2 << ToolItem(&MainToolItems::print) << QStringList{"contact(18,0,)"};
    QTest::newRow("print calendar") << 6 << ToolItem(&MainToolItems::print) << QStringList{"calendar(7,)"};
    QTest::newRow("print gallery") << 20 << ToolItem(&MainToolItems::print) << QStringList{"report(19,12,0,0)"};
    QTest::newRow("print selected printout")
        << 13 << ToolItem(&MainToolItems::print) << QStringList{"report(19,3,0,0)"};
    QTest::newRow("gallery mode") << 20 << ToolItem(&MainToolItems::details) << QStringList{"picture(5,0,,3)"};
    QTest::newRow("nothing for a gap") << 6 << ToolItem(&MainToolItems::sepPrint) << QStringList{};
}

void TestMainWindow::toolbar()
{
    QFETCH(int, view);
    QFETCH(ToolItem, item);
    QFETCH(QStringList, calls);
    gMain->showView(view);
    gMain->ListView_Pet->setTag(4);
    gMain->ListView_Report->addItem("r3", "Pet Poster");
    gMain->ListView_Report->selectKey("r3");
    g_calls.clear();
    gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.*item);
    QCOMPARE(g_calls, calls);
}

void TestMainWindow::calendarMoves_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<ToolItem>("item");
    QTest::addColumn<QString>("call");
    QTest::newRow("next month from 31 Jan")
        << QDate(2026, 1, 31) << ToolItem(&MainToolItems::nextMonth) << "calendar(5,2026-02-28)";
    QTest::newRow("next month, leap year")
        << QDate(2024, 1, 31) << ToolItem(&MainToolItems::nextMonth) << "calendar(5,2024-02-29)";
    QTest::newRow("last year from 29 Feb")
        << QDate(2024, 2, 29) << ToolItem(&MainToolItems::lastYear) << "calendar(5,2023-02-28)";
    QTest::newRow("last month") << QDate(2026, 3, 31) << ToolItem(&MainToolItems::lastMonth)
                                << "calendar(5,2026-02-28)";
    QTest::newRow("next year") << QDate(2026, 5, 4) << ToolItem(&MainToolItems::nextYear) << "calendar(5,2027-05-04)";
    QTest::newRow("today") << QDate(2026, 5, 4) << ToolItem(&MainToolItems::today) << "calendar(5,now)";
}

void TestMainWindow::calendarMoves()
{
    QFETCH(QDate, from);
    QFETCH(ToolItem, item);
    QFETCH(QString, call);
    gMain->showView(6);
    gMain->ctCalendar1->setDate(funDateToDayNumber(from));
    g_calls.clear();
    gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.*item);
    QCOMPARE(g_calls, QStringList{call});
}

void TestMainWindow::deleteOnPetPanel_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("the pet") << "edit" << true << true << QStringList{"pet(3,4,,1)", "pet(15,0,,1)", "calendar(5,now)"};
    QTest::newRow("the pet, declined") << "edit" << false << true << QStringList{"pet(3,4,,1)"};
    QTest::newRow("a picture") << "p12" << true << true << QStringList{"picture(3,12,At the beach,1)", "pet(5,4,,1)"};
    QTest::newRow("vaccinations entry") << "vaccine" << true << false << QStringList{};
    QTest::newRow("a printout") << "r7" << true << false << QStringList{};
}

void TestMainWindow::deleteOnPetPanel()
{
    QFETCH(QString, key);
    QFETCH(bool, answer);
    QFETCH(bool, enabled);
    QFETCH(QStringList, calls);
    gMain->showView(1);
    fillPetPanel(4);
    gMain->ListView_Pet->selectKey(key);
    gMain->ListView_Pet_ItemClick(gMain->ListView_Pet->SelectedItem());
    QCOMPARE(gMain->ctToolbar_MainToolbar->itemEnabled(gMain->toolItems.del), enabled);
    // The entry decides, not the button: Delete pressed regardless does only what it may.
    gMain->ctToolbar_MainToolbar->setItemEnabled(gMain->toolItems.del, true);
    g_calls.clear();
    g_answer = answer;
    gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.del);
    QCOMPARE(g_calls, calls);
}

void TestMainWindow::deleteAndDoubleClickWithNoSelection()
{
    fillPetPanel(4);
    gMain->ListView_Contact->addItem(QString(), "Ann Vet")->setTag(3);
    gMain->ListView_Picture->addItem(QString(), "Beach")->setTag(5);
    gMain->ListView_Report->addItem("r1", "Pet Poster");
    for (int view : {1, 2, 13, 20}) {
        gMain->showView(view);
        g_calls.clear();
        gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.del);
        gMain->ListView_Pet_DblClick();
        gMain->ListView_Contact_DblClick();
        gMain->ListView_Picture_DblClick();
        gMain->ListView_Report_DblClick();
        gMain->ListView_Contact_MouseDown(Qt::RightButton, nullptr);
        QCOMPARE(g_calls, QStringList());
    }
}

void TestMainWindow::deleteInGalleryKeepsItsRule()
{
    gMain->showView(20);
    gMain->ListView_Picture->addItem(QString(), "Beach")->setTag(5);
    gMain->ListView_Picture->selectKey(QString());
    gMain->ListView_Picture->setView(3);
    // The picture handler shows the gallery again in the mode it is given.
    subjectRoutines().pictureHandler = [](QWidget *, int a, long id, const QString &t, int m) {
        g_calls << QStringLiteral("picture(%1,%2,%3,%4)").arg(a).arg(id).arg(t).arg(m);
        if (a == 5)
            gMain->ListView_Picture->setView(m);
        return true;
    };
    g_calls.clear();
    gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.del);
    QCOMPARE(g_calls, (QStringList{"picture(3,5,Beach,1)", "picture(5,0,,1)"}));
    QCOMPARE(gListviewPicture, 1);
}

void TestMainWindow::toolbarActsOnTheViewOnScreen()
{
    // Adding a person from the calendar makes the address book current in name
    // only; Print and Help still act on the calendar that is shown.
    gMain->showView(6);
    gCurrentView = 2;
    g_calls.clear();
    gMain->ctToolbar_MainToolbar->clickItem(gMain->toolItems.print);
    QCOMPARE(g_calls, QStringList{"calendar(7,)"});
}

void TestMainWindow::menuBar_data()
{
    QTest::addColumn<MenuItem>("item"); // null: the separator after Search
    QTest::addColumn<QString>("site");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("opened");
    QTest::newRow("new pet") << MenuItem(&MainMenuItems::newPet) << "" << QStringList{"pet(1,0,,1)", "pet(15,0,,1)"}
                             << "";
    QTest::newRow("new event") << MenuItem(&MainMenuItems::newEvent) << ""
                               << QStringList{"event(1,0,)", "calendar(15,)"} << "";
    QTest::newRow("new person") << MenuItem(&MainMenuItems::newPerson) << ""
                                << QStringList{"contact(1,0,)", "contact(15,0,)"} << "";
    QTest::newRow("backup") << MenuItem(&MainMenuItems::backup) << "" << QStringList{"backup(1)"} << "";
    // With only the local folder set, the albums entry shows and has no site to offer.
    QTest::newRow("albums, no site") << MenuItem(&MainMenuItems::photoAlbums) << "" << QStringList{"prefs(5,3)"} << "";
    QTest::newRow("albums, a site") << MenuItem(&MainMenuItems::photoAlbums) << "pics.example.org" << QStringList{}
                                    << "";
    QTest::newRow("site 1") << MenuItem(&MainMenuItems::site1) << "pics.example.org" << QStringList{}
                            << "http://pics.example.org";
    // A site set to a program or a local file opens nothing.
    QTest::newRow("site 1, a program") << MenuItem(&MainMenuItems::site1) << "/bin/sh" << QStringList{} << "";
    QTest::newRow("site 1, a local file")
        << MenuItem(&MainMenuItems::site1) << "file:///etc/passwd" << QStringList{} << "";
    QTest::newRow("add albums") << MenuItem(&MainMenuItems::addAlbums) << "" << QStringList{"prefs(5,3)"} << "";
    QTest::newRow("check reminders") << MenuItem(&MainMenuItems::checkReminders) << "" << QStringList{"reminders(0,1)"}
                                     << "";
    QTest::newRow("preferences") << MenuItem(&MainMenuItems::preferences) << "" << QStringList{"prefs(5,1)"} << "";
    QTest::newRow("about") << MenuItem(&MainMenuItems::about) << "" << QStringList{"about"} << "";
    QTest::newRow("a separator") << MenuItem() << "" << QStringList{} << "";
}

void TestMainWindow::menuBar()
{
    QFETCH(MenuItem, item);
    QFETCH(QString, site);
    QFETCH(QStringList, calls);
    QFETCH(QString, opened);
    const MainMenuItems &m = gMain->menuItems;
    const int id = item ? m.*item : m.search + 1;
    funPref_Set("PhotoSite_1", site);
    funPref_Set("PhotoSite_3", id == m.photoAlbums && site.isEmpty() ? QString("/home/me/Photos") : QString());
    subMenuPhotoSites(gMain);
    QString shellTarget;
    shell::setOpener([&](const QString &t, const QString &, bool) { shellTarget = t; });
    g_calls.clear();
    gMain->ctToolBar_MainMenuBar->clickItem(id);
    QCOMPARE(g_calls, calls);
    QCOMPARE(shellTarget, opened);
}

void TestMainWindow::photoSites_data()
{
    QTest::addColumn<QString>("s1");
    QTest::addColumn<QString>("s2");
    QTest::addColumn<QString>("s3");
    QTest::addColumn<QString>("visible"); // of the albums, the two sites, the folder, "add albums"
    QTest::addColumn<int>("menu3");       // entries of the picture-box menu
    QTest::newRow("none") << ""
                          << ""
                          << ""
                          << "----v" << 3;
    QTest::newRow("site 1") << "a.example"
                            << ""
                            << ""
                            << "vv---" << 5;
    QTest::newRow("site 2") << ""
                            << "https://b.example"
                            << ""
                            << "v-v--" << 5;
    QTest::newRow("both") << "a.example"
                          << "b.example"
                          << ""
                          << "vvv--" << 7;
    QTest::newRow("only the folder") << ""
                                     << ""
                                     << "/home/me/Photos"
                                     << "v--v-" << 3;
}

void TestMainWindow::photoSites()
{
    QFETCH(QString, s1);
    QFETCH(QString, s2);
    QFETCH(QString, s3);
    QFETCH(QString, visible);
    QFETCH(int, menu3);
    funPref_Set("PhotoSite_1", s1);
    funPref_Set("PhotoSite_2", s2);
    funPref_Set("PhotoSite_3", s3);
    subMenuPhotoSites(gMain);
    subBuildContextMenus();
    QString shown;
    const MainMenuItems &items = gMain->menuItems;
    for (int id : {items.photoAlbums, items.site1, items.site2, items.localFolder, items.addAlbums})
        shown += gMain->ctToolBar_MainMenuBar->itemVisible(id) ? 'v' : '-';
    QCOMPARE(shown, visible);
    CtDropMenu *m = gControls->ctDropMenuContext->menu(3);
    QCOMPARE(m->entryCount(), menu3);
    if (!s2.isEmpty()) {
        // A scheme already given is kept, not doubled.
        const QString site2 = s2.startsWith("https://") ? s2 : "http://" + s2;
        QCOMPARE(gMain->ctToolBar_MainMenuBar->itemText(items.site2), site2);
        QCOMPARE(m->entryCaption(menu3), site2);
    }
    if (!s3.isEmpty())
        QCOMPARE(gMain->ctToolBar_MainMenuBar->itemText(items.localFolder), s3);
    if (!s1.isEmpty())
        QCOMPARE(m->entryCaption(5), QString("http://") + s1);
}

void TestMainWindow::listBar()
{
    g_pets = {{7, "Rex"}, {0, "Add New Pet"}};
    subRefreshListBar();
    CtListBar *bar = gMain->ctListBar_main;
    QCOMPARE(bar->itemCount(1), 7);
    g_calls.clear();
    gMain->ctListBar_main_ItemClick(1, 1);
    QCOMPARE(g_calls, (QStringList{"pet(5,7,Rex,1)", "pet(15,0,,1)"}));
    g_calls.clear();
    gMain->ctListBar_main_ItemClick(1, 2);
    QCOMPARE(g_calls, (QStringList{"pet(1,0,,1)", "pet(15,0,,1)"}));
    const QStringList fixed{"report(5,0,0,0)",
                            "calendar(5," + funDayNumberToDate(gMain->ctCalendar1->Date()).toString(Qt::ISODate) + ")",
                            "picture(5,0,,0)", "contact(5,0,)", "prefs(5,1)"};
    for (int i = 0; i < 5; ++i) {
        g_calls.clear();
        gMain->ctListBar_main_ItemClick(1, 3 + i);
        QCOMPARE(g_calls, QStringList{fixed[i]});
    }
    // A double-click opens the current pet on its first tab.
    bar->setCurrentItem(1);
    g_calls.clear();
    gMain->ctListBar_main_ItemDblClick();
    QCOMPARE(g_calls, (QStringList{"pet(2,7,Rex,1)", "pet(15,0,,1)"}));
    bar->setCurrentItem(3);
    g_calls.clear();
    gMain->ctListBar_main_ItemDblClick();
    QCOMPARE(g_calls, QStringList());
}

void TestMainWindow::petPanelDoubleClick_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("edit") << "edit" << QStringList{"pet(2,4,,1)", "pet(15,0,,1)", "pet(5,4,,1)"};
    QTest::newRow("vaccine") << "vaccine" << QStringList{"pet(2,4,,3)", "pet(15,0,,1)", "pet(5,4,,1)"};
    QTest::newRow("diary") << "diary" << QStringList{"pet(2,4,,4)", "pet(15,0,,1)", "pet(5,4,,1)"};
    QTest::newRow("printout") << "r7" << QStringList{"report(19,7,4,0)", "pet(5,4,,1)"};
    QTest::newRow("picture") << "p12" << QStringList{"picture(2,12,,0)", "pet(5,4,,1)"};
}

void TestMainWindow::petPanelDoubleClick()
{
    QFETCH(QString, key);
    QFETCH(QStringList, calls);
    fillPetPanel(4);
    gMain->ListView_Pet->selectKey(key);
    g_calls.clear();
    gMain->ListView_Pet_DblClick();
    QCOMPARE(g_calls, calls);
}

void TestMainWindow::calendarMonthChange()
{
    CtCalendar *cal = gMain->ctCalendar1;
    const QDate shown = gMain->shownDate();
    // Within the same month: no refill.
    g_calls.clear();
    gMain->ctCalendar1_MonthChanged(cal->Date());
    QCOMPARE(g_calls, QStringList());
    // The set-up moved the calendar itself: no second refill, and the flag is cleared.
    gCalendarShown = true;
    cal->setDate(funDateToDayNumber(shown.addMonths(2)));
    QCOMPARE(g_calls, QStringList());
    QVERIFY(!gCalendarShown);
    QCOMPARE(gMain->shownDate().month(), shown.addMonths(2).month());
    // The user moved to another month: the new month is filled.
    const QDate next = shown.addMonths(3);
    cal->setDate(funDateToDayNumber(next));
    QCOMPARE(g_calls, QStringList{"calendar(5," + next.toString(Qt::ISODate) + ")"});
    QCOMPARE(gCalendarDay, funDateToDayNumber(next));
    // A double-click asks for the day's events.
    g_calls.clear();
    gMain->ctCalendar1_DayDblClick(45000);
    QCOMPARE(g_calls, QStringList{"event(17,0,45000)"});
}

void TestMainWindow::dayTip()
{
    gCalendarItems.clear();
    gCalendarItems.push_back({100, 9, 1, 1, "Rex", "Walk\r\nthen nap", ""});
    gCalendarItems.push_back({101, 8, 2, 0, "Vet", "", ""});
    gCalendarItems.push_back({100, 8, 3, 0, QString(), QString(), ""}); // no name, no due text
    QCOMPARE(frm_main::dayTipText(100), QString("Rex - Walk then nap\r\n(None)"));
    QCOMPARE(frm_main::dayTipText(101), QString("Vet"));
    QCOMPARE(frm_main::dayTipText(102), QString());
    gMain->ctCalendar1_TipWanted(100);
    QCOMPARE(gCalendarDay, 100);
}

void TestMainWindow::contextMenus()
{
    CtDropMenuArray &menus = *gControls->ctDropMenuContext;
    const QStringList expected[6] = {{"Home", "Work", "Mobile", "Fax", "Pager", "Other"},
                                     {"Open", "", "Delete"},
                                     {"New", "", "Open", "", "Delete"},
                                     {"Import picture", "Clear picture", "Save picture"},
                                     {"Open Events", "", "New &Event"},
                                     {"New", "", "Open", "", "Delete"}};
    for (int m = 0; m < 6; ++m) {
        QStringList got;
        for (int e = 1; e <= menus[m]->entryCount(); ++e)
            got << menus[m]->entryCaption(e);
        QCOMPARE(got, expected[m]);
    }
    // Null names are skipped, and an empty table gives an empty menu.  The
    // program holds the system file read-only; the test changes it beside it.
    db::DbError err;
    auto system = db::Workspace().openDatabase(gSystemDBPath, false, false, funDBConnect(), &err);
    QVERIFY2(system, qPrintable(err.description));
    QVERIFY(system->execute("UPDATE tbl_phone_type SET phone_type_name = NULL WHERE phone_type_name = 'Pager'"));
    subBuildContextMenus();
    QCOMPARE(menus[0]->entryCount(), 5);
    QVERIFY(system->execute("DELETE FROM tbl_phone_type"));
    subBuildContextMenus();
    QCOMPARE(menus[0]->entryCount(), 0);
}

void TestMainWindow::contextMenuClicks_data()
{
    QTest::addColumn<int>("menu");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("pet open") << 1 << "7" << 1 << true << QStringList{"pet(2,7,,1)"};
    QTest::newRow("pet delete") << 1 << "7" << 3 << true
                                << QStringList{"pet(3,7,,1)", "pet(15,0,,1)", "calendar(5,now)"};
    QTest::newRow("pet delete declined") << 1 << "7" << 3 << false << QStringList{"pet(3,7,,1)"};
    QTest::newRow("person new") << 2 << "" << 1 << true << QStringList{"contact(1,0,)", "contact(15,0,)"};
    QTest::newRow("person delete") << 2 << "3" << 5 << true << QStringList{"contact(3,3,Ann Vet)", "contact(15,0,)"};
    QTest::newRow("day events") << 4 << "" << 1 << true << QStringList{"event(17,0,45000)", "calendar(15,DATE)"};
    QTest::newRow("day new event") << 4 << "" << 3 << true << QStringList{"event(1,0,2023-03-17)", "calendar(15,DATE)"};
    QTest::newRow("gallery open") << 5 << "5" << 3 << true << QStringList{"picture(2,5,,1)", "picture(5,0,,0)"};
    QTest::newRow("gallery open failed") << 5 << "5" << 3 << false << QStringList{"picture(2,5,,1)"};
}

void TestMainWindow::contextMenuClicks()
{
    QFETCH(int, menu);
    QFETCH(QString, tag);
    QFETCH(int, entry);
    QFETCH(bool, answer);
    QFETCH(QStringList, calls);
    gMain->ListView_Contact->addItem(QString(), "Ann Vet")->setTag(3);
    gMain->ListView_Contact->selectKey(QString());
    gCalendarDay = 45000; // 17 March 2023
    const QString shown = funDayNumberToDate(gMain->ctCalendar1->Date()).toString(Qt::ISODate);
    calls.replaceInStrings("DATE", shown);
    CtDropMenu *m = gControls->ctDropMenuContext->menu(menu);
    m->setTag(tag);
    g_answer = answer;
    g_calls.clear();
    m->triggerEntry(entry, gMain);
    QCoreApplication::processEvents();
    QCOMPARE(g_calls, calls);
}

void TestMainWindow::sortingSequence()
{
    VbListView *l = gMain->ListView_Contact;
    l->addItem(QString(), "alfie")->setSubItems(2, "z@x.org");
    l->addItem(QString(), "Zed")->setSubItems(2, "a@x.org");
    gMain->ListView_ColumnClick(l, 1); // Name: descending
    QCOMPARE(l->SortKey(), 0);
    QCOMPARE(l->SortOrder(), 1);
    gMain->ListView_ColumnClick(l, 3); // E-Mail: ascending
    QCOMPARE(l->SortKey(), 2);
    QCOMPARE(l->SortOrder(), 0);
    gMain->ListView_ColumnClick(l, 3); // again: descending
    QCOMPARE(l->SortOrder(), 1);
    // The gallery keeps its own direction: its first click sorts descending.
    gMain->ListView_ColumnClick(gMain->ListView_Picture, 4);
    QCOMPARE(gMain->ListView_Picture->SortOrder(), 1);
    QCOMPARE(gMain->ListView_Picture->SortKey(), 3);
}

ZORBI_TEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
