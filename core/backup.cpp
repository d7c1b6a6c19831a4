#include "core/backup.h"

#include "core/database.h"
#include "core/frm_main.h"
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
#include <QRegularExpression>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
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
    struct stat sa {
    }, sb{};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// What a failure of the system to write in `folder` means, told as the user
// can act on it: the folder is missing, cannot be written, or the disk is full.
db::DbError osError(int number, const QString &folder)
{
    const QString where = QStringLiteral("the folder \"") + QDir::toNativeSeparators(folder) + QLatin1Char('"');
    switch (number) {
    case ENOSPC:
    case EDQUOT: return {db::ErrDiskFull, QStringLiteral("Disk full: there is no room for the copy in ") + where};
    case EACCES:
    case EPERM:
        return {db::ErrPermissionDenied,
                QStringLiteral("Permission denied: ") + where + QStringLiteral(" cannot be written to")};
    case EROFS:
        return {db::ErrPermissionDenied,
                QStringLiteral("Permission denied: ") + where + QStringLiteral(" is on a read-only disk")};
    case ENOENT:
        return {db::ErrPathNotFound, QStringLiteral("Path not found: ") + where
                                         + QStringLiteral(" does not exist. Your Zorbi data file was NOT backed up.")};
    case ENOTDIR:
        return {db::ErrPathNotFound,
                QStringLiteral("Path not found: \"") + QDir::toNativeSeparators(folder)
                    + QStringLiteral("\" is not a folder. Your Zorbi data file was NOT backed up.")};
    case EIO: return {db::ErrDiskNotReady, QStringLiteral("Disk not ready")};
    default: return {db::ErrPathFileAccess, QString::fromLocal8Bit(std::strerror(number))};
    }
}

// Why `folder` cannot take the copy, checked before anything is closed; no
// error when it can.
db::DbError folderError(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return osError(errno, folder);
    if (!S_ISDIR(st.st_mode))
        return osError(ENOTDIR, folder);
    if (::access(name.constData(), W_OK | X_OK) != 0)
        return osError(errno, folder);
    return {};
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

// The temporary copy beside a target: "." and the target's name, six hex
// digits and ".tmp", so that it is hidden in the folder and no file dialog of
// data files lists it. Only this program makes such names; the engine adds its
// journal as "-journal" to it.
QRegularExpression temporaryPattern(const QString &target)
{
    return QRegularExpression(QStringLiteral("^\\.?") + QRegularExpression::escape(QFileInfo(target).fileName())
                              + QStringLiteral("\\.[0-9a-f]{6}\\.tmp(-journal|-wal|-shm)?$"));
}

// The temporary file and its journals go; the target is not touched.
void removeTemporary(const QString &temp)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        ::unlink(QFile::encodeName(temp + QLatin1String(suffix)).constData());
}

