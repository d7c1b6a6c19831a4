#pragma once
// How one of our programs finds another that runs for the same user, and asks it
// to end: the running program listens on a local socket named after its title,
// in the user's own runtime folder; "running" means the socket answers, and the
// one message it understands is "quit".

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QSocketNotifier;

namespace proglink {

// The socket a program with this title listens on, in the runtime folder of
// InstanceLock; "" when there is no private folder for it.
QString socketPath(const QString &title);

// True when a program with this title answers within `timeoutMs`.
bool isRunning(const QString &title, int timeoutMs = 1000);

// Asks the program with this title to end, and returns as soon as the message is
// delivered, without waiting for the program to go. False when none answers.
bool postQuit(const QString &title);

// The listening end, in the program that has the title.
class Listener : public QObject {
    Q_OBJECT
public:
    explicit Listener(const QString &title, QObject *parent = nullptr);
    ~Listener() override;

    // Starts listening, taking over a socket left by a copy that died; call it
    // only while holding the program's single-instance lock. False when the
    // socket cannot be made.
    bool listen();
    void close();
    bool isListening() const;

signals:
    void quitRequested();

private:
    void acceptPeers();
    void readPeer(int fd);
    void dropPeer(int fd);

    QString m_title;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    struct Peer {
        QSocketNotifier *notifier;
        QByteArray pending; // what came after the last whole line
    };
    std::map<int, Peer> m_peers;
};

} // namespace proglink
