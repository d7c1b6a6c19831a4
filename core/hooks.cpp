#include "core/hooks.h"

#include "core/picture_files.h"
#include "events/calendar_handler.h"
#include "events/event_handler.h"
#include "printouts/report_handler.h"
#include "records/pet_handler.h"
#include "records/picture_handler.h"
#include "core/reminder_control.h"
#include "events/reminders.h"

namespace {
// The routines of every subject whose module is part of the program.
SubjectRoutines installedRoutines()
{
    SubjectRoutines r;
    r.petHandler = pet_handler::funPetHandler;
    r.petToolBar = pet_handler::subPetToolBar;
    r.pictureHandler = picture_handler::funPictureHandler;
    r.reportHandler = report_handler::funReportHandler;
    r.reportToolBar = report_handler::subReportToolBar;
    r.importPicture = picture_files::subImportPicture;
    r.clearPicture = [](QWidget *form) { picture_files::subClearPicture(form); };
    r.savePicture = picture_files::subSavePicture;
    r.eventHandler = event_handler::funEventHandler;
    r.calendarHandler = calendar_handler::funCalendarHandler;
    r.calendarToolBar = calendar_handler::subCalendarToolBar;
    r.prefsHandler = reminder_control::funPrefsHandler;
    r.checkReminders = [](int showSnooze, bool messageIfNone) {
        return reminders::funCheckReminders(showSnooze != 0, messageIfNone);
    };
    r.remindersRunning = [] { return reminder_control::funRemindersRunning(); };
    return r;
}

SubjectRoutines g_routines = installedRoutines();
} // namespace

SubjectRoutines &subjectRoutines() { return g_routines; }

void resetSubjectRoutines() { g_routines = installedRoutines(); }

bool funPetHandler(QWidget *form, int action, long petID, const QString &text, int x)
{
    return g_routines.petHandler && g_routines.petHandler(form, action, petID, text, x);
}

bool funContactHandler(QWidget *form, int action, long contactID, const QString &text)
{
    return g_routines.contactHandler && g_routines.contactHandler(form, action, contactID, text);
}

bool funPictureHandler(QWidget *form, int action, long pictureID, const QString &text, int viewMode)
{
    return g_routines.pictureHandler && g_routines.pictureHandler(form, action, pictureID, text, viewMode);
}

bool funEventHandler(QWidget *form, int action, long eventID, QVariant &date)
{
    return g_routines.eventHandler && g_routines.eventHandler(form, action, eventID, date);
}

bool funEventHandler(QWidget *form, int action, long eventID, const QVariant &date)
{
    QVariant d = date;
    return funEventHandler(form, action, eventID, d);
}

bool funCalendarHandler(QWidget *form, int action, const QVariant &date)
{
    return g_routines.calendarHandler && g_routines.calendarHandler(form, action, date);
}

bool funReportHandler(QWidget *form, int action, long reportID, long recordID, bool flag)
{
    return g_routines.reportHandler && g_routines.reportHandler(form, action, reportID, recordID, flag);
}

bool funPrefsHandler(QWidget *form, int action, int tab)
{
    return g_routines.prefsHandler && g_routines.prefsHandler(form, action, tab);
}

bool funCheckReminders(int flag1, bool sayWhenNothingIsDue)
{
    return g_routines.checkReminders && g_routines.checkReminders(flag1, sayWhenNothingIsDue);
}

bool funRemindersRunning() { return g_routines.remindersRunning && g_routines.remindersRunning(); }

void subBackupDatabase(QWidget *form, bool ask)
{
    if (g_routines.backupDatabase)
        g_routines.backupDatabase(form, ask);
}

static void call(const std::function<void(QWidget *)> &f, QWidget *form)
{
    if (f)
        f(form);
}

void subPetToolBar(QWidget *form) { call(g_routines.petToolBar, form); }
void subContactToolBar(QWidget *form) { call(g_routines.contactToolBar, form); }
void subCalendarToolBar(QWidget *form) { call(g_routines.calendarToolBar, form); }
void subReportToolBar(QWidget *form) { call(g_routines.reportToolBar, form); }
void subShowAbout(QWidget *form) { call(g_routines.showAboutBox, form); }
void subShowBackupPrompt(QWidget *form) { call(g_routines.showBackupPromptBox, form); }
void subImportPicture(QWidget *form) { call(g_routines.importPicture, form); }
void subClearPicture(QWidget *form) { call(g_routines.clearPicture, form); }

void subSavePicture(QWidget *form, const QString &fileName)
{
    if (g_routines.savePicture)
        g_routines.savePicture(form, fileName);
}
