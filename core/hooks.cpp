#include "core/hooks.h"

namespace {
// The set the program installed at start, and the one in use (a test may
// replace single routines in it).
// Both made on first use, so that a program may install its set whenever it
// starts, static initialisers included.
SubjectRoutines &installed()
{
    static SubjectRoutines r;
    return r;
}
SubjectRoutines &inUse()
{
    static SubjectRoutines r;
    return r;
}
} // namespace

void installSubjectRoutines(const SubjectRoutines &routines)
{
    installed() = routines;
    inUse() = routines;
}

SubjectRoutines &subjectRoutines() { return inUse(); }

void resetSubjectRoutines() { inUse() = installed(); }

bool funPetHandler(QWidget *form, int action, long petID, const QString &text, int x)
{
    return inUse().petHandler && inUse().petHandler(form, action, petID, text, x);
}

bool funContactHandler(QWidget *form, int action, long contactID, const QString &text)
{
    return inUse().contactHandler && inUse().contactHandler(form, action, contactID, text);
}

long funContactAddNew(QWidget *form) { return inUse().contactAddNew ? inUse().contactAddNew(form) : 0; }

bool funPictureHandler(QWidget *form, int action, long pictureID, const QString &text, int viewMode)
{
    return inUse().pictureHandler && inUse().pictureHandler(form, action, pictureID, text, viewMode);
}

bool funEventHandler(QWidget *form, int action, long eventID, QVariant &date)
{
    return inUse().eventHandler && inUse().eventHandler(form, action, eventID, date);
}

bool funEventHandler(QWidget *form, int action, long eventID, const QVariant &date)
{
    QVariant d = date;
    return funEventHandler(form, action, eventID, d);
}

bool funCalendarHandler(QWidget *form, int action, const QVariant &date)
{
    return inUse().calendarHandler && inUse().calendarHandler(form, action, date);
}

bool funReportHandler(QWidget *form, int action, long reportID, long recordID, bool flag)
{
    return inUse().reportHandler && inUse().reportHandler(form, action, reportID, recordID, flag);
}

bool funPrefsHandler(QWidget *form, int action, int tab)
{
    return inUse().prefsHandler && inUse().prefsHandler(form, action, tab);
}

bool funCheckReminders(int flag1, bool sayWhenNothingIsDue)
{
    return inUse().checkReminders && inUse().checkReminders(flag1, sayWhenNothingIsDue);
}

bool funRemindersRunning() { return inUse().remindersRunning && inUse().remindersRunning(); }

void subBackupDatabase(QWidget *form, bool ask)
{
    if (inUse().backupDatabase)
        inUse().backupDatabase(form, ask);
}

static void call(const std::function<void(QWidget *)> &f, QWidget *form)
{
    if (f)
        f(form);
}

void subPetToolBar(QWidget *form) { call(inUse().petToolBar, form); }
void subContactToolBar(QWidget *form) { call(inUse().contactToolBar, form); }
void subCalendarToolBar(QWidget *form) { call(inUse().calendarToolBar, form); }
void subReportToolBar(QWidget *form) { call(inUse().reportToolBar, form); }
void subShowAbout(QWidget *form) { call(inUse().showAboutBox, form); }
void subShowBackupPrompt(QWidget *form) { call(inUse().showBackupPromptBox, form); }
void subImportPicture(QWidget *form) { call(inUse().importPicture, form); }
void subClearPicture(QWidget *form) { call(inUse().clearPicture, form); }

void subSavePicture(QWidget *form, const QString &fileName)
{
    if (inUse().savePicture)
        inUse().savePicture(form, fileName);
}
