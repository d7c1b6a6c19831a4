#include "core/frm_main.h"
#include "core/codes.h"

#include "platform/dates.h"
#include "core/frm_controls.h"
#include "core/globals.h"
#include "core/hooks.h"
#include "core/main_zorbi.h"
#include "core/menu.h"
#include "core/settings.h"
#include "core/system.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/controls/ct_calendar.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_listbar.h"
#include "platform/controls/ct_tips.h"
#include "platform/controls/ct_toolbar.h"
#include "platform/controls/vb_image_list.h"
#include "platform/controls/vb_list_view.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPrinter>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>
#include <memory>

frm_main *gMain = nullptr;

frm_main *funMainWindow(QWidget *form)
{
    if (auto *m = qobject_cast<frm_main *>(form))
        return m;
    return gMain;
}
namespace {
std::unique_ptr<QPrinter> g_programPrinter;
} // namespace

QPrinter &funProgramPrinter()
{
    if (!g_programPrinter)
        g_programPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *g_programPrinter;
}

void subDropProgramPrinter() { g_programPrinter.reset(); }

namespace {

// The view code of each frame.
constexpr int kFrameView[5] = {ViewPhotoGallery, ViewPets, ViewAddressBook, ViewCalendar, ViewPrintouts};

// A key's id: the key without its first character ("r7" -> 7).
long keyId(const QString &key) { return key.mid(1).toLong(); }

} // namespace

QString funSiteAddress(const QString &site)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (scheme.match(site).hasMatch())
        return site;
    return QStringLiteral("http://") + site;
}

void subSetListBarIconSize(int size)
{
    if (!gMain || !gMain->ctListBar_main)
        return;
    gMain->ctListBar_main->setIconSize(size == 1 ? 1 : 0);
    gMain->ctListBar_main->setIconSize2(size == 1 ? 0 : 2);
}

void subSetStatusText(const QString &text)
{
    if (gMain && gMain->StatusBar_panel1)
        gMain->StatusBar_panel1->setText(text);
}

frm_main::frm_main(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm_main"));
    buildMenuBar();
    buildViews();
    buildToolBar();
    resize(1180, 720);
}

frm_main::~frm_main()
{
    if (gMain == this)
        gMain = nullptr;
    subDropProgramPrinter();
}

void frm_main::buildMenuBar()
{
    auto *bar = new CtToolBar(CtToolBar::Mode::MenuBar, this);
    bar->setObjectName(QStringLiteral("ctToolBar_MainMenuBar"));
    ctToolBar_MainMenuBar = bar;
    const int title = CtToolBar::MenuTitle, entry = CtToolBar::MenuEntry;
    MainMenuItems &m = menuItems;
    m.file = bar->addItem(QStringLiteral("&File"), {}, {}, title);
    m.newPet = bar->addItem(QStringLiteral("New Pet"), {}, storeIcon(27), entry);
    m.newEvent = bar->addItem(QStringLiteral("New Event"), {}, storeIcon(10), entry);
    m.newPerson = bar->addItem(QStringLiteral("New Person"), {}, storeIcon(2), entry);
    bar->addSeparator();
    m.backup = bar->addItem(QStringLiteral("&Backup"), {}, storeIcon(19), entry);
    bar->addSeparator();
    m.printSetup = bar->addItem(QStringLiteral("Print Setup"), {}, storeIcon(17), entry);
    bar->addSeparator();
    m.exit = bar->addItem(QStringLiteral("E&xit"), {}, storeIcon(28), entry);
    m.options = bar->addItem(QStringLiteral("&Options"), {}, {}, title);
    m.photoAlbums = bar->addItem(QStringLiteral("Online Photo Albums"), {}, storeIcon(23), entry);
    m.site1 = bar->addItem(QStringLiteral("Site 1"), {}, storeIcon(23), entry);
    m.site2 = bar->addItem(QStringLiteral("Site 2"), {}, storeIcon(23), entry);
    m.localFolder = bar->addItem(QStringLiteral("Local Photo Folder"), {}, storeIcon(24), entry);
    m.addAlbums = bar->addItem(QStringLiteral("(Add New Photo Albums)"), {}, {}, entry);
    bar->addSeparator();
    m.checkReminders = bar->addItem(QStringLiteral("Check Reminders"), {}, storeIcon(6), entry);
    bar->addSeparator();
    m.preferences = bar->addItem(QStringLiteral("Preferences"), {}, storeIcon(14), entry);
    m.help = bar->addItem(QStringLiteral("&Help"), {}, {}, title);
    m.contents = bar->addItem(QStringLiteral("Contents"), {}, storeIcon(30), entry);
    m.index = bar->addItem(QStringLiteral("Index"), {}, {}, entry);
    m.search = bar->addItem(QStringLiteral("Search"), {}, {}, entry);
    // About keeps the id it always had, after five separators that never show.
    for (int i = 0; i < 5; ++i)
        bar->addSeparator();
    m.about = bar->addItem(QStringLiteral("&About Zorbi 2003"), {}, storeIcon(1), entry);
    setMenuWidget(bar);
    connect(bar, &CtToolBar::itemClick, this, &frm_main::ctToolBar_MainMenuBar_ItemClick);
}

