// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int LongestRequest = 16;
constexpr int PatienceMilliseconds = 2000;

const QByteArray Yes = QByteArrayLiteral("ok\n");
const QByteArray No = QByteArrayLiteral("refused\n");

QByteArray requestLine(InstanceChannel::Request request)
{
    return request == InstanceChannel::Request::Raise ? QByteArrayLiteral("raise\n")
                                                      : QByteArrayLiteral("replace\n");
}

// The socket's permissions already keep others out where it lives in the
// user's runtime folder; the peer's own word settles it anywhere.
bool fromThisUser(const QLocalSocket *socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                        &size) == 0 &&
           peer.uid == ::getuid();
}

} // namespace

InstanceChannel::InstanceChannel(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_path(socketPath(folder))
    , m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            answer(socket);
    });
}

QString InstanceChannel::socketPath(const QString &folder)
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    const QByteArray name = QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(16);
    return runtime + QStringLiteral("/katalog-") + QString::fromLatin1(name);
}

bool InstanceChannel::listen()
{
    // Only the lock's holder gets here: a socket there is a dead panel's.
    QLocalServer::removeServer(m_path);
    return m_server->listen(m_path);
}

void InstanceChannel::answer(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A caller that says nothing is not waited for.
    QTimer::singleShot(PatienceMilliseconds, socket, &QLocalSocket::abort);
    const auto read = [this, socket] {
        if (!socket->canReadLine() && socket->bytesAvailable() < LongestRequest)
            return;
        const QByteArray line = socket->readLine(LongestRequest + 1);
        const bool raise = line == requestLine(Request::Raise);
        const bool replace = line == requestLine(Request::Replace);
        if (!fromThisUser(socket) || !(raise || replace)) {
            socket->write(No);
            socket->disconnectFromServer();
            return;
        }
        socket->write(Yes);
        socket->flush();
        socket->disconnectFromServer();
        raise ? Q_EMIT raiseRequested() : Q_EMIT replaceRequested();
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    read();
}

bool InstanceChannel::ask(const QString &folder, Request request, int milliseconds)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath(folder));
    if (!socket.waitForConnected(milliseconds))
        return false;
    socket.write(requestLine(request));
    if (!socket.waitForBytesWritten(milliseconds))
        return false;
    while (!socket.canReadLine() && socket.waitForReadyRead(milliseconds)) {
    }
    return socket.readLine() == Yes;
}
