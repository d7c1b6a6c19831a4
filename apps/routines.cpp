#include "apps/routines.h"

#include "core/backup.h"
#include "core/frm_about.h"
#include "core/frm_backup.h"
#include "core/hooks.h"
#include "core/picture_files.h"
#include "core/reminder_control.h"
#include "events/calendar_handler.h"
#include "events/event_handler.h"
#include "events/reminders.h"
#include "printouts/report_handler.h"
#include "records/contact_handler.h"
#include "records/pet_handler.h"
#include "records/picture_handler.h"

namespace {
SubjectRoutines programRoutines()
{
    SubjectRoutines r;
    r.petHandler = pet_handler::funPetHandler;
    r.petToolBar = pet_handler::subPetToolBar;
    r.pictureHandler = picture_handler::funPictureHandler;
    r.contactHandler = contact_handler::funContactHandler;
    r.contactAddNew = [](QWidget *form) {
        long id = 0;
        contact_handler::funContactAdd(form, &id);
        return id;
    };
    r.contactToolBar = contact_handler::subContactToolBar;
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
    r.backupDatabase = backup::subBackupDatabase;
    r.showAboutBox = about_box::subShowAboutBox;
    r.showBackupPromptBox = backup_prompt::subShowBackupPromptBox;
    return r;
}
} // namespace

void installProgramRoutines() { installSubjectRoutines(programRoutines()); }
