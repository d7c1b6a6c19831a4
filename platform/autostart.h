#pragma once
// Programs that start when the user logs in: one desktop entry per program in
// the user's autostart folder ($XDG_CONFIG_HOME/autostart, by default
// ~/.config/autostart), whose Exec= line starts the program.

#include <QString>
#include <QStringList>

namespace autostart {

QString folder();
// The entry file for `name` (its letters and digits, other characters as "-").
QString entryPath(const QString &name);

// Writes the entry `name` that starts `program` (a full path, blanks and all).
// False with the reason in `error` when the folder or the file cannot be written.
bool write(const QString &name, const QString &program, QString *error = nullptr);
// The program the entry `name` starts; "" when there is no such entry.
QString read(const QString &name);
// Removes the entry; true when none is left (also when there was none).
bool remove(const QString &name);

// An Exec= value that runs `arguments` exactly as given, and back.
QString execLine(const QStringList &arguments);
QStringList execArguments(const QString &execValue);

} // namespace autostart
