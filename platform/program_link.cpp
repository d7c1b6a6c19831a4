#include "platform/program_link.h"

#include "platform/single_instance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Plain local stream sockets: the two programs exchange one short line, and the
// network library Qt offers for this costs more to load at every start than
// the whole of this file does in a lifetime.

namespace proglink {

namespace {
const QByteArray kQuit = QByteArrayLiteral("quit\n");

// The socket's address; false when the path does not fit one.
bool addressOf(const QString &path, sockaddr_un *addr)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof addr->sun_path)
        return false;
    std::memcpy(addr->sun_path, name.constData(), size_t(name.size()));
    return true;
}

int newSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

// A connected socket to the program listening at `path`, or -1 when none
// answers within `timeoutMs`. A listener whose queue is full is tried again
// until the time is up; a path nobody listens on fails at once.
int connectTo(const QString &path, int timeoutMs)
{
    sockaddr_un addr;
    if (!addressOf(path, &addr))
        return -1;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const int fd = newSocket();
        if (fd < 0)
            return -1;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0)
            return fd;
        const int error = errno;
        ::close(fd);
        if ((error != EAGAIN && error != EINTR) || waited.elapsed() >= timeoutMs)
            return -1;
        QThread::msleep(10);
    }
}

// Writes all of `data`, waiting at most `timeoutMs` for room.
bool writeAll(int fd, const QByteArray &data, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + done, size_t(data.size() - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += n;
            continue;
        }
        if ((n < 0 && errno != EAGAIN && errno != EINTR) || waited.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}
} // namespace

QString socketPath(const QString &title)
{
    const QString folder = InstanceLock::runtimeFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + title + QStringLiteral(".socket");
}

bool isRunning(const QString &title, int timeoutMs)
{
    const QString path = socketPath(title);
    if (path.isEmpty())
        return false;
    const int fd = connectTo(path, timeoutMs);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool postQuit(const QString &title)
{
    const QString path = socketPath(title);
    if (path.isEmpty())
        return false;
    const int fd = connectTo(path, 1000);
    if (fd < 0)
        return false;
    const bool sent = writeAll(fd, kQuit, 1000);
    ::close(fd);
    return sent;
}

Listener::Listener(const QString &title, QObject *parent) : QObject(parent), m_title(title) {}

Listener::~Listener() { close(); }

bool Listener::listen()
{
    if (isListening())
        return true;
    const QString path = socketPath(m_title);
    sockaddr_un addr;
    if (path.isEmpty() || !addressOf(path, &addr))
        return false;
    const int fd = newSocket();
    if (fd < 0)
        return false;
    // The lock is ours, so a socket file still there was left by a copy that died.
    ::unlink(addr.sun_path);
    // Only this user may connect, whatever the folder's own rights.
    const mode_t was = ::umask(0177);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0;
    ::umask(was);
    if (!bound || ::listen(fd, 16) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Listener::acceptPeers);
    return true;
}

void Listener::acceptPeers()
{
    for (;;) {
        const int peer = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (peer < 0)
            return; // none left waiting (or the peer gave up)
        auto *notifier = new QSocketNotifier(qintptr(peer), QSocketNotifier::Read, this);
        m_peers[peer] = Peer{notifier, {}};
        connect(notifier, &QSocketNotifier::activated, this, [this, peer] { readPeer(peer); });
        readPeer(peer); // what came with the connection
    }
}

void Listener::readPeer(int fd)
{
    auto it = m_peers.find(fd);
    if (it == m_peers.end())
        return;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            QByteArray &pending = it->second.pending;
            pending.append(buffer, n);
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QByteArray line = pending.left(end + 1);
                pending.remove(0, end + 1);
                if (line == kQuit) {
                    const QPointer<Listener> self(this);
                    emit quitRequested();
                    if (!self)
                        return; // a handler ended the listener itself
                }
                // A handler may have closed us; nothing of this peer is left then.
                it = m_peers.find(fd);
                if (it == m_peers.end())
                    return;
            }
            // One line is all we ever expect: a peer that sends more without
            // an end of line is not one of ours.
            if (it->second.pending.size() > 4096) {
                dropPeer(fd);
                return;
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;   // the rest comes later
        dropPeer(fd); // the peer hung up, or the socket failed
        return;
    }
}

void Listener::dropPeer(int fd)
{
    auto it = m_peers.find(fd);
    if (it == m_peers.end())
        return;
    it->second.notifier->setEnabled(false);
    it->second.notifier->deleteLater();
    m_peers.erase(it);
    ::close(fd);
}

void Listener::close()
{
    while (!m_peers.empty())
        dropPeer(m_peers.begin()->first);
    if (m_fd < 0)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    // The socket file goes with the listener, as a program that ended leaves none.
    sockaddr_un addr;
    if (addressOf(socketPath(m_title), &addr))
        ::unlink(addr.sun_path);
}

bool Listener::isListening() const { return m_fd >= 0; }

} // namespace proglink
