#include "platform/program_link.h"

#include "platform/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace proglink {

namespace {
const QByteArray kQuit = QByteArrayLiteral("quit\n");
}

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
    QLocalSocket socket;
    socket.connectToServer(path);
    const bool up = socket.waitForConnected(timeoutMs);
    socket.abort();
    return up;
}

bool postQuit(const QString &title)
{
    const QString path = socketPath(title);
    if (path.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kQuit);
    const bool sent = socket.waitForBytesWritten(1000) || socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return sent;
}

Listener::Listener(const QString &title, QObject *parent) : QObject(parent), m_title(title) {}

Listener::~Listener() { close(); }

bool Listener::listen()
{
    if (isListening())
        return true;
    const QString path = socketPath(m_title);
    if (path.isEmpty())
        return false;
    // The lock is ours, so a socket file still there was left by a copy that died.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            auto readLines = [this, peer] {
                while (peer->canReadLine()) {
                    if (peer->readLine() == kQuit)
                        emit quitRequested();
                }
            };
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, readLines);
            readLines(); // what came with the connection

        }
    });
    if (!m_server->listen(path)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    return true;
}

void Listener::close()
{
    if (!m_server)
        return;
    m_server->close();
    delete m_server;
    m_server = nullptr;
}

bool Listener::isListening() const { return m_server && m_server->isListening(); }

} // namespace proglink
