#include "core/globals.h"
#include "core/frm_controls.h"
#include "core/frm_main.h"
#include "core/settings.h"
#include "platform/controls/data_control.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString g_programFolder;

bool samePath(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// A data control named by a file's path reads the one the program holds open,
// whichever connection that is at the time (a backup closes and reopens them).
const bool g_dataControlsUseOpenFiles = [] {
    DataControl::setDatabaseResolver([](const QString &path) -> db::Database * {
        for (db::Database *d : {gDataDB.get(), gSystemDB.get()}) {
            if (d && samePath(path, d->path()))
                return d;
        }
        return nullptr;
    });
    return true;
}();
} // namespace

QString funGetProgramFolder()
{
    if (!g_programFolder.isEmpty())
        return g_programFolder;
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
}

void setProgramFolder(const QString &folder)
{
    g_programFolder = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

std::unique_ptr<db::Workspace> gWorkspace;
std::unique_ptr<db::Database> gSystemDB;
std::unique_ptr<db::Database> gDataDB;
QString gSystemDBPath;
QString gDataDBPath;
QString gPicturePath;
QString gDefaultPicture;
QString gHelpFile;
int gListviewPet = 0, gListviewAddress = 0, gListviewReport = 0, gListviewPicture = 0;
std::vector<ListBarItem> gListBarCargo(1);
int gCurrentView = 0;
int gCalendarDay = 0;
bool gCalendarShown = false;
CalendarItems gCalendarItems;

const CalendarItem &CalendarItems::operator[](size_t i) const
{
    if (m_items.size() < m_days.size())
        m_items.resize(m_days.size());
    if (m_sources[i] >= 0) {
        m_items[i] = m_maker ? m_maker(m_days[i], m_sources[i]) : CalendarItem();
        m_sources[i] = -1;
    }
    return m_items[i];
}

void CalendarItems::restart(Maker maker)
{
    m_days.clear();
    m_sources.clear();
    m_items.clear();
    m_maker = std::move(maker);
}

void CalendarItems::reserve(size_t n)
{
    m_days.reserve(n);
    m_sources.reserve(n);
}

void CalendarItems::push_back(const CalendarItem &item)
{
    m_items.resize(m_days.size());
    m_items.push_back(item);
    m_days.push_back(item.day);
    m_sources.push_back(-1);
}

void CalendarItems::addMade(int day, int source)
{
    m_days.push_back(day);
    m_sources.push_back(source);
}
int gPetDetailTab = 0;
QPointer<QWidget> gActiveControl;

std::vector<ReminderRow> gReminders(1);
QDateTime gNextReminderCheck;
QString gCheckUnit = QStringLiteral("n");
int gCheckInterval = 5;
QString gSnoozeMinutes = QStringLiteral("5");
bool gReminderCheckBusy = false;
int gMenuOpen = 0, gMenuSeparator = 0, gMenuCheck = 0, gMenuAddEvent = 0, gMenuAbout = 0, gMenuClose = 0, gMenuExit = 0;

namespace {

std::vector<void (*)()> &globalsResets()
{
    static std::vector<void (*)()> resets;
    return resets;
}

} // namespace

bool addGlobalsReset(void (*reset)())
{
    globalsResets().push_back(reset);
    return true;
}

void resetGlobals()
{
    delete gMain;
    delete gControls;
    gMain = nullptr;
    gControls = nullptr;
    gSystemDB.reset();
    gDataDB.reset();
    gWorkspace.reset();
    gSystemDBPath.clear();
    gDataDBPath.clear();
    gPicturePath.clear();
    gDefaultPicture.clear();
    gHelpFile.clear();
    gListviewPet = gListviewAddress = gListviewReport = gListviewPicture = 0;
    gListBarCargo.assign(1, ListBarItem());
    gCurrentView = 0;
    gCalendarDay = 0;
    gCalendarShown = false;
    gCalendarItems.clear();
    gPetDetailTab = 0;
    gActiveControl = nullptr;

    for (void (*reset)() : globalsResets())
        reset();
    gReminders.assign(1, ReminderRow());
    gNextReminderCheck = QDateTime();
    gCheckUnit = QStringLiteral("n");
    gCheckInterval = 5;
    gSnoozeMinutes = QStringLiteral("5");
    gReminderCheckBusy = false;
    settings::resetSession();
    gMenuOpen = gMenuSeparator = gMenuCheck = gMenuAddEvent = gMenuAbout = gMenuClose = gMenuExit = 0;
}
