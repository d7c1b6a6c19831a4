#include "tray/main_systray.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/reminder_control.h"
#include "core/system.h"
#include "events/reminders.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_tray.h"
#include "platform/dialogs.h"
#include "platform/program_link.h"
#include "platform/single_instance.h"
#include "tray/frm_systray.h"

#include <QTimer>
#include <cstdlib>
#include <memory>

namespace main_systray {

namespace {
std::unique_ptr<InstanceLock> g_instance;
std::unique_ptr<proglink::Listener> g_listener;
std::function<void(int)> g_end;
} // namespace

void setProcessEnd(std::function<void(int)> end) { g_end = std::move(end); }

int Main()
{
    const QString title = funGetReminderTitle();
    ui::setDefaultTitle(title);

    // 1. One copy per user.
    g_instance = std::make_unique<InstanceLock>(QStringLiteral("Zorbi_Reminder"));
    // A copy that was just told to quit (the main program restarts this program
    // right after a backup) is given a moment to let go of the lock.
    if (!g_instance->tryLock(2000)) {
        const QString refused = g_instance->error();
        g_instance.reset();
        if (!refused.isEmpty()) {
            ui::dialogs().msgBox(nullptr, title + QStringLiteral(" cannot start. ") + refused,
                                 ui::Critical | ui::OKOnly);
            return 1;
        }
        ui::dialogs().msgBox(nullptr, title + QStringLiteral(" is already running."), ui::Information | ui::OKOnly);
        return 0;
    }

    // 2. Help.
    gHelpFile = funGetProgramFolder() + QStringLiteral("/Help");

    // 3. The hidden form and its timer, which ticks from now on.
    gSystray = new frm_systray;
    gSystray->setWindowTitle(title);
    gSystray->Timer1->setInterval(60000);
    gSystray->Timer1->start();

    // The main program finds this program, and stops it, through its socket.
    g_listener = std::make_unique<proglink::Listener>(title);
    QObject::connect(
        g_listener.get(), &proglink::Listener::quitRequested, gSystray, [] { subEndProgram(); }, Qt::QueuedConnection);
    if (!g_listener->listen())
        qWarning("%s: the main program will not find this program running", qPrintable(title));

    // 4. The first check, at once (the next-check time is not set yet).
    if (!funIsCommand(QStringLiteral("/nocheck")))
        reminders::subReminderTimer(gSystray, false);

    // 5-6. The menu and the icon. Where the desktop has no notification area the
    // icon does not show; the timer still checks and the window still comes.
    subBuildTrayMenu();
    gSystray->ctTray1->setDisplayMode(1);
    gSystray->ctTray1->setToolTip(QStringLiteral("Reminders - ") + funGetAppTitle());
    gSystray->ctTray1->setContextMenu(gSystray->ctDropMenu1);
    gSystray->ctTray1->show();
    return -1;
}

void subBuildTrayMenu()
{
    CtDropMenu *menu = gSystray->ctDropMenu1;
    menu->removeAll();
    menu->setSetupFlag(true);
    menu->setSetupValue(0);
    auto add = [menu](const QString &caption, int picture) {
        const int entry = menu->addEntry(caption, 0, 0);
        if (picture)
            menu->setEntryPicture(entry, gSystray->ctImage1.icon(0, picture));
        return entry;
    };
    auto separator = [menu] { return menu->addEntry(QString(), 1, 0); };
    gMenuOpen = add(QStringLiteral("Open ") + funGetAppTitle(), 1);
    gMenuSeparator = separator();
    gMenuCheck = add(QStringLiteral("Check Reminders"), 3);
    gMenuAddEvent = add(QStringLiteral("Add New Event"), 5);
    gMenuSeparator = separator();
    gMenuAbout = add(QStringLiteral("About ") + funGetAppTitle(), 0);
    gMenuSeparator = separator();
    gMenuClose = add(QStringLiteral("Close Menu"), 6);
    gMenuExit = add(QStringLiteral("Exit"), 4);
}

bool funStartMain(const QString &sw)
{
    subStartProgram(gSystray, OurProgram::Main, sw);
    return false;
}

void subEndProgram()
{
    if (gSystray) {
        gSystray->Timer1->stop();
        gSystray->ctTray1->remove();
    }
    // The files go first: the main program may be about to copy the data file.
    subCloseDataDB();
    subCloseSystemDB();
    gWorkspace.reset();
    g_listener.reset();
    if (g_instance)
        g_instance->release();
    g_instance.reset();
    if (g_end) {
        g_end(0);
        return;
    }
    resetGlobals();
    std::exit(0);
}

} // namespace main_systray
