#pragma once
// The main window: the list bar, menu bar, toolbar, the five view frames with
// their lists and the month calendar, and the status bar; and every command
// that its controls deliver.

#include <QDate>
#include <QMainWindow>
#include <array>

class CtCalendar;
class CtListBar;
class CtTips;
class CtToolBar;
class QFrame;
class QLabel;
class QPrinter;
class QStackedWidget;
class QStatusBar;
class VbImageList;
class VbListItem;
class VbListView;

// The view frames, by index, and the view each belongs to.
enum MainFrame { FramePicture = 0, FramePet = 1, FrameContact = 2, FrameCalendar = 3, FrameReport = 4 };

// The menu bar's items, by the ids the bar handed out as they were laid down
// (0 until the bar is built).
struct MainMenuItems {
    int file = 0, newPet = 0, newEvent = 0, newPerson = 0, backup = 0, printSetup = 0, exit = 0;
    int options = 0, photoAlbums = 0, site1 = 0, site2 = 0, localFolder = 0, addAlbums = 0;
    int checkReminders = 0, preferences = 0;
    int help = 0, contents = 0, index = 0, search = 0, about = 0;
};

// The toolbar's buttons, by the ids the bar handed out; the separators that the
// views show and hide with the buttons after them have names too.
struct MainToolItems {
    int newPet = 0, newEvent = 0, newPerson = 0, newPicture = 0;
    int sepPrint = 0, print = 0, sepDelete = 0, del = 0;
    int sepViews = 0, largeIcons = 0, mediumIcons = 0, details = 0;
    int sepCalendar = 0, lastYear = 0, lastMonth = 0, today = 0, nextMonth = 0, nextYear = 0;
    int sepHelp = 0, help = 0;

    // The three view buttons, which one list's mode presses one of.
    std::array<int, 3> viewButtons() const { return {largeIcons, mediumIcons, details}; }
    // The view buttons with the separator before them, and the calendar's
    // buttons with theirs: each group comes and goes with its views.
    std::array<int, 4> viewGroup() const { return {sepViews, largeIcons, mediumIcons, details}; }
    std::array<int, 6> calendarGroup() const { return {sepCalendar, lastYear, lastMonth, today, nextMonth, nextYear}; }
    // The view button that stands for a list's view mode (3 details, 1 medium
    // icons, anything else large icons).
    int viewButton(int mode) const { return mode == 3 ? details : mode == 1 ? mediumIcons : largeIcons; }
};

class frm_main : public QMainWindow {
    Q_OBJECT
public:
    explicit frm_main(QWidget *parent = nullptr);
    ~frm_main() override;

    CtListBar *ctListBar_main = nullptr;
    CtToolBar *ctToolBar_MainMenuBar = nullptr;
    CtToolBar *ctToolbar_MainToolbar = nullptr;
    MainMenuItems menuItems;
    MainToolItems toolItems;
    QStatusBar *StatusBar_main = nullptr;
    QLabel *StatusBar_panel1 = nullptr;
    std::array<QFrame *, 5> frameMain{};
    std::array<QLabel *, 5> lblMain{};
    VbListView *ListView_Picture = nullptr;
    VbListView *ListView_Pet = nullptr;
    VbListView *ListView_Contact = nullptr;
    VbListView *ListView_Report = nullptr;
    CtCalendar *ctCalendar1 = nullptr;
    CtTips *ctTips1 = nullptr;
    VbImageList *ImageListPicture_Small = nullptr, *ImageListPicture_Large = nullptr;
    VbImageList *ImageListReport_Small = nullptr, *ImageListReport_Large = nullptr;
    VbImageList *ImageListpet_small = nullptr, *ImageListpet_large = nullptr;
    VbImageList *ImageListContact_small = nullptr, *ImageListContact_large = nullptr;

    // Shows the view's frame, hides the other four and makes it the current view;
    // `title` (when given) becomes the frame's title.  The subjects' show routines
    // call this.
    void showView(int view, const QString &title = {});
    // The view whose frame is on screen (0 when none is).
    int shownView() const;
    // The frame that belongs to a view, or -1.
    static int frameOfView(int view);

    // The window's Load: caption, list-bar caption, shown date, printer, the
    // address book's arrow, the list bar.
    void Load();
    // Stores the four list views' modes in the settings (the first half of Unload).
    void saveListViewModes();
    QDate shownDate() const { return m_shownDate; }
    // Presses the toolbar's view button of a list's view mode and releases the
    // other two.
    void markViewButton(int mode);

    // The commands of the controls, as the controls deliver them.
    void ctToolbar_MainToolbar_ItemClick(int id);
    void ctToolBar_MainMenuBar_ItemClick(int id);
    void ctListBar_main_ItemClick(int group, int item);
    void ctListBar_main_ItemDblClick();
    void ctListBar_main_ItemRightClick(int group, int item);
    void ListView_Pet_DblClick();
    void ListView_Pet_ItemClick(VbListItem *item);
    void ListView_Contact_DblClick();
    void ListView_Contact_MouseDown(int button, VbListItem *item);
    void ListView_Picture_DblClick();
    void ListView_Picture_MouseDown(int button, VbListItem *item);
    void ListView_Report_DblClick();
    void ListView_ColumnClick(VbListView *list, int header);
    void ctCalendar1_MonthChanged(int day);
    void ctCalendar1_DayDblClick(int day);
    void ctCalendar1_TipWanted(int day);
    void ctCalendar1_DayRightClick(int day);

    // The day tip of a calendar day, built from gCalendarItems.
    static QString dayTipText(int day);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // New pet (1), new person (2) or new event (8), then the refresh that follows.
    void addNew(int view);
    void buildMenuBar();
    void buildToolBar();
    void buildViews();
    void printSelectedReport();
    void deleteOnView(int view);
    void setViewMode(int view, int mode, int button);
    void readBackViewModes();
    QDate calendarCurrentDay() const;
    QStackedWidget *m_stack = nullptr;
    QDate m_shownDate;
    std::array<bool, 4> m_sortDescending{}; // picture, pet, contact, report
};

// The main window and the hidden form of shared controls, while the program runs.
extern frm_main *gMain;
// The main window a routine works on: `form` when it is the main window (a
// routine called from it), otherwise the program's own; null before it exists.
frm_main *funMainWindow(QWidget *form = nullptr);
// The program's one printer: the one Print Setup chose, or the default printer,
// that everything prints on and the printouts lay out their pages for. Made on
// first use: finding the printers is slow, and most runs never print.
QPrinter &funProgramPrinter();
// Drops it; the next use makes a fresh one (a new main window; tests).
void subDropProgramPrinter();

// The main window's list bar with large icons (0) or small icons (1).
void subSetListBarIconSize(int size);

// Puts `text` into the first panel of the main window's status bar.
void subSetStatusText(const QString &text);

// A photo site's address as it is opened: "http://" before it unless it already
// names its scheme.
QString funSiteAddress(const QString &site);
