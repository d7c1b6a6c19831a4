#include "tray/frm_systray.h"

#include "core/globals.h"
#include "events/reminders.h"
#include "platform/controls/ct_dropmenu.h"
#include "platform/controls/ct_tray.h"
#include "tray/main_systray.h"

#include <QTimer>

frm_systray *gSystray = nullptr;

namespace {
// The tray's window goes with the other globals, though the core knows nothing of it.
[[maybe_unused]] const bool kSystrayReset = addGlobalsReset([] {
    delete gSystray;
    gSystray = nullptr;
});
} // namespace

frm_systray::frm_systray(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frm_systray"));
    ctTray1 = new CtTray(this);
    ctTray1->setObjectName(QStringLiteral("ctTray1"));
    ctTray1->setIcon(ctImage1.icon(0, 1));
    ctDropMenu1 = new CtDropMenu(0, this);
    ctDropMenu1->setObjectName(QStringLiteral("ctDropMenu1"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    connect(Timer1, &QTimer::timeout, this, &frm_systray::Timer1_Timer);
    connect(ctTray1, &CtTray::menuRequest, this, &frm_systray::ctTray1_MenuRequest);
    connect(ctTray1, &CtTray::buttonNotify, this, &frm_systray::ctTray1_ButtonNotify);
    connect(ctDropMenu1, &CtDropMenu::itemClick, this, &frm_systray::ctDropMenu1_ItemClick);
}

frm_systray::~frm_systray()
{
    if (gSystray == this)
        gSystray = nullptr;
}

void frm_systray::Timer1_Timer() { reminders::subReminderTimer(this, false); }

void frm_systray::ctTray1_MenuRequest() { ctDropMenu1->popUp(this); }

void frm_systray::ctTray1_ButtonNotify(int button)
{
    if (button == 1)
        main_systray::funStartMain(QString());
}

void frm_systray::ctDropMenu1_ItemClick(int /*menu*/, int entry)
{
    if (entry == gMenuCheck)
        reminders::subReminderTimer(this, true);
    else if (entry == gMenuClose)
        return;
    else if (entry == gMenuExit)
        main_systray::subEndProgram();
    else if (entry == gMenuOpen)
        main_systray::funStartMain(QString());
    else if (entry == gMenuAbout)
        main_systray::funStartMain(QStringLiteral("/about"));
    else if (entry == gMenuAddEvent)
        main_systray::funStartMain(QStringLiteral("/add_event"));
}
