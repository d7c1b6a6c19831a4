// The names the windows give their menu and toolbar items stand for the items
// the bars are built with: each name's id holds the caption it names.

#include "core/frm_main.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "events/frm_event_detail.h"
#include "platform/controls/ct_toolbar.h"
#include "records/frm_pet_detail.h"
#include "test_support.h"

#include <QtTest>
#include <memory>

using namespace testsupport;

class TestBarItems : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void namedItems_data();
    void namedItems();

private:
    std::unique_ptr<ProgramFolder> m_pf;
};

void TestBarItems::init()
{
    m_pf = std::make_unique<ProgramFolder>();
    QCOMPARE(Main(), -1);
    QVERIFY(gMain);
}

void TestBarItems::cleanup()
{
    resetSubjectRoutines();
    m_pf.reset();
}

void TestBarItems::namedItems_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("caption"); // empty: a separator
    struct Row { const char *bar; int id; const char *caption; };
    static const Row rows[] = {
        {"main menu", MainMenuFile, "&File"},
        {"main menu", MainMenuNewPet, "New Pet"},
        {"main menu", MainMenuNewEvent, "New Event"},
        {"main menu", MainMenuNewPerson, "New Person"},
        {"main menu", MainMenuBackup, "&Backup"},
        {"main menu", MainMenuPrintSetup, "Print Setup"},
        {"main menu", MainMenuExit, "E&xit"},
        {"main menu", MainMenuOptions, "&Options"},
        {"main menu", MainMenuPhotoAlbums, "Online Photo Albums"},
        {"main menu", MainMenuSite1, "Site 1"},
        {"main menu", MainMenuSite2, "Site 2"},
        {"main menu", MainMenuLocalFolder, "Local Photo Folder"},
        {"main menu", MainMenuAddAlbums, "(Add New Photo Albums)"},
        {"main menu", MainMenuCheckReminders, "Check Reminders"},
        {"main menu", MainMenuPreferences, "Preferences"},
        {"main menu", MainMenuHelp, "&Help"},
        {"main menu", MainMenuContents, "Contents"},
        {"main menu", MainMenuIndex, "Index"},
        {"main menu", MainMenuSearch, "Search"},
        {"main menu", MainMenuAbout, "&About Zorbi 2003"},
        {"main toolbar", MainToolNewPet, "New &Pet"},
        {"main toolbar", MainToolNewEvent, "New &Event"},
        {"main toolbar", MainToolNewPerson, "New &Person"},
        {"main toolbar", MainToolNewPicture, "New P&icture"},
        {"main toolbar", MainToolSepPrint, ""},
        {"main toolbar", MainToolPrint, "Print"},
        {"main toolbar", MainToolSepDelete, ""},
        {"main toolbar", MainToolDelete, "Delete"},
        {"main toolbar", MainToolSepViews, ""},
        {"main toolbar", MainToolLargeIcons, "Large Listview"},
        {"main toolbar", MainToolMediumIcons, "Medium Listview"},
        {"main toolbar", MainToolDetails, "Detailed Listview"},
        {"main toolbar", MainToolSepCalendar, ""},
        {"main toolbar", MainToolLastYear, "Last Year"},
        {"main toolbar", MainToolLastMonth, "Last Month"},
        {"main toolbar", MainToolToday, "Goto Today"},
        {"main toolbar", MainToolNextMonth, "Next Month"},
        {"main toolbar", MainToolNextYear, "Next Year"},
        {"main toolbar", MainToolSepHelp, ""},
        {"main toolbar", MainToolHelp, "Help"},
        {"pet menu", PetMenuSaveClose, "Save && Close"},
        {"pet menu", PetMenuDelete, "&Delete"},
        {"pet menu", PetMenuPrint, "&Print"},
        {"pet menu", PetMenuClose, "&Close"},
        {"pet menu", PetMenuUndo, "Undo Changes"},
        {"pet menu", PetMenuCut, "Cu&t"},
        {"pet menu", PetMenuCopy, "&Copy"},
        {"pet menu", PetMenuPaste, "&Paste"},
        {"pet menu", PetMenuSelectText, "&Select Text"},
        {"pet menu", PetMenuDeleteText, "&Delete Text"},
        {"pet menu", PetMenuBold, "Bold"},
        {"pet menu", PetMenuItalic, "Italic"},
        {"pet menu", PetMenuUnderline, "Underline"},
        {"pet menu", PetMenuOutdent, "<- Outdent"},
        {"pet menu", PetMenuIndent, "-> Indent"},
        {"pet menu", PetMenuPicture, "&Picture"},
        {"pet menu", PetMenuImportPicture, "&Import picture"},
        {"pet menu", PetMenuClearPicture, "&Clear picture"},
        {"pet menu", PetMenuSavePicture, "Save picture"},
        {"pet menu", PetMenuPhotoSite1, "Online Photo Site 1"},
        {"pet menu", PetMenuPhotoSite2, "Online Photo Site 2"},
        {"pet menu", PetMenuHelp, "&Help"},
        {"pet toolbar", PetToolSaveClose, "Save && Close"},
        {"pet toolbar", PetToolPrint, "Print"},
        {"pet toolbar", PetToolDelete, "Delete"},
        {"pet toolbar", PetToolBold, "Bold"},
        {"pet toolbar", PetToolItalic, "Italic"},
        {"pet toolbar", PetToolUnderline, "Underline"},
        {"pet toolbar", PetToolOutdent, "Outdent"},
        {"pet toolbar", PetToolIndent, "Indent"},
        {"pet toolbar", PetToolPicture, "Picture"},
        {"pet toolbar", PetToolHelp, "Help"},
        {"event menu", EventMenuSaveClose, "Save && Close"},
        {"event menu", EventMenuDelete, "&Delete"},
        {"event menu", EventMenuPrint, "Print"},
        {"event menu", EventMenuClose, "&Close"},
        {"event menu", EventMenuUndo, "Undo Changes"},
        {"event menu", EventMenuHelp, "&Help"},
        {"event toolbar", EventToolSaveClose, "Save && Close"},
        {"event toolbar", EventToolPrint, "Print"},
        {"event toolbar", EventToolDelete, "Delete"},
        {"event toolbar", EventToolHelp, "Help"},
    };
    for (const Row &r : rows)
        QTest::addRow("%s %d", r.bar, r.id) << QString::fromLatin1(r.bar) << r.id << QString::fromLatin1(r.caption);
}

void TestBarItems::namedItems()
{
    QFETCH(QString, bar);
    QFETCH(int, id);
    QFETCH(QString, caption);
    frm_pet_detail pet(gMain);
    frm_event_detail event(gMain);
    const QHash<QString, CtToolBar *> bars{
        {QStringLiteral("main menu"), gMain->ctToolBar_MainMenuBar},
        {QStringLiteral("main toolbar"), gMain->ctToolbar_MainToolbar},
        {QStringLiteral("pet menu"), pet.ctToolBar_Menubar},
        {QStringLiteral("pet toolbar"), pet.ctToolbar_Toolbar},
        {QStringLiteral("event menu"), event.ctToolBar_Menubar},
        {QStringLiteral("event toolbar"), event.ctToolbar_Toolbar},
    };
    CtToolBar *b = bars.value(bar);
    QVERIFY(b);
    QVERIFY(id >= 1 && id <= b->itemCount());
    QCOMPARE(b->isSeparator(id), caption.isEmpty());
    QCOMPARE(b->itemText(id), caption);
}

ZORBI_TEST_MAIN(TestBarItems)
#include "tst_bar_items.moc"
