#include "platform/single_instance.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kFallbackName = QStringLiteral("zorbi-runtime");

// A folder only this user can reach: a real folder (not a link to one), ours,
// with no access for the group or others.
bool isPrivate(const QString &path, QString *why)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        *why = QStringLiteral("%1 cannot be read (%2).").arg(path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *why = QStringLiteral("%1 is not a folder.").arg(path);
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        *why = QStringLiteral("%1 belongs to another user.").arg(path);
        return false;
    }
    if (st.st_mode & 077) {
        *why = QStringLiteral("%1 can be opened by other users.").arg(path);
        return false;
    }
    return true;
}

// The folder that holds the fallback may be shared (a cache in /tmp) only when,
// as there, no one can take away what another user made in it.
bool isSafeParent(const QString &path, QString *why)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *why = QStringLiteral("%1 is not a folder.").arg(path);
        return false;
    }
    const bool ownerOk = st.st_uid == ::geteuid() || st.st_uid == 0;
    const bool othersMayReplace = (st.st_mode & 022) && !(st.st_mode & S_ISVTX);
    if (!ownerOk || othersMayReplace) {
        *why = QStringLiteral("%1 can be changed by other users.").arg(path);
        return false;
    }
    return true;
}

QString cacheFolder()
{
    const QString cache = QFile::decodeName(qgetenv("XDG_CACHE_HOME"));
    if (QDir::isAbsolutePath(cache))
        return QDir::cleanPath(cache);
    QString home = QFile::decodeName(qgetenv("HOME"));
    if (!QDir::isAbsolutePath(home)) {
        const passwd *pw = ::getpwuid(::geteuid());
        home = pw && pw->pw_dir ? QFile::decodeName(pw->pw_dir) : QString();
    }
    return QDir::isAbsolutePath(home) ? QDir::cleanPath(home) + QStringLiteral("/.cache") : QString();
}

QString lockIn(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name + QStringLiteral(".lock");
}

} // namespace

InstanceLock::InstanceLock(const QString &name) : m_name(name) {}

QString InstanceLock::runtimeFolder(QString *why)
{
    QString runtimeWhy;
    const QString runtime = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (QDir::isAbsolutePath(runtime) && isPrivate(runtime, &runtimeWhy))
        return QDir::cleanPath(runtime);

    QString reason;
    const QString cache = cacheFolder();
    if (cache.isEmpty()) {
        reason = QStringLiteral("There is no home folder.");
    } else if (QDir().mkpath(cache) && isSafeParent(cache, &reason)) {
        const QString folder = cache + QLatin1Char('/') + kFallbackName;
        // Made private from the start; one we made earlier that has lost its
        // mode is put right, one of another user's is refused.
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
            reason = QStringLiteral("%1 cannot be made (%2).").arg(folder, QString::fromLocal8Bit(strerror(errno)));
        } else {
            struct stat st {};
            if (::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode)
                && st.st_uid == ::geteuid() && (st.st_mode & 077))
                ::chmod(QFile::encodeName(folder).constData(), 0700);
            if (isPrivate(folder, &reason))
                return folder;
        }
    } else if (reason.isEmpty()) {
        reason = QStringLiteral("%1 cannot be made.").arg(cache);
    }
    if (why)
        *why = reason;
    return QString();
}

QString InstanceLock::lockPath(const QString &name) { return lockIn(runtimeFolder(), name); }

bool InstanceLock::tryLock(int timeoutMs)
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_error.clear();
    m_lock.reset();
    QString why;
    const QString folder = runtimeFolder(&why);
    if (folder.isEmpty()) {
        m_error = QStringLiteral("There is no private folder for its lock: ") + why;
        return false;
    }
    m_lock = std::make_unique<QLockFile>(lockIn(folder, m_name));
    // Never stale by age: a copy that runs for days keeps its lock.  A lock left by
    // a copy that has died is still taken over, since its process is gone.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(timeoutMs))
        return true;
    if (m_lock->error() != QLockFile::LockFailedError)
        m_error = QStringLiteral("Its lock %1 cannot be made.").arg(m_lock->fileName());
    return false;
}

void InstanceLock::release()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}