void frm_main::buildToolBar()
{
    auto *tb = new CtToolBar(CtToolBar::Mode::ToolBar, this);
    tb->setObjectName(QStringLiteral("ctToolbar_MainToolbar"));
    ctToolbar_MainToolbar = tb;
    MainToolItems &t = toolItems;
    t.newPet = tb->addItem(QStringLiteral("New &Pet"), QStringLiteral("Add a new pet"), storeIcon(27));
    tb->addSeparator();
    t.newEvent =
        tb->addItem(QStringLiteral("New &Event"), QStringLiteral("Add a new event to the calendar"), storeIcon(10));
    tb->addSeparator();
    t.newPerson = tb->addItem(QStringLiteral("New &Person"), QStringLiteral("Add a new person to the address book"),
                              storeIcon(3));
    tb->addSeparator();
    t.newPicture = tb->addItem(QStringLiteral("New P&icture"),
                               QStringLiteral("Add a new picture to your photo gallery"), storeIcon(26));
    t.sepPrint = tb->addSeparator();
    t.print = tb->addItem(QStringLiteral("Print"), QStringLiteral("Print"), storeIcon(17));
    t.sepDelete = tb->addSeparator();
    t.del = tb->addItem(QStringLiteral("Delete"), QStringLiteral("Delete"), storeIcon(18));
    t.sepViews = tb->addSeparator();
    t.largeIcons = tb->addItem(QStringLiteral("Large Listview"), QStringLiteral("Show large icons"), storeIcon(32));
    t.mediumIcons = tb->addItem(QStringLiteral("Medium Listview"), QStringLiteral("Show medium icons"), storeIcon(33));
    t.details =
        tb->addItem(QStringLiteral("Detailed Listview"), QStringLiteral("Show detailed icon list"), storeIcon(34));
    t.sepCalendar = tb->addSeparator();
    t.lastYear = tb->addItem(QStringLiteral("Last Year"), QStringLiteral("Last year"), storeIcon(35));
    t.lastMonth = tb->addItem(QStringLiteral("Last Month"), QStringLiteral("Last month"), storeIcon(36));
    t.today = tb->addItem(QStringLiteral("Goto Today"), QStringLiteral("Goto today's date"), storeIcon(37));
    t.nextMonth = tb->addItem(QStringLiteral("Next Month"), QStringLiteral("Next month"), storeIcon(38));
    t.nextYear = tb->addItem(QStringLiteral("Next Year"), QStringLiteral("Next year"), storeIcon(39));
    t.sepHelp = tb->addSeparator();
    t.help = tb->addItem(QStringLiteral("Help"), QStringLiteral("Help"), storeIcon(30));
    auto *central = centralWidget();
    static_cast<QVBoxLayout *>(central->layout())->insertWidget(0, tb);
    connect(tb, &CtToolBar::itemClick, this, &frm_main::ctToolbar_MainToolbar_ItemClick);
}

