#pragma once
// The preference store: the user's settings of "Zorbi 2003", section
// "Preferences". Every value is kept and handed back as text, so both programs
// read exactly what the other wrote.

#include <QString>
#include <QVariant>

// A value as the settings keep it: True/False for a Boolean, "" for nothing,
// otherwise the value's own text (5 -> "5").
QString funPrefText(const QVariant &value);

// The stored text of `key`, or `defaultValue` as text when the key was never
// written. It never fails: a store that cannot be read gives the default. The
// file is read again only when it has changed on disk since the last read, so
// what the other program has just written is seen.
QString funPref_Get(const QString &key, const QVariant &defaultValue = QVariant());

// Stores `value` as text. The file is written only when the value differs from
// what is there, and then at once (unless writes are held, below). False when
// the store cannot be written; the first such failure of a run is reported, and
// for the rest of the run this program still sees the value it set.
bool funPref_Set(const QString &key, const QVariant &value);

// Every value the two programs keep in the settings, each under one name and
// with one default (see the table in settings.cpp). Read and write them through
// the accessors below, never by their names.
enum class Setting {
    Database,             // the data file in use
    BackupFolder,         // where the backup goes first
    BackupCount,          // exits since the last backup
    AutomaticBackup,      // 1: ask for a backup at the exit
    AutomaticBackupCount, // exits between those questions
    MainMenuIconSize,     // list bar icons: 0 large, 1 small
    ListviewPet,          // each list's view mode
    ListviewAddress,
    ListviewReport,
    ListviewPicture,
    PhotoSite1, // the two photo album sites
    PhotoSite2,
    PhotoSite3,    // the local pictures folder
    CalShowDOB,    // what the calendar shows: birthdays,
    CalShowDiary,  // diary entries,
    CalShowVacRec, // vaccinations received,
    CalShowVacExp, // vaccinations expiring
    SitterContact, // the pet sitter's contact, asked once
};

namespace settings {

// The name a setting is stored under.
QString key(Setting s);
// What a setting is when it was never written.
QVariant defaultValue(Setting s);

// The stored text, or the default as text when it was never written.
QString text(Setting s);
// The stored text only: "" when it was never written, for showing the store as
// it is.
QString storedText(Setting s);
// Stores the value as text (funPref_Set).
bool set(Setting s, const QVariant &value);
// A stored count as a whole number; the default when it is empty or not a
// number, and kept within the 16-bit range the counts were always stored in.
int count(Setting s);
// A stored switch: on for any positive number.
bool isOn(Setting s);

// Keeps what funPref_Set stores in memory until flushWrites(), so that the exit,
// which stores several values, writes the file once. Reads see the held values.
void holdWrites();
// Writes what was held in one go (nothing when nothing changed) and stops
// holding; false when the store cannot be written.
bool flushWrites();

// Forgets this run's held and unsaved values, whether a failure was reported,
// and the values last read and where the file is (QSettings::setPath moves it).
void resetSession();

// How many times this run has written the settings file (for tests).
int writeCount();

} // namespace settings
