#pragma once
// The two database files of the system and how they are opened.

#include <QString>
#include <QVariant>

class QWidget;

// The system file: the program folder plus "/Zorbi.sys".
QString funGetDBNameSystem();
// The data file: the setting "Database", by default the program folder plus
// "/Zorbi.dat". Where the program folder is not the user's to write (an install
// for all users) and no file is stored, the default is the user's own copy of
// the shipped empty file, "Zorbi 2003/Zorbi.dat" in the user's data folder,
// made at the first call.
QString funGetDBNameData();
// Where the user's records keep their files (the pictures): the program folder,
// or the user's data folder "Zorbi 2003" where the program folder is not
// writable, made private to the user.
QString funGetRecordsFolder();
// The database password, built at run time; it is the password of the shipped files.
QString funGetDBPassword();
// "MS Access;PWD=" followed by the password.
QString funDBConnect();

// Opens `path` through gWorkspace into gSystemDB; reports a failure and returns false.
bool funOpen_SystemDB(QWidget *form, const QString &path);

// What funOpen_DataDB did, for a caller that must end the run when the user cancelled.
enum class DataOpenResult { Opened, Failed, Cancelled };

// Opens `path` into gDataDB and stores it in the setting "Database"; a missing
// file lets the user choose another.  False on failure; when the user cancels
// the choice, `result` says Cancelled and the caller ends the run.
bool funOpen_DataDB(QWidget *form, const QString &path, DataOpenResult *result = nullptr);

// The first field of the first row `sql` reads from the system file, with
// `params` bound; "" when the file is not open, there is no row, or it is null.
QString funGetSystemText(const QString &sql, const QVariantList &params = {});
// The name of species `species` in the system file; "" for none, 0, or one not stored.
QString funGetSpeciesName(const QVariant &species);

// Closes and releases one database (the system file first at exit).
void subCloseSystemDB();
void subCloseDataDB();