void frm_main::buildViews()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *body = new QHBoxLayout;
    body->setContentsMargins(4, 4, 4, 4);
    outer->addLayout(body, 1);

    ctListBar_main = new CtListBar(central);
    ctListBar_main->setObjectName(QStringLiteral("ctListBar_main"));
    ctListBar_main->setFixedWidth(120);
    body->addWidget(ctListBar_main);

    m_stack = new QStackedWidget(central);
    body->addWidget(m_stack, 1);

    auto makeImages = [this](const char *name, QSize size) {
        auto *list = new VbImageList(this);
        list->setObjectName(QString::fromLatin1(name));
        list->setImageSize(size);
        return list;
    };
    ImageListPicture_Small = makeImages("ImageListPicture_Small", {16, 16});
    ImageListPicture_Large = makeImages("ImageListPicture_Large", {128, 128});
    ImageListReport_Small = makeImages("ImageListReport_Small", {16, 16});
    ImageListReport_Large = makeImages("ImageListReport_Large", {32, 32});
    ImageListpet_small = makeImages("ImageListpet_small", {16, 16});
    ImageListpet_large = makeImages("ImageListpet_large", {32, 32});
    ImageListContact_small = makeImages("ImageListContact_small", {16, 16});
    ImageListContact_large = makeImages("ImageListContact_large", {32, 32});

    static const char *const titles[5] = {" Photo Gallery", " Pet Details", " Address Book", " Calendar",
                                          " Reports and Printouts"};
    for (int i = 0; i < 5; ++i) {
        auto *frame = new QFrame(m_stack);
        frame->setObjectName(QStringLiteral("frameMain(%1)").arg(i));
        frame->setFrameShape(QFrame::StyledPanel);
        auto *v = new QVBoxLayout(frame);
        v->setContentsMargins(2, 2, 2, 2);
        auto *label = new QLabel(QString::fromLatin1(titles[i]), frame);
        label->setObjectName(QStringLiteral("lblMain(%1)").arg(i));
        QFont f = label->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.25);
        label->setFont(f);
        // The caption's colours by palette: a style sheet per caption costs more
        // at start-up than the rest of the frame.
        label->setAutoFillBackground(true);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, QColor(0x4a, 0x6f, 0x8a));
        colours.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(colours);
        label->setMargin(3);
        label->setTextFormat(Qt::PlainText); // a pet's name is shown as typed, never as markup
        v->addWidget(label);
        frameMain[i] = frame;
        lblMain[i] = label;
        m_stack->addWidget(frame);
    }

    auto makeList = [this](int frame, const char *name, const QStringList &columns, VbImageList *large,
                           VbImageList *small) {
        auto *list = new VbListView(frameMain[frame]);
        list->setObjectName(QString::fromLatin1(name));
        list->setColumnHeaders(columns);
        list->setIcons(large);
        list->setSmallIcons(small);
        frameMain[frame]->layout()->addWidget(list);
        connect(list, &VbListView::columnClick, this, [this, list](int header) { ListView_ColumnClick(list, header); });
        return list;
    };
    ListView_Picture = makeList(FramePicture, "ListView_Picture",
                                {QStringLiteral("Title"), QStringLiteral("Pet"), QStringLiteral("Category"),
                                 QStringLiteral("Date"), QStringLiteral("Caption")},
                                ImageListPicture_Large, ImageListPicture_Small);
    // A title (up to 30 characters) fits its column.
    ListView_Picture->setColumnWidth(0, 200);
    ListView_Pet = makeList(FramePet, "ListView_Pet", {QStringLiteral("Name"), QStringLiteral("Description")},
                            ImageListpet_large, ImageListpet_small);
    // The panel's entries ("Update Vaccinations", the printouts' names) fit their
    // column; the description takes the rest of the width.
    ListView_Pet->setColumnWidth(0, 206);
    ListView_Contact = makeList(FrameContact, "ListView_Contact",
                                {QStringLiteral("Name"), QStringLiteral("Primary Phone"), QStringLiteral("E-Mail")},
                                ImageListContact_large, ImageListContact_small);
    // Names and numbers show whole; the e-mail takes the rest of the width.
    ListView_Contact->setColumnWidth(0, 240);
    ListView_Contact->setColumnWidth(1, 170);
    ListView_Report = makeList(FrameReport, "ListView_Report", {QStringLiteral("Name"), QStringLiteral("Description")},
                               ImageListReport_Large, ImageListReport_Small);

    ctCalendar1 = new CtCalendar(frameMain[FrameCalendar]);
    ctCalendar1->setObjectName(QStringLiteral("ctCalendar1"));
    frameMain[FrameCalendar]->layout()->addWidget(ctCalendar1);
    ctCalendar1->installEventFilter(this); // its row size follows its height
    ctTips1 = new CtTips(this);
    ctTips1->setObjectName(QStringLiteral("ctTips1"));

    StatusBar_main = new QStatusBar(this);
    StatusBar_main->setObjectName(QStringLiteral("StatusBar_main"));
    StatusBar_panel1 = new QLabel(StatusBar_main);
    StatusBar_main->addWidget(StatusBar_panel1, 1);
    setStatusBar(StatusBar_main);
    setCentralWidget(central);

    connect(ctListBar_main, &CtListBar::itemClick, this, &frm_main::ctListBar_main_ItemClick);
    connect(ctListBar_main, &CtListBar::itemDblClick, this, &frm_main::ctListBar_main_ItemDblClick);
    connect(ctListBar_main, &CtListBar::itemRightClick, this, &frm_main::ctListBar_main_ItemRightClick);
    connect(ListView_Pet, &VbListView::itemDblClick, this, &frm_main::ListView_Pet_DblClick);
    connect(ListView_Pet, &VbListView::itemClick, this, &frm_main::ListView_Pet_ItemClick);
    connect(ListView_Contact, &VbListView::itemDblClick, this, &frm_main::ListView_Contact_DblClick);
    connect(ListView_Contact, &VbListView::itemClick, this, [this](VbListItem *) {
        ctToolbar_MainToolbar->setItemEnabled(toolItems.del, true);
        ctToolbar_MainToolbar->setItemEnabled(toolItems.print, true);
    });
    connect(ListView_Contact, &VbListView::mouseDown, this, &frm_main::ListView_Contact_MouseDown);
    connect(ListView_Picture, &VbListView::itemDblClick, this, &frm_main::ListView_Picture_DblClick);
    connect(ListView_Picture, &VbListView::itemClick, this, [this](VbListItem *) {
        ctToolbar_MainToolbar->setItemEnabled(toolItems.del, true);
        ctToolbar_MainToolbar->setItemEnabled(toolItems.print, true);
    });
    connect(ListView_Picture, &VbListView::mouseDown, this, &frm_main::ListView_Picture_MouseDown);
    connect(ListView_Report, &VbListView::itemDblClick, this, &frm_main::ListView_Report_DblClick);
    connect(ctCalendar1, &CtCalendar::monthChanged, this, &frm_main::ctCalendar1_MonthChanged);
    connect(ctCalendar1, &CtCalendar::dayDblClick, this, &frm_main::ctCalendar1_DayDblClick);
    connect(ctCalendar1, &CtCalendar::tipWanted, this, &frm_main::ctCalendar1_TipWanted);
    connect(ctCalendar1, &CtCalendar::dayRightClick, this, &frm_main::ctCalendar1_DayRightClick);
}

