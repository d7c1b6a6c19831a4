#include "platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString &name) : m_name(name) {}

QString InstanceLock::runtimeFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

QString InstanceLock::lockPath(const QString &name)
{
    return runtimeFolder() + QLatin1Char('/') + name + QStringLiteral(".lock");
}

bool InstanceLock::tryLock(int timeoutMs)
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(lockPath(m_name));
    // Never stale by age: a copy that runs for days keeps its lock.  A lock left by
    // a copy that has died is still taken over, since its process is gone.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(timeoutMs);
}

void InstanceLock::release()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}
