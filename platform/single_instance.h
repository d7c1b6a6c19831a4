#pragma once
// One running copy of a program per user: a lock file in the user's private
// runtime folder, which also holds the programs' sockets.

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock {
public:
    // `name` is the program's own (each of the two programs has one).
    explicit InstanceLock(const QString &name);
    // True when no other copy holds the lock (or lets go of it within
    // `timeoutMs`); this copy then holds it until released. False, with
    // error() saying why, when there is no private folder for the lock.
    bool tryLock(int timeoutMs = 0);
    void release();
    // Why the last tryLock() failed other than by another copy holding the lock;
    // "" when another copy holds it.
    QString error() const { return m_error; }

    // The lock's path; "" when there is no private folder.
    static QString lockPath(const QString &name);
    // The user's own runtime folder, where the locks and the programs' sockets
    // live: $XDG_RUNTIME_DIR when it is a folder of this user's that only this
    // user can open, else "zorbi-runtime" in the user's cache folder
    // ($XDG_CACHE_HOME, or ~/.cache), made private when missing. Never a shared
    // folder such as /tmp: another user's file there would pass for our lock.
    // "" when neither will do, with the reason in `why`.
    static QString runtimeFolder(QString *why = nullptr);

private:
    QString m_name;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
};