int frm_main::frameOfView(int view)
{
    for (int i = 0; i < 5; ++i)
        if (kFrameView[i] == view)
            return i;
    return -1;
}

void frm_main::showView(int view, const QString &title)
{
    const int frame = frameOfView(view);
    if (frame < 0)
        return;
    m_stack->setCurrentIndex(frame);
    if (!title.isEmpty())
        lblMain[frame]->setText(title);
    gCurrentView = view;
    subSetToolBar(this, view);
    if (this == gMain)
        subMarkListBar();
}

int frm_main::shownView() const
{
    const int frame = m_stack->currentIndex();
    return frame >= 0 && frame < 5 ? kFrameView[frame] : 0;
}

void frm_main::Load()
{
    setWindowTitle(funGetAppTitle());
    ctListBar_main->setCaption(QStringLiteral("Menu"));
    m_shownDate = funDayNumberToDate(ctCalendar1->Date());
    subDropProgramPrinter(); // a fresh one, made when it is first needed
    ListView_Contact->setColumnHeaderImage(0, 0, true);
    subRefreshListBar();
}

void frm_main::saveListViewModes()
{
    settings::set(Setting::ListviewPet, ListView_Pet->View());
    settings::set(Setting::ListviewAddress, ListView_Contact->View());
    settings::set(Setting::ListviewReport, ListView_Report->View());
    settings::set(Setting::ListviewPicture, ListView_Picture->View());
}

