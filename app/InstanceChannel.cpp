#include "app/InstanceChannel.h"

#include "app/TunecaseApp.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

// A request: the magic "CRKL", a version and the payload's length (each four
// bytes, big-endian), then the paths in UTF-8, each ended by a zero byte (a
// byte no path holds). Anything else is not one of ours and is dropped.
const QByteArray kMagic("CRKL");
const quint32 kRequestVersion = 1;
const int kHeaderBytes = 12;
const quint32 kMaxPayloadBytes = 1 << 20;
const char kReceived = 'y';
const int kSendTimeoutMs = 5000;
const int kRetryMs = 100;

quint32 ReadNumber(const QByteArray& bytes, int at) {
    quint32 number = 0;
    for (int i = 0; i < 4; ++i) {
        number = (number << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return number;
}

void AppendNumber(QByteArray& bytes, quint32 number) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.append(static_cast<char>((number >> shift) & 0xff));
    }
}

} // namespace

QByteArray InstanceRequest(const QStringList& paths) {
    QByteArray payload;
    for (const QString& path : paths) {
        payload += path.toUtf8();
        payload += '\0';
    }
    QByteArray request = kMagic;
    AppendNumber(request, kRequestVersion);
    AppendNumber(request, static_cast<quint32>(payload.size()));
    return request + payload;
}

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
    if (socket->bytesAvailable() < kHeaderBytes) {
        return; // the rest is still on its way
    }
    const QByteArray header = socket->peek(kHeaderBytes);
    const quint32 length = ReadNumber(header, 8);
    if (!header.startsWith(kMagic) || ReadNumber(header, 4) != kRequestVersion ||
        length > kMaxPayloadBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kHeaderBytes + qint64(length)) {
        return;
    }
    socket->skip(kHeaderBytes);
    const QByteArray payload = socket->read(length);
    QStringList paths;
    for (const QByteArray& path : payload.split('\0')) {
        if (!path.isEmpty()) {
            paths << QString::fromUtf8(path);
        }
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
    socket.write(InstanceRequest(paths));
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
