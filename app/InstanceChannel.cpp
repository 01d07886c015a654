#include "app/InstanceChannel.h"

#include "app/TunecaseApp.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

// A request is a version number and a QStringList; anything longer than this
// is not one of ours and is dropped unread.
const qint64 kMaxRequestBytes = 1 << 20;
const quint32 kRequestVersion = 1;
const char kReceived = 'y';
const int kSendTimeoutMs = 5000;
const int kRetryMs = 100;

} // namespace

QString InstanceSocketPath() {
    const QFileInfo lock(InstanceLockPath());
    return lock.dir().filePath(QStringLiteral("cricklet-PreventSecondInstance.socket"));
}

CInstanceServer::CInstanceServer(QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceServer::OnNewConnection);
}

bool CInstanceServer::Listen(const QString& path) {
    if (m_server->listen(path)) {
        return true;
    }
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

void CInstanceServer::OnNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequest(socket); });
    }
}

void CInstanceServer::ReadRequest(QLocalSocket* socket) {
    if (socket->bytesAvailable() > kMaxRequestBytes) {
        socket->abort();
        return;
    }
    QDataStream stream(socket);
    stream.setVersion(QDataStream::Qt_6_0);
    stream.startTransaction();
    quint32 version = 0;
    QStringList paths;
    stream >> version >> paths;
    if (!stream.commitTransaction()) {
        if (stream.status() != QDataStream::ReadPastEnd) {
            socket->abort(); // malformed: not a request of this program
        }
        return; // the rest is still on its way
    }
    if (version != kRequestVersion) {
        socket->abort();
        return;
    }
    // Confirmed before the paths are added: adding may ask the user things,
    // and the second copy should not wait for that. The socket is let go
    // here, at this level of the event loop: a dialog's nested loop must not
    // delete it while its own signal is still being delivered.
    socket->write(&kReceived, 1);
    socket->flush();
    socket->disconnect(this);
    disconnect(socket, &QLocalSocket::disconnected, socket, nullptr);
    socket->deleteLater();
    emit PathsReceived(paths);
}

bool SendToRunningCopy(const QString& path, const QStringList& paths) {
    const QDeadlineTimer deadline(kSendTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    while (!socket.waitForConnected(kRetryMs)) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(kRetryMs);
        socket.abort();
        socket.connectToServer(path);
    }
    QDataStream stream(&socket);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << kRequestVersion << paths;
    socket.flush();
    if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(int(deadline.remainingTime()))) {
        return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime()))) {
            return false;
        }
    }
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kReceived;
}
