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

namespace settings {

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
