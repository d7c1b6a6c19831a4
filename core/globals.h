#pragma once
// Program-wide state, in one place, with a reset for tests.

#include "platform/db/database.h"
#include <QPointer>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

// The folder of the running executable, without a trailing "/"; tests point it
// at a temporary folder with setProgramFolder().
QString funGetProgramFolder();
void setProgramFolder(const QString &folder); // "" returns to the executable's folder

extern std::unique_ptr<db::Workspace> gWorkspace;
extern std::unique_ptr<db::Database> gSystemDB;
extern std::unique_ptr<db::Database> gDataDB;
extern QString gSystemDBPath;
extern QString gDataDBPath;

extern QString gPicturePath;    // the pictures folder, ending in "/"
extern QString gDefaultPicture; // the program folder's Default.gif, or ""
extern QString gHelpFile;       // the help file's path

extern int gListviewPet, gListviewAddress, gListviewReport, gListviewPicture;

// One entry of the list bar: what a click on its item opens.
struct ListBarItem {
    int view = 0;      // the view code; 1 for a pet and for "Add New Pet"
    long recordID = 0; // the pet's id; 0 for "Add New Pet" and the fixed entries
    QString name;
    bool operator==(const ListBarItem &) const = default;
};
// The list bar's entries. A list-bar item's cargo is the index of its entry,
// and a cargo of 0 is none: element 0 stays empty.
extern std::vector<ListBarItem> gListBarCargo;

// The view on screen: 1 pets, 2 address book, 6 calendar, 8 event editor,
// 13 printouts, 14 preferences, 20 photo gallery.
extern int gCurrentView;

// One item placed on the calendar by the last fill.
struct CalendarItem {
    int day = 0;       // its day number
    int kind = 0;      // 8 event, 6 vaccination, 9 diary entry, 1 birthday
    long recordID = 0; // event_id for an event, else pet_id (a birthday: the repeating query's record id)
    int species = 0;   // the pet's species id; 0 for events and birthdays
    QString name;      // on one line; null reads as "(None)"
    QString due;       // the due text: the time, if it has one, and the date
    QString time;      // event_time as stored; null when there is none
    bool operator==(const CalendarItem &) const = default;
};

// The items of the last calendar fill, in the order they were placed.
//
// One fill may place tens of thousands of items (each event repeating daily
// comes round on all 42 days of the grid), and most are never read: the fill
// adds each as its day and a number that its maker turns into the item when it
// is first read. day() reads the day without making the item.
class CalendarItems {
public:
    using Maker = std::function<CalendarItem(int day, int source)>;

    size_t size() const { return m_days.size(); }
    bool empty() const { return m_days.empty(); }
    const CalendarItem &operator[](size_t i) const;
    int day(size_t i) const { return m_days[i]; }

    // No items, and items made by `maker` from now on.
    void restart(Maker maker = {});
    void clear() { restart(); }
    void reserve(size_t n);
    void push_back(const CalendarItem &item);
    void addMade(int day, int source);

private:
    std::vector<int> m_days;
    mutable std::vector<int> m_sources; // the maker's number; -1 once the item is made
    mutable std::vector<CalendarItem> m_items;
    Maker m_maker;
};

// The calendar: the day last pointed at or clicked; set while the calendar set-up
// moves the calendar, so the month change it causes does not refill it again; and
// the items of the last fill.
extern int gCalendarDay;
extern bool gCalendarShown;
extern CalendarItems gCalendarItems;

// ---- Pets ----
// The tab the pet window opens on (1 details, 3 vaccinations, 4 diary).
extern int gPetDetailTab;

// ---- Detail windows ----
// The field of the active detail window that the edit and format commands act
// on; only the windows' subSetLocalMenus sets it. It becomes null by itself when
// its window goes.
extern QPointer<QWidget> gActiveControl;

// ---- Reminders ----

// One due item of a reminder check.
struct ReminderRow {
    int kind = 0;      // 8 event, 6 vaccination
    long recordID = 0; // event_id or vaccine_id
    QString name;      // as listed: on one line, "(None)" for none
    QString due;       // the due text
    bool repeating = false;
    QDateTime acknowledgeValue; // what acknowledging a repeating event writes
    bool operator==(const ReminderRow &) const = default;
};
// The due items of the last check. Each row of the reminder window carries the
// index of its item as its row data, counted from 1: element 0 stays empty.
extern std::vector<ReminderRow> gReminders;
// When the reminder program checks next (null: at once), the unit and length of
// the interval between checks, and the minutes a snooze puts the next check off.
extern QDateTime gNextReminderCheck;
extern QString gCheckUnit;
extern int gCheckInterval;
extern QString gSnoozeMinutes;
// Set while a check, its reminder window or an acknowledgement is under way;
// nothing starts another check meanwhile.
extern bool gReminderCheckBusy;
// The reminder program's tray menu: the number of each entry.
extern int gMenuOpen, gMenuSeparator, gMenuCheck, gMenuAddEvent, gMenuAbout, gMenuClose, gMenuExit;

// Closes both databases and clears every global (tests, and the end of a run).
void resetGlobals();
// A part of the programs above the core that keeps a global of its own (the
// tray's window) adds its reset here, and resetGlobals() runs it with the rest.
// Meant for static initialisation: the part registers itself when it is linked in.
bool addGlobalsReset(void (*reset)());
