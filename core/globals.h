#pragma once
// Program-wide state, in one place, with a reset for tests.

#include "platform/db/database.h"
#include <QString>
#include <QVariantList>
#include <memory>

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

// The id of the last record saved or opened in a detail window.
extern long gLastRecordID;

// Closes both databases and clears every global (tests, and the end of a run).
void resetGlobals();
