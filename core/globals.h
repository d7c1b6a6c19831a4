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

// List-bar cargo: element 0 stays empty; each further one is
// [0] view code (1 for a pet), [1] record id, [2] name, [3] empty.
extern std::vector<QVariantList> gListBarCargo;

// The work entry copied into gListBarCargo.
extern QVariantList gListBarEntry;

// The view on screen: 1 pets, 2 address book, 6 calendar, 8 event editor,
// 13 printouts, 14 preferences, 20 photo gallery.
extern int gCurrentView;

// The items of the last calendar fill: element 0 empty, each further one eight
// values ([0] day number, [1] kind, [2] record id, [3] species id, [4] name,
// [5] due text, [6] time, [7] empty), read like a std::vector<QVariantList>.
//
// One fill may place tens of thousands of items (each event repeating daily
// comes round on all 42 days of the grid), and most are never read: the fill
// adds each as its day and a number that its maker turns into the eight values
// when the item is first read. day() reads slot 0 without making the item.
class CalendarItems {
public:
    using Maker = std::function<QVariantList(int day, int source)>;

    CalendarItems() { restart(); }
    size_t size() const { return m_days.size(); }
    const QVariantList &operator[](size_t i) const;
    int day(size_t i) const { return m_days[i]; }

    // Element 0 alone, and items made by `maker` from now on.
    void restart(Maker maker = {});
    // As std::vector: `n` copies of `item` (assign(1, {}) restarts).
    void assign(size_t n, const QVariantList &item);
    void reserve(size_t n);
    void push_back(const QVariantList &item);
    void addMade(int day, int source);

private:
    std::vector<int> m_days;
    mutable std::vector<int> m_sources; // the maker's number; -1 once the item is made
    mutable std::vector<QVariantList> m_items;
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

// The due items of the last check: element 0 stays empty; each further one is
// [0] kind (8 event, 6 vaccination), [1] record id (event_id or vaccine_id),
// [2] name, [3] due text, [4] repeating flag, [5] the value an acknowledgement
// writes, [6] empty.
extern std::vector<QVariantList> gReminders;
// The work entry copied into gReminders.
extern QVariantList gReminderEntry;
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