bool frm_main::eventFilter(QObject *watched, QEvent *event)
{
    // The calendar's row size is its height (in twips) divided by 95.
    if (watched == ctCalendar1 && event->type() == QEvent::Resize)
        ctCalendar1->setRowSize(ctCalendar1->height() * 15.0 / 95.0);
    return QMainWindow::eventFilter(watched, event);
}

void frm_main::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program: the modes are kept, then the exit runs once.
    event->accept();
    settings::holdWrites(); // the exit writes them with its own values, once
    saveListViewModes();
    subExitProgram();
}

QDate frm_main::calendarCurrentDay() const { return funDayNumberToDate(ctCalendar1->Date()); }

void frm_main::readBackViewModes()
{
    gListviewAddress = ListView_Contact->View();
    gListviewPet = ListView_Pet->View();
    gListviewReport = ListView_Report->View();
    gListviewPicture = ListView_Picture->View();
}

// ---------------------------------------------------------------- toolbar

void frm_main::addNew(int view)
{
    // The same three commands stand on the toolbar and in the File menu.
    switch (view) {
    case ViewPets:
        funPetHandler(this, ActionAdd, 0, QString(), 1);
        subRefreshListBar();
        break;
    case ViewEventEditor:
        funEventHandler(this, ActionAdd, 0, QVariant());
        funCalendarHandler(this, ActionRefresh, QVariant());
        break;
    case ViewAddressBook:
        funContactHandler(this, ActionAdd, 0, QString());
        funContactHandler(this, ActionRefresh, 0, QString());
        break;
    default: break;
    }
}

void frm_main::ctToolbar_MainToolbar_ItemClick(int id)
{
    // Print, Delete, the view modes and Help act on the view that is on screen.
    const int view = shownView();
    const MainToolItems &t = toolItems;
    if (id == t.newPet) {
        addNew(ViewPets);
    } else if (id == t.newEvent) {
        addNew(ViewEventEditor);
    } else if (id == t.newPerson) {
        addNew(ViewAddressBook);
    } else if (id == t.newPicture) {
        funPictureHandler(this, ActionAdd, 0, QString(), 1);
        funPictureHandler(this, ActionRefresh, 0, QString(), ListView_Picture->View());
    } else if (id == t.print) {
        switch (view) {
        case ViewPets: funPetHandler(this, ActionPrint, ListView_Pet->Tag().toLongLong(), QString(), 1); break;
        case ViewAddressBook: funContactHandler(this, ActionPrintList, 0, QString()); break;
        case ViewCalendar: funCalendarHandler(this, ActionPrint, QVariant()); break;
        case ViewPrintouts: printSelectedReport(); break;
        case ViewPhotoGallery: funReportHandler(this, ActionOpenReport, ReportPhotoAlbum, 0, false); break;
        default: break;
        }
    } else if (id == t.del) {
        deleteOnView(view);
    } else if (id == t.largeIcons) {
        setViewMode(view, 0, id);
    } else if (id == t.mediumIcons) {
        setViewMode(view, 1, id);
    } else if (id == t.details) {
        setViewMode(view, 3, id);
    } else if (id == t.lastYear) {
        funCalendarHandler(this, ActionShow, calendarCurrentDay().addYears(-1));
    } else if (id == t.lastMonth) {
        funCalendarHandler(this, ActionShow, calendarCurrentDay().addMonths(-1));
    } else if (id == t.today) {
        funCalendarHandler(this, ActionShow, zbclock::now());
    } else if (id == t.nextMonth) {
        funCalendarHandler(this, ActionShow, calendarCurrentDay().addMonths(1));
    } else if (id == t.nextYear) {
        funCalendarHandler(this, ActionShow, calendarCurrentDay().addYears(1));
    } else if (id == t.help) {
        int context = 0;
        switch (view) {
        case ViewPets: context = 2501; break;
        case ViewAddressBook: context = 3502; break;
        case ViewCalendar: context = 3003; break;
        case ViewPrintouts: context = 1001; break;
        case ViewPhotoGallery: context = 2001; break;
        default: break;
        }
        if (context)
            funHelp(this, 2, context);
        else
            funHelp(this, 1, 0);
    }
    readBackViewModes();
}

