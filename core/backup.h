#pragma once
// The backup: a compacted copy of the data file in a file the user chooses.
//
// The live files are never put at risk: a target that is the data file or the
// system file (or one of their journals) under any spelling is refused, and the
// copy is written to a hidden temporary file beside the target, flushed to the
// disk, and only then put in the target's place. A failed copy leaves nothing
// behind, and a backup clears what one that was ended midway left. Whatever
// happens, both files are open again when the backup is done.

#include "platform/db/database.h"

#include <QString>
#include <functional>

class QWidget;

namespace backup {

// The whole backup as the menus, the preferences and the exit's prompt run it:
// asks for the target, then backs up to it. `form` owns the dialogs; `flag` has
// no use (the callers pass True).
void subBackupDatabase(QWidget *form, bool flag);

// The folder the target dialog starts in: the setting "BackupFolder" (the
// folder of the file it names, should it name one), else the folder $TEMP
// names, else the system's temporary folder.
QString funBackupFolder();

// Asks for the target until the user chooses one that is not a live file; ""
// when the user cancels.
QString funAskBackupTarget(QWidget *form);

// True when `target` is the data file or the system file, or a journal of one of
// them, however it is spelled (relative, "..", symlinks, another hard link).
bool funIsLiveFile(const QString &target);

// Everything after the choice: stops the reminder program (and waits until it
// has gone), closes the other windows and both files, writes the copy, opens
// both files again, tells the user how it went, resets "BackupCount" after a
// success and starts the reminder program again with "/nocheck" when it had
// been running. True when the copy is in place.
bool funBackupTo(QWidget *form, const QString &target);

// How long the backup waits for the reminder program to end.
constexpr int kReminderEndWaitMs = 15000;

// For tests: where a failure can be put in place of the work.
enum class Step { OpenSource, Compact, Flush, Replace };
// Answers an error for a step to fail with it, or none to let it run.
using FailureHook = std::function<db::DbError(Step)>;
void setFailureHook(FailureHook hook); // nullptr: no failures put in
// What ends the process when the files cannot be opened again (std::exit by
// default); nullptr puts the default back.
void setEndProcess(std::function<void(int code)> end);

} // namespace backup
