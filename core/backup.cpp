#include "core/backup.h"

#include "core/database.h"
#include "core/globals.h"
#include "core/main_zorbi.h"
#include "core/reminder_control.h"
#include "core/settings.h"
#include "platform/dialogs.h"
#include "platform/hourglass.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRandomGenerator>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {

namespace {

FailureHook g_failure;
std::function<void(int)> g_end;

const QString kErrorTitle = QStringLiteral("Backup error");

db::DbError injected(Step step) { return g_failure ? g_failure(step) : db::DbError{}; }

void endProcess(int code)
{
    if (g_end) {
        g_end(code);
        return;
    }
    resetGlobals();
    std::exit(code);
}

// A path with every link and "." or ".." resolved; for a file that is not there
// (yet), its folder resolved and its name as given.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? QDir::cleanPath(info.absolutePath()) : folder) + QLatin1Char('/') + info.fileName();
}

// Two names of one file (a hard link, or a file system that ignores case).
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

db::DbError osError(int number)
{
    switch (number) {
    case ENOSPC:
    case EDQUOT:
        return {db::ErrDiskFull, QStringLiteral("Disk full")};
    case EACCES:
    case EPERM:
    case EROFS:
        return {db::ErrPermissionDenied, QStringLiteral("Permission denied")};
    case EIO:
        return {db::ErrDiskNotReady, QStringLiteral("Disk not ready")};
    default:
        return {db::ErrPathFileAccess, QString::fromLocal8Bit(std::strerror(number))};
    }
}

// Makes sure a written file is on the disk, not only in the system's buffers.
// The file is one no database connection has open, so its descriptor holds no
// lock that closing it could drop.
db::DbError flushFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return osError(errno);
    const int failed = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return failed ? osError(failed) : db::DbError{};
}

// The new name of a file is only durable once its folder is written too; a file
// system that cannot flush a folder still has the file.
void flushFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// A name beside the target that nothing has; ".tmp" so that a copy left by a
// crash in the program folder goes with the program's other temporary files.
QString temporaryBeside(const QString &target)
{
    const QFileInfo info(target);
    QString name;
    do {
        name = info.absolutePath() + QLatin1Char('/') + info.fileName()
               + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    } while (QFileInfo::exists(name) || QFileInfo(name).isSymLink());
    return name;
}

// The compacted copy of `source`, written beside `target` and put in its place
// only when complete. On failure the target is as it was and nothing is left.
db::DbError writeCopy(const QString &source, const QString &target)
{
    if (db::DbError e = injected(Step::OpenSource))
        return e;
    if (!gWorkspace)
        gWorkspace = std::make_unique<db::Workspace>(QString(), QStringLiteral("admin"), QString());
    db::DbError error;
    // The engine compacts only from an open connection; this one is the backup's own.
    std::unique_ptr<db::Database> from =
        gWorkspace->openDatabase(source, false, false, funDBConnect(), &error, db::kDataFileId);
    if (!from)
        return error;

    const QString temp = temporaryBeside(target);
    if (db::DbError e = injected(Step::Compact))
        return e;
    const bool compacted = from->compactTo(temp);
    error = from->lastError();
    from->close();
    if (!compacted)
        return error;

    error = injected(Step::Flush);
    if (!error)
        error = flushFile(temp);
    if (!error) {
        error = injected(Step::Replace);
        // A journal left beside an old backup by a crash would be played into
        // the new file when it is next opened.
        for (const char *journal : {"-wal", "-journal"}) {
            const QByteArray name = QFile::encodeName(target + QLatin1String(journal));
            if (!error && ::unlink(name.constData()) != 0 && errno != ENOENT)
                error = osError(errno);
        }
        // rename() puts the new file in the old one's place in one step: the
        // target is always either the old backup or the whole new one.
        if (!error && std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0)
            error = osError(errno);
    }
    if (error) {
        QFile::remove(temp);
        return error;
    }
    flushFolder(QFileInfo(target).absolutePath());
    return {};
}

// Stops the reminder program when it runs and waits until it has gone (it
// closes its files before it stops answering). True when it had been running.
bool stopReminderProgram(QWidget *form)
{
    if (!reminder_control::funRemindersRunning(form))
        return false;
    if (!reminder_control::funRemindersControl(form, 0, QString()))
        return false;
    QElapsedTimer waited;
    waited.start();
    while (reminder_control::funRemindersRunning(form) && waited.elapsed() < kReminderEndWaitMs) {
        // Not the user's clicks: the files are about to be closed.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(20);
    }
    return true;
}