void frm_main::printSelectedReport()
{
    if (ListView_Report->ItemCount() < 1)
        return;
    VbListItem *item = ListView_Report->SelectedItem();
    if (!item)
        return;
    funReportHandler(this, ActionOpenReport, keyId(item->Key()), 0, false);
}

void frm_main::deleteOnView(int view)
{
    switch (view) {
    case ViewPets: {
        VbListItem *item = ListView_Pet->SelectedItem();
        if (!item)
            return;
        const long petId = ListView_Pet->Tag().toLongLong();
        const int tag = item->Tag().toInt();
        // Only the pet's own "edit" entry deletes the pet: its other entries
        // carry the same tag but stand for the vaccinations and the diary.
        if (tag == ViewPets && item->Key().compare(QStringLiteral("edit"), Qt::CaseInsensitive) == 0) {
            if (funPetHandler(this, ActionDelete, petId, QString(), 1)) {
                subRefreshListBar();
                funCalendarHandler(this, ActionShow, zbclock::now());
            }
        } else if (tag == ViewPhotoGallery) {
            if (funPictureHandler(this, ActionDelete, keyId(item->Key()), item->text(), 1))
                funPetHandler(this, ActionShow, petId, QString(), 1);
        }
        break;
    }
    case ViewAddressBook: {
        VbListItem *item = ListView_Contact->SelectedItem();
        if (!item)
            return;
        if (funContactHandler(this, ActionDelete, item->Tag().toLongLong(), item->text()))
            funContactHandler(this, ActionRefresh, 0, QString());
        break;
    }
    case ViewPhotoGallery: {
        VbListItem *item = ListView_Picture->SelectedItem();
        if (!item)
            return;
        if (funPictureHandler(this, ActionDelete, item->Tag().toLongLong(), item->text(), 1))
            funPictureHandler(this, ActionShow, 0, QString(), 1);
        break;
    }
    default: break;
    }
}

void frm_main::setViewMode(int view, int mode, int button)
{
    switch (view) {
    case ViewPets: ListView_Pet->setView(mode); break;
    case ViewAddressBook: ListView_Contact->setView(mode); break;
    case ViewPrintouts: ListView_Report->setView(mode); break;
    case ViewPhotoGallery: funPictureHandler(this, ActionShow, 0, QString(), mode); break;
    default: break;
    }
    for (int id : toolItems.viewButtons())
        ctToolbar_MainToolbar->setItemState(id, id == button);
}

void frm_main::markViewButton(int mode)
{
    for (int id : toolItems.viewButtons())
        ctToolbar_MainToolbar->setItemState(id, false);
    ctToolbar_MainToolbar->setItemState(toolItems.viewButton(mode), true);
}

// ---------------------------------------------------------------- menu bar

void frm_main::ctToolBar_MainMenuBar_ItemClick(int id)
{
    const MainMenuItems &m = menuItems;
    CtToolBar *bar = ctToolBar_MainMenuBar;
    if (id == m.newPet) {
        addNew(ViewPets);
    } else if (id == m.newEvent) {
        addNew(ViewEventEditor);
    } else if (id == m.newPerson) {
        addNew(ViewAddressBook);
    } else if (id == m.backup) {
        subBackupDatabase(gControls, true);
    } else if (id == m.printSetup) {
        ui::dialogs().printDialog(this, funProgramPrinter());
    } else if (id == m.exit) {
        subExitProgram(); // it ends the program
    } else if (id == m.photoAlbums) {
        if (!bar->itemVisible(m.site1) && !bar->itemVisible(m.site2))
            funPrefsHandler(this, ActionShow, 3);
    } else if (id == m.site1 || id == m.site2) {
        subShellOpen(this, bar->itemStoredText(id), QString());
    } else if (id == m.localFolder) {
        subShellOpenFolder(this, bar->itemStoredText(id));
    } else if (id == m.addAlbums) {
        funPrefsHandler(this, ActionShow, 3);
    } else if (id == m.checkReminders) {
        funCheckReminders(0, true);
    } else if (id == m.preferences) {
        funPrefsHandler(this, ActionShow, 1);
    } else if (id == m.contents) {
        funHelp(this, 1, 0);
    } else if (id == m.index) {
        funHelp(this, 3, 0);
    } else if (id == m.search) {
        funHelp(this, 5, 0);
    } else if (id == m.about) {
        subShowAbout(this);
    }
}

