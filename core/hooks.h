#pragma once
// The routines of the subjects (pets, people, pictures, events, the calendar,
// printouts, preferences, backup, reminders) as the main window calls them.
// The programs install the set at start (apps/); a routine that is not there
// does nothing and answers False. Tests may replace single routines with their
// own and reset the set afterwards.

#include <QString>
#include <QVariant>
#include <functional>

class QWidget;

struct SubjectRoutines {
    std::function<bool(QWidget *form, int action, long petID, const QString &text, int x)> petHandler;
    std::function<bool(QWidget *form, int action, long contactID, const QString &text)> contactHandler;
    std::function<long(QWidget *form)> contactAddNew;
    std::function<bool(QWidget *form, int action, long pictureID, const QString &text, int viewMode)> pictureHandler;
    std::function<bool(QWidget *form, int action, long eventID, QVariant &date)> eventHandler;
    std::function<bool(QWidget *form, int action, const QVariant &date)> calendarHandler;
    std::function<bool(QWidget *form, int action, long reportID, long recordID, bool flag)> reportHandler;
    std::function<bool(QWidget *form, int action, int tab)> prefsHandler;
    std::function<bool(int flag1, bool sayWhenNothingIsDue)> checkReminders;
    std::function<bool()> remindersRunning;
    std::function<void(QWidget *form, bool ask)> backupDatabase;
    std::function<void(QWidget *form)> showAboutBox;
    std::function<void(QWidget *form)> showBackupPromptBox;
    std::function<void(QWidget *form)> petToolBar, contactToolBar, calendarToolBar, reportToolBar;
    std::function<void(QWidget *form)> importPicture;
    std::function<void(QWidget *form)> clearPicture;
    std::function<void(QWidget *form, const QString &fileName)> savePicture;
};

// Makes `routines` the installed set and the one in use.
void installSubjectRoutines(const SubjectRoutines &routines);
// The routines in use; resetSubjectRoutines() puts back the installed ones (tests).
SubjectRoutines &subjectRoutines();
void resetSubjectRoutines();

bool funPetHandler(QWidget *form, int action, long petID, const QString &text, int x);
bool funContactHandler(QWidget *form, int action, long contactID, const QString &text);
// Opens the new-person window over `form`, as funContactHandler's add does;
// the id of the person it wrote, 0 when none.
long funContactAddNew(QWidget *form);
bool funPictureHandler(QWidget *form, int action, long pictureID, const QString &text, int viewMode);
bool funEventHandler(QWidget *form, int action, long eventID, QVariant &date);
bool funEventHandler(QWidget *form, int action, long eventID, const QVariant &date = {});
bool funCalendarHandler(QWidget *form, int action, const QVariant &date);
bool funReportHandler(QWidget *form, int action, long reportID = 0, long recordID = 0, bool flag = false);
bool funPrefsHandler(QWidget *form, int action, int tab);
bool funCheckReminders(int flag1, bool sayWhenNothingIsDue);
bool funRemindersRunning();
void subBackupDatabase(QWidget *form, bool ask);
void subPetToolBar(QWidget *form);
void subContactToolBar(QWidget *form);
void subCalendarToolBar(QWidget *form);
void subReportToolBar(QWidget *form);
void subImportPicture(QWidget *form);
void subClearPicture(QWidget *form);
void subSavePicture(QWidget *form, const QString &fileName);
void subShowAbout(QWidget *form);
void subShowBackupPrompt(QWidget *form);