// A temporary copy is held under a lock (flock, which the engine's own locks
// never touch) for as long as its backup runs; the lock ends with the process,
// however it ends. One whose lock can be had is left from a backup that did not
// finish, unless it is still empty, new and without a journal: its writer may
// have made it and not locked it yet (it locks before the engine starts).
bool isStale(const QString &temp)
{
    const int fd = ::open(QFile::encodeName(temp).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT;
    struct stat st {};
    const bool stale = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
                       && (st.st_size > 0 || QFileInfo::exists(temp + QStringLiteral("-journal"))
                           || ::time(nullptr) - st.st_mtime > 60);
    ::close(fd);
    return stale;
}

// Removes what earlier backups to the same target left when they were ended
// before they could clear up (a crash, a kill, a power cut); the temporary
// files of a backup still running, in this or another program, stay.
void removeStaleTemporaries(const QString &target)
{
    const QFileInfo info(target);
    const QRegularExpression pattern = temporaryPattern(target);
    const QStringList names = QDir(info.absolutePath()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        const QString path = info.absolutePath() + QLatin1Char('/') + name;
        // A journal goes with its copy: alone, or beside a copy that is stale.
        const QString copy = m.captured(1).isEmpty() ? path : path.chopped(m.captured(1).size());
        if (isStale(copy))
            removeTemporary(copy);
    }
}

// A new temporary file beside the target, made by this process and locked;
// its descriptor in `fd`.
db::DbError createTemporary(const QString &target, QString *temp, int *fd)
{
    const QFileInfo info(target);
    for (;;) {
        *temp =
            info.absolutePath() + QStringLiteral("/.") + info.fileName()
            + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        *fd = ::open(QFile::encodeName(*temp).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (*fd >= 0)
            break;
        if (errno != EEXIST)
            return osError(errno, info.absolutePath());
    }
    if (::flock(*fd, LOCK_EX | LOCK_NB) != 0) {
        const int failed = errno;
        ::close(*fd);
        *fd = -1;
        removeTemporary(*temp);
        return osError(failed, info.absolutePath());
    }
    return {};
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

    const QString folder = QFileInfo(target).absolutePath();
    removeStaleTemporaries(target);
    QString temp;
    int fd = -1;
    error = createTemporary(target, &temp, &fd);
    if (error)
        return error;
    // Our descriptor is closed only once the engine is done with the file: closing
    // it earlier would drop the engine's own locks on it.
    auto release = qScopeGuard([&] { ::close(fd); });
    error = injected(Step::Compact);
    if (!error && !from->compactTo(temp)) {
        error = from->lastError();
        // The engine tells only that it could not write; the folder may tell why.
        if (db::DbError why = folderError(folder))
            error = why;
    }
    from->close();

    // Only a copy that is on the disk, not only in the system's buffers, replaces the old one.
    if (!error)
        error = injected(Step::Flush);
    if (!error && ::fsync(fd) != 0)
        error = osError(errno, folder);
    if (!error) {
        error = injected(Step::Replace);
        // A journal left beside an old backup by a crash would be played into
        // the new file when it is next opened.
        for (const char *journal : {"-wal", "-journal"}) {
            const QByteArray name = QFile::encodeName(target + QLatin1String(journal));
            if (!error && ::unlink(name.constData()) != 0 && errno != ENOENT)
                error = osError(errno, folder);
        }
        // rename() puts the new file in the old one's place in one step: the
        // target is always either the old backup or the whole new one.
        if (!error && std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0)
            error = osError(errno, folder);
    }
    if (error) {
        removeTemporary(temp);
        return error;
    }
    flushFolder(folder);
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

// Starts the reminder program again when the backup stopped it; without a check
// at once: the user has just been at the program. A copy that did not go in
// time is still there, and a second one would only refuse.
void restartReminderProgram(QWidget *form, bool wasRunning)
{
    if (wasRunning && !reminder_control::funRemindersRunning(form))
        reminder_control::funRemindersControl(form, 1, QStringLiteral("/nocheck"));
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
    if (frm_main *main = funMainWindow(); main && main->isVisible())
        return main;
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
    case Qt::Tool: return true;
    default: return false;
    }
}

// Closes every window but the main window and the shared controls, each once.
// Closing never deletes: a window that is modal ends its loop when control gets
// back to it, one that goes when closed is deleted later by the event loop; so
// the window the backup was started from (the preferences, the exit's prompt) is
// still there when its handler goes on. False when a window stays open because
// the user chose so (the preferences' "Save changes?" answered Cancel).
bool closeOtherWindows()
{
    QList<QPointer<QWidget>> windows;
    // The topmost modal window first, so that each closes before the one under it.
    if (QWidget *modal = QApplication::activeModalWidget())
        windows << modal;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!windows.contains(w))
            windows << w;
    for (const QPointer<QWidget> &w : windows) {
        if (w && w->isVisible() && isForm(w) && !keptOpen(w) && !w->close())
            return false;
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

QString errorText(const db::DbError &e)
{
    QString text = QString::number(e.number) + QStringLiteral(" - ");
    switch (e.number) {
    case db::ErrDiskFull:
        return text + e.description + QStringLiteral(". Your Zorbi data file was NOT backed up successfully.");
    case db::ErrPermissionDenied:
        return text + e.description
               + QStringLiteral(
                   ".  Please make sure all forms are closed before attempting to backup your Zorbi data file.");
    case db::ErrOpenedExclusively:
        return text
               + QStringLiteral(
                   "Zorbi was not able to re-open your database. Zorbi will now close, please restart Zorbi.");
    default: return text + e.description;
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
    QString folder = settings::text(Setting::BackupFolder);
    // A location that names a file (set before the box took folders only) starts
    // the dialog in that file's folder, never on the file.
    if (const QFileInfo named(folder); !folder.isEmpty() && named.exists() && !named.isDir())
        folder = named.absolutePath();
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
        for (const QString &suffix :
             {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
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
    // The dialog asks before an existing file is replaced: it may be anything.
    request.overwritePrompt = true;
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
    // A folder that cannot take the copy is told before anything is closed.
    if (const db::DbError e = folderError(QFileInfo(target).absolutePath())) {
        showError(ownerFor(form), e);
        return false;
    }
    Hourglass hourglass;
    const bool wasRunning = stopReminderProgram(form);
    if (!closeOtherWindows()) {
        // The user kept a window open: no backup, and all as it was.
        restartReminderProgram(form, wasRunning);
        return false;
    }

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
        settings::set(Setting::BackupCount, 1);
    }
    restartReminderProgram(form, wasRunning);
    return !failed;
}

void subBackupDatabase(QWidget *form, bool /*flag*/)
{
    const QString target = funAskBackupTarget(form);
    if (!target.isEmpty())
        funBackupTo(form, target);
}

} // namespace backup
