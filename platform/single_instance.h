#pragma once
// One running copy of a program per user: a lock file in the user's runtime folder.

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock {
public:
    // `name` is the program's own (each of the two programs has one).
    explicit InstanceLock(const QString &name);
    // True when no other copy holds the lock; this copy then holds it until released.
    bool tryLock();
    void release();
    static QString lockPath(const QString &name);

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
};
