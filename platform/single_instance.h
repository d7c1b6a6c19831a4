#pragma once
// One running copy of a program per user: a lock file in the user's runtime folder.

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock {
public:
    // `name` is the program's own (each of the two programs has one).
    explicit InstanceLock(const QString &name);
    // True when no other copy holds the lock (or lets go of it within
    // `timeoutMs`); this copy then holds it until released.
    bool tryLock(int timeoutMs = 0);
    void release();
    static QString lockPath(const QString &name);
    // The user's own runtime folder, where the locks and the programs' sockets live.
    static QString runtimeFolder();

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
};
