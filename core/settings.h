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
// written. An unreadable store is reported and gives "".
QString funPref_Get(const QString &key, const QVariant &defaultValue = QVariant());

// Stores `value` as text and writes it out at once; false (after a report) when
// the store cannot be written.
bool funPref_Set(const QString &key, const QVariant &value);