// The callers pass the hidden shared-controls form; the dialogs then stand
// over the window the user is at rather than in a corner of the screen.
QWidget *ownerFor(QWidget *form)
{
    if (form && form->isVisible())
        return form;
    // Only a window on screen: one the backup has closed may be on its way out.
    if (QWidget *active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frm_main") && w->isVisible())
            return w;
    return form;
}

bool keptOpen(const QWidget *w)
{
    const QString name = w->objectName();
    return name == QLatin1String("frm_main") || name == QLatin1String("frm_controls");
}

bool isForm(const QWidget *w)
{
    switch (w->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

// Closes every window but the main window and the shared controls. Closing
// never deletes: a window that is modal ends its loop when control gets back to
// it, one that goes when closed is deleted later by the event loop; so the
// window the backup was started from (the preferences, the exit's prompt) is
// still there when its handler goes on.
void closeOtherWindows()
{
    QList<QPointer<QWidget>> windows;
    // The topmost modal window first, so that each closes before the one under it.
    if (QWidget *modal = QApplication::activeModalWidget())
        windows << modal;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows << w;
    for (const QPointer<QWidget> &w : windows) {
        if (w && w->isVisible() && isForm(w) && !keptOpen(w))
            w->close();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString errorText(const db::DbError &e)
{
    QString text = QString::number(e.number) + QStringLiteral(" - ");
    switch (e.number) {
    case db::ErrDiskFull:
        return text + e.description + QStringLiteral(". Your Zorbi data file was NOT backed up successfully.");
    case db::ErrPermissionDenied:
        return text + e.description
               + QStringLiteral(".  Please make sure all forms are closed before attempting to backup your Zorbi data file.");
    case db::ErrOpenedExclusively:
        return text + QStringLiteral("Zorbi was not able to re-open your database. Zorbi will now close, please restart Zorbi.");
    default:
        return text + e.description;
    }
}

void showError(QWidget *form, const db::DbError &e)
{
    ui::dialogs().msgBox(form, errorText(e), ui::Critical | ui::OKOnly, kErrorTitle);
}

// Opens both files again. When one cannot be opened the process ends, after
// the opener's own message and the backup's; the copy's failure is told first.
bool reopenFiles(QWidget *form, const db::DbError &copyFailed)
{
    const QString restart = QStringLiteral("Unable to re-open your Zorbi data file. Please restart Zorbi.");
    if (!funOpen_SystemDB(form, gSystemDBPath)) {
        if (copyFailed)
            showError(form, copyFailed);
        ui::dialogs().msgBox(form, restart, ui::Critical | ui::OKOnly);
        endProcess(1);
        return false;
    }
    if (!funOpen_DataDB(form, gDataDBPath)) {
        if (copyFailed)
            showError(form, copyFailed);
        ui::dialogs().msgBox(form,
                             copyFailed ? restart
                                        : QStringLiteral("Your data file has been backed up. Please re-open ")
                                              + funGetAppTitle() + QStringLiteral("."),
                             ui::Critical | ui::OKOnly);
        endProcess(1);
        return false;
    }
    return true;
}

} // namespace

void setFailureHook(FailureHook hook) { g_failure = std::move(hook); }

void setEndProcess(std::function<void(int)> end) { g_end = std::move(end); }

QString funBackupFolder()
{
    QString folder = funPref_Get(QStringLiteral("BackupFolder"), QString());
    if (folder.isEmpty())
        folder = qEnvironmentVariable("TEMP");
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

bool funIsLiveFile(const QString &target)
{
    if (target.trimmed().isEmpty())
        return false;
    const QString chosen = resolvedPath(target);
    for (const QString &live : {gDataDBPath, gSystemDBPath}) {
        if (live.isEmpty())
            continue;
        const QString file = resolvedPath(live);
        // The engine's journals beside a file are part of it.
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
            if (chosen == file + suffix || chosen == resolvedPath(live + suffix) || sameFile(target, file + suffix))
                return true;
        }
    }
    return false;
}

QString funAskBackupTarget(QWidget *form)
{
    ui::FileRequest request;
    request.title = QStringLiteral("Backup Zorbi data file to");
    request.filter = QStringLiteral("Zorbi data files (*.dat)|*.dat|All Files (*.*)|*.*");
    request.defaultExt = QStringLiteral("*.dat");
    request.initialDir = funBackupFolder();
    request.fileName = QString();
    request.save = true;
    // An old backup is replaced without a question, and only by a complete copy.
    request.overwritePrompt = false;
    for (;;) {
        QWidget *owner = ownerFor(form);
        const QString chosen = ui::dialogs().fileDialog(owner, request);
        if (chosen.isEmpty())
            return QString();
        if (!funIsLiveFile(chosen))
            return chosen;
        ui::dialogs().msgBox(owner,
                             QStringLiteral("The file you have selected is your current Zorbi data file. "
                                            "Please save to a different file name."),
                             ui::Exclamation | ui::OKOnly, kErrorTitle);
    }
}

bool funBackupTo(QWidget *form, const QString &target)
{
    if (target.isEmpty() || funIsLiveFile(target))
        return false;
    Hourglass hourglass;
    const bool wasRunning = stopReminderProgram(form);
    closeOtherWindows();

    subCloseDataDB();
    subCloseSystemDB();
    const db::DbError failed = writeCopy(gDataDBPath, target);
    // The windows the backup closed are gone; the boxes stand over the main window.
    QWidget *owner = ownerFor(form);
    if (failed.number == db::ErrOpenedExclusively) {
        // Another program holds the data file for itself: it cannot be opened again.
        hourglass.release();
        showError(owner, failed);
        endProcess(1);
        return false;
    }
    if (!reopenFiles(owner, failed))
        return false;

    hourglass.release();
    if (failed) {
        showError(owner, failed);
    } else {
        ui::dialogs().msgBox(
            owner,
            QStringLiteral("Your data file \"") + gDataDBPath + QStringLiteral("\" has been backed up to \"") + target
                + QStringLiteral("\".\nPlease remember that this backup DOES NOT backup any of your picture files, "
                                 "due to the large size of picture files.\n\nYour pictures are stored in folder \"")
                + gPicturePath
                + QStringLiteral("\".\n\nPlease be sure to backup the picture files in this folder up manually."),
            ui::Information | ui::OKOnly, QStringLiteral("Backup message"));
        funPref_Set(QStringLiteral("BackupCount"), 1);
    }
    // Without a check at once: the user has just been at the program. A copy that
    // did not go in time is still there, and a second one would only refuse.
    if (wasRunning && !reminder_control::funRemindersRunning(form))
        reminder_control::funRemindersControl(form, 1, QStringLiteral("/nocheck"));
    return !failed;
}

void subBackupDatabase(QWidget *form, bool /*flag*/)
{
    const QString target = funAskBackupTarget(form);
    if (!target.isEmpty())
        funBackupTo(form, target);
}

} // namespace backup