// ---------------------------------------------------------------- list bar

static const ListBarItem *cargoOf(CtListBar *bar, int group, int item)
{
    const int index = bar->itemCargo(group, item);
    if (index <= 0 || index >= int(gListBarCargo.size()))
        return nullptr;
    return &gListBarCargo[size_t(index)];
}

void frm_main::ctListBar_main_ItemClick(int group, int item)
{
    const ListBarItem *cargo = cargoOf(ctListBar_main, group, item);
    if (!cargo)
        return;
    const QString text = ctListBar_main->itemText(group, item);
    switch (cargo->view) {
    case ViewPets: {
        const long petId = cargo->recordID;
        if (petId != 0)
            funPetHandler(this, ActionShow, petId, text, 1);
        else
            funPetHandler(this, ActionAdd, 0, QString(), 1);
        subRefreshListBar();
        break;
    }
    case ViewAddressBook: funContactHandler(this, ActionShow, 0, QString()); break;
    case ViewCalendar: funCalendarHandler(this, ActionShow, calendarCurrentDay()); break;
    case ViewPrintouts: funReportHandler(this, ActionShow); break;
    case ViewPreferences: funPrefsHandler(this, ActionShow, 1); break;
    case ViewPhotoGallery: funPictureHandler(this, ActionShow, 0, QString(), gListviewPicture); break;
    default: break;
    }
}

void frm_main::ctListBar_main_ItemDblClick()
{
    const int group = ctListBar_main->currentGroup(), item = ctListBar_main->currentItem();
    if (item <= 0)
        return;
    const ListBarItem *cargo = cargoOf(ctListBar_main, group, item);
    if (!cargo || cargo->view != ViewPets || cargo->recordID == 0)
        return;
    funPetHandler(this, ActionEdit, cargo->recordID, ctListBar_main->itemText(group, item), 1);
    subRefreshListBar();
}

void frm_main::ctListBar_main_ItemRightClick(int group, int item)
{
    const ListBarItem *cargo = cargoOf(ctListBar_main, group, item);
    // "Add New Pet" is no pet: it gets no Open/Delete menu.
    if (!cargo || cargo->view != ViewPets || cargo->recordID == 0 || !gControls)
        return;
    CtDropMenu *menu = gControls->ctDropMenuContext->menu(1);
    menu->setTag(QString::number(cargo->recordID));
    menu->popUp(this);
}

// ---------------------------------------------------------------- list views

void frm_main::ListView_Pet_DblClick()
{
    VbListItem *item = ListView_Pet->SelectedItem();
    if (ListView_Pet->ItemCount() < 1 || !item)
        return;
    const int tag = item->Tag().toInt();
    const QString key = item->Key();
    const long petId = ListView_Pet->Tag().toLongLong();
    if (tag == ViewPets) {
        int tab = 1;
        if (key.compare(QStringLiteral("vaccine"), Qt::CaseInsensitive) == 0)
            tab = 3;
        else if (key.compare(QStringLiteral("diary"), Qt::CaseInsensitive) == 0)
            tab = 4;
        funPetHandler(this, ActionEdit, petId, QString(), tab);
        subRefreshListBar();
    } else if (tag == ViewPrintouts) {
        funReportHandler(this, ActionOpenReport, keyId(key), petId, false);
    } else if (tag == ViewPhotoGallery) {
        funPictureHandler(this, ActionEdit, keyId(key), QString(), ListView_Picture->View());
    }
    // The panel is filled again only while it is on screen: a pet deleted from
    // its window has left the calendar there, and no panel of a pet that is gone.
    if (shownView() == ViewPets)
        funPetHandler(this, ActionShow, petId, QString(), 1);
}

