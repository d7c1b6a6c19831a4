// The names the windows give their menu and toolbar items stand for the items
// the bars were built with: each name's id holds the caption it names.

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

namespace {

// The windows whose bars the names belong to.
struct Windows {
    frm_main *main;
    frm_pet_detail *pet;
    frm_event_detail *event;
};
struct Row {
    const char *bar;
    int (*id)(const Windows &);
    const char *caption; // empty: a separator
};

const std::vector<Row> &rows()
{
    static const std::vector<Row> table{
        {"main menu", [](const Windows &w) { return w.main->menuItems.file; }, "&File"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.newPet; }, "New Pet"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.newEvent; }, "New Event"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.newPerson; }, "New Person"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.backup; }, "&Backup"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.printSetup; }, "Print Setup"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.exit; }, "E&xit"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.options; }, "&Options"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.photoAlbums; }, "Online Photo Albums"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.site1; }, "Site 1"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.site2; }, "Site 2"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.localFolder; }, "Local Photo Folder"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.addAlbums; }, "(Add New Photo Albums)"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.checkReminders; }, "Check Reminders"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.preferences; }, "Preferences"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.help; }, "&Help"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.contents; }, "Contents"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.index; }, "Index"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.search; }, "Search"},
        {"main menu", [](const Windows &w) { return w.main->menuItems.about; }, "&About Zorbi 2003"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.newPet; }, "New &Pet"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.newEvent; }, "New &Event"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.newPerson; }, "New &Person"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.newPicture; }, "New P&icture"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.sepPrint; }, ""},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.print; }, "Print"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.sepDelete; }, ""},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.del; }, "Delete"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.sepViews; }, ""},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.largeIcons; }, "Large Listview"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.mediumIcons; }, "Medium Listview"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.details; }, "Detailed Listview"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.sepCalendar; }, ""},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.lastYear; }, "Last Year"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.lastMonth; }, "Last Month"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.today; }, "Goto Today"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.nextMonth; }, "Next Month"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.nextYear; }, "Next Year"},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.sepHelp; }, ""},
        {"main toolbar", [](const Windows &w) { return w.main->toolItems.help; }, "Help"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.saveClose; }, "Save && Close"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.del; }, "&Delete"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.print; }, "&Print"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.close; }, "&Close"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.undo; }, "Undo Changes"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.cut; }, "Cu&t"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.copy; }, "&Copy"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.paste; }, "&Paste"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.selectText; }, "&Select Text"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.deleteText; }, "&Delete Text"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.bold; }, "Bold"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.italic; }, "Italic"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.underline; }, "Underline"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.outdent; }, "<- Outdent"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.indent; }, "-> Indent"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.picture; }, "&Picture"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.importPicture; }, "&Import picture"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.clearPicture; }, "&Clear picture"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.savePicture; }, "Save picture"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.photoSites[0].entry; }, "Online Photo Site 1"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.photoSites[1].entry; }, "Online Photo Site 2"},
        {"pet menu", [](const Windows &w) { return w.pet->menuItems.help; }, "&Help"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.saveClose; }, "Save && Close"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.print; }, "Print"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.del; }, "Delete"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.bold; }, "Bold"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.italic; }, "Italic"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.underline; }, "Underline"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.outdent; }, "Outdent"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.indent; }, "Indent"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.picture; }, "Picture"},
        {"pet toolbar", [](const Windows &w) { return w.pet->toolItems.help; }, "Help"},
        {"event menu", [](const Windows &w) { return w.event->menuItems.saveClose; }, "Save && Close"},
        {"event menu", [](const Windows &w) { return w.event->menuItems.del; }, "&Delete"},
        {"event menu", [](const Windows &w) { return w.event->menuItems.print; }, "Print"},
        {"event menu", [](const Windows &w) { return w.event->menuItems.close; }, "&Close"},
        {"event menu", [](const Windows &w) { return w.event->menuItems.undo; }, "Undo Changes"},
        {"event menu", [](const Windows &w) { return w.event->menuItems.help; }, "&Help"},
        {"event toolbar", [](const Windows &w) { return w.event->toolItems.saveClose; }, "Save && Close"},
        {"event toolbar", [](const Windows &w) { return w.event->toolItems.print; }, "Print"},
        {"event toolbar", [](const Windows &w) { return w.event->toolItems.del; }, "Delete"},
        {"event toolbar", [](const Windows &w) { return w.event->toolItems.help; }, "Help"},
    };
    return table;
}

} // namespace

void TestBarItems::namedItems_data()
{
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < rows().size(); ++i)
        QTest::addRow("%s %zu %s", rows()[i].bar, i, rows()[i].caption) << int(i);
}

void TestBarItems::namedItems()
{
    QFETCH(int, row);
    const Row &r = rows()[size_t(row)];
    const QString bar = QString::fromLatin1(r.bar);
    const QString caption = QString::fromLatin1(r.caption);
    frm_pet_detail pet(gMain);
    frm_event_detail event(gMain);
    const int id = r.id(Windows{gMain, &pet, &event});
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
