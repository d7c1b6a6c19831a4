#include "core/reminder_control.h"

#include "core/frm_controls.h"
#include "core/frm_prefs.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/system.h"
#include "platform/autostart.h"
#include "platform/controls/tab_strip.h"
#include "platform/db/database.h"
#include "platform/dialogs.h"
#include "platform/program_link.h"

#include <QPointer>

QString funGetReminderTitle() { return funGetAppTitle() + QStringLiteral(" Reminders"); }

QString funGetReminderProgram() { return funGetProgramPath(OurProgram::Reminder); }

namespace reminder_control {

namespace {
// The autostart value's name.
QString autoStartName() { return funGetAppTitle(); }
} // namespace

bool funRemindersRunning(QWidget * /*form*/) { return proglink::isRunning(funGetReminderTitle()); }

bool funRemindersControl(QWidget *form, int action, const QString &parameters)
{
    switch (action) {
    case 0: return proglink::postQuit(funGetReminderTitle());
    case 1: subStartProgram(form, OurProgram::Reminder, parameters); return true;
    default: return false;
    }
}

bool funPrefsHandler(QWidget *form, int code, int tab)
{
    if (code == 5)
        return funPrefsShow(form, tab);
    ui::dialogs().msgBox(form, QStringLiteral("Invalid function specified in funPrefsHandler"), ui::OKOnly);
    return false;
}

bool funPrefsShow(QWidget *form, int tab)
{
    // Held by a guard: a backup started from the window closes it, and may let
    // it go before the modal loop returns here.
    QPointer<frm_prefs> w = new frm_prefs(form);
    w->setWindowTitle(QStringLiteral("Preferences"));
    if (gControls)
        w->setWindowIcon(gControls->ctImageMain.icon(0, 14));
    w->tbsPrefs->setSelectedIndex(tab);
    w->exec();
    delete w.data();
    return true;
}

void subAutoStartOn()
{
    if (funRegistrySetVal(autoStartName(), funGetReminderProgram()))
        return;
    ui::dialogs().msgBox(
        nullptr,
        QStringLiteral("Zorbi was unable to configure Zorbi Reminders to start automatically when you start "
                       "your computer. To accomplish this yourself, simply copy '")
            + funGetReminderProgram()
            + QStringLiteral("' to your Startup Program Group. Be sure to only copy this file, do not move it."),
        ui::OKOnly);
}

void subAutoStartOff() { funRegistryDelVal(autoStartName()); }

bool funAutoStartIsOn() { return !funRegistryGetVal(autoStartName()).isEmpty(); }

QString funRegistryGetVal(const QString &name) { return autostart::read(name); }

bool funRegistrySetVal(const QString &name, const QString &value)
{
    QString why;
    if (autostart::write(name, value, &why))
        return true;
    ui::errorReport(db::ErrPathFileAccess, why, QStringLiteral("funRegistrySetVal"));
    return false;
}

bool funRegistryDelVal(const QString &name) { return autostart::remove(name); }

} // namespace reminder_control