void frm_main::ListView_Pet_ItemClick(VbListItem *item)
{
    const int tag = item ? item->Tag().toInt() : 0;
    const bool deletable =
        item
        && ((tag == ViewPets && item->Key().compare(QStringLiteral("edit"), Qt::CaseInsensitive) == 0)
            || tag == ViewPhotoGallery);
    ctToolbar_MainToolbar->setItemEnabled(toolItems.del, deletable);
}

void frm_main::ListView_Contact_DblClick()
{
    VbListItem *item = ListView_Contact->SelectedItem();
    if (ListView_Contact->ItemCount() < 1 || !item)
        return;
    funContactHandler(this, ActionEdit, item->Tag().toLongLong(), QString());
    funContactHandler(this, ActionRefresh, 0, QString());
}

void frm_main::ListView_Contact_MouseDown(int button, VbListItem *item)
{
    // The menu acts on the person under the pointer, which the press has selected.
    if (button != Qt::RightButton || !item || !gControls)
        return;
    CtDropMenu *menu = gControls->ctDropMenuContext->menu(2);
    menu->setTag(item->Tag().toString());
    menu->popUp(this);
}

void frm_main::ListView_Picture_DblClick()
{
    VbListItem *item = ListView_Picture->SelectedItem();
    if (ListView_Picture->ItemCount() < 1 || !item)
        return;
    funPictureHandler(this, ActionEdit, item->Tag().toLongLong(), QString(), 1);
    funPictureHandler(this, ActionShow, 0, QString(), ListView_Picture->View());
}

void frm_main::ListView_Picture_MouseDown(int button, VbListItem *item)
{
    if (button != Qt::RightButton || !item || !gControls)
        return;
    CtDropMenu *menu = gControls->ctDropMenuContext->menu(5);
    menu->setTag(item->Tag().toString());
    menu->popUp(this);
}

void frm_main::ListView_Report_DblClick() { printSelectedReport(); }

void frm_main::ListView_ColumnClick(VbListView *list, int header)
{
    int which = 0;
    if (list == ListView_Pet)
        which = 1;
    else if (list == ListView_Contact)
        which = 2;
    else if (list == ListView_Report)
        which = 3;
    // One direction per list, flipped by every header click: the first click on
    // any column sorts descending, the next ascending.
    bool &descending = m_sortDescending[size_t(which)];
    descending = !descending;
    const int key = header - 1;
    const int order = descending ? 1 : 0;
    list->setSortKey(key);
    list->setSortOrder(order);
    list->setSorted(true);
    for (int c = 0; c < list->ColumnCount(); ++c)
        list->setColumnHeaderImage(c, order, c == key);
}

// ---------------------------------------------------------------- calendar

void frm_main::ctCalendar1_MonthChanged(int day)
{
    gCalendarDay = day;
    const bool otherMonth = ctCalendar1->Month() != m_shownDate.month() || ctCalendar1->Year() != m_shownDate.year();
    if (otherMonth && !gCalendarShown)
        funCalendarHandler(this, ActionShow, funDayNumberToDate(day));
    m_shownDate = calendarCurrentDay();
    gCalendarShown = false;
}

void frm_main::ctCalendar1_DayDblClick(int day)
{
    QVariant d(day);
    funEventHandler(this, ActionEditList, 0, d);
}

QString frm_main::dayTipText(int day)
{
    QStringList lines;
    for (size_t i = 0; i < gCalendarItems.size(); ++i) {
        if (gCalendarItems.day(i) != day)
            continue;
        const CalendarItem &item = gCalendarItems[i];
        QString line = item.name.isNull() ? QStringLiteral("(None)") : item.name;
        if (!item.due.isEmpty())
            line += QStringLiteral(" - ") + item.due;
        line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        lines << line;
    }
    return lines.join(QStringLiteral("\r\n"));
}

void frm_main::ctCalendar1_TipWanted(int day)
{
    gCalendarDay = day;
    if (day <= 0)
        return;
    ctTips1->setFont(ctCalendar1->font());
    ctTips1->setText(dayTipText(day));
    if (!ctTips1->text().isEmpty())
        ctTips1->showAt(QCursor::pos() + QPoint(12, 16));
}

void frm_main::ctCalendar1_DayRightClick(int day)
{
    gCalendarDay = day;
    if (gControls)
        gControls->ctDropMenuContext->menu(4)->popUp(this);
}
