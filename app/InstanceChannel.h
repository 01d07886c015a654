// The line between two copies of the program of one user: the running copy
// listens on a local socket beside its instance lock; a second copy hands it
// the files and folders of its command line (none: just come to the front)
// and ends.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// The per-user socket, in the same runtime folder as the instance lock.
QString InstanceSocketPath();

class CInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit CInstanceServer(QObject* parent = nullptr);

    // Listens on path, replacing a socket that a crashed copy left behind
    // (the caller holds the instance lock, so no living copy owns it).
    bool Listen(const QString& path);

signals:
    // A second copy asked to be shown; paths may be empty.
    void PathsReceived(const QStringList& paths);

private:
    void OnNewConnection();
    void ReadRequest(QLocalSocket* socket);

    QLocalServer* m_server = nullptr;
};

// The bytes that ask the running copy to add the paths.
QByteArray InstanceRequest(const QStringList& paths);

// Hands the absolute paths to the copy listening on path. Waits a few
// seconds at most, for a copy that holds the lock but is still starting;
// true once that copy has confirmed it received them.
bool SendToRunningCopy(const QString& path, const QStringList& paths);
