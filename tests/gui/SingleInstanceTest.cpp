// One copy of the program per user: a second copy hands its files to the
// running one and ends; the running copy's socket ignores anything that is
// not such a request.
#include "app/InstanceChannel.h"
#include "support/TempDir.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void SecondCopyHandsItsFileToTheRunningCopy();
    void ServerIgnoresWhatIsNotARequest();
};

namespace {

QProcessEnvironment ProgramEnvironment(const CTempDir& home, const CTempDir& runtime) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", QString::fromStdString(home.Path()));
    environment.remove("XDG_DATA_HOME");
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
    return environment;
}

// A request with its version number (bytes 4 to 7) changed.
QByteArray WithVersion(QByteArray request, char version) {
    request[7] = version;
    return request;
}

} // namespace

// The file is named relative to the second copy's folder, which the running
// copy, working elsewhere, has never seen.
void SingleInstanceTest::SecondCopyHandsItsFileToTheRunningCopy() {
    CTempDir home;
    CTempDir runtime;
    CTempDir work;
    CTempDir start;
    start.Write("精选.m3u", "#EXTM3U\n#EXTINF:10,夜曲\n夜曲.mid\n");
    start.Write("夜曲.mid", std::string("MThd") + std::string(400, '\0'));

    QProcess first;
    first.setProcessEnvironment(ProgramEnvironment(home, runtime));
    first.start(CRICKLET_APP_PATH, {"--dir", QString::fromStdString(work.Path())});
    QVERIFY(first.waitForStarted());
    const QString socket =
        QString::fromStdString(runtime.File("cricklet-PreventSecondInstance.socket"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);

    QProcess second;
    second.setProcessEnvironment(ProgramEnvironment(home, runtime));
    second.setWorkingDirectory(QString::fromStdString(start.Path()));
    second.start(CRICKLET_APP_PATH, {"精选.m3u"});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(20000));
    QVERIFY(work.Read("PlayList.stp").find("曲目标题 = 精选;") != std::string::npos);
    QVERIFY(work.Read("MusicList.ckp").find("音乐标题 = 夜曲;") != std::string::npos);
    // The second copy made no folder of its own and wrote nothing beside
    // the file it was given.
    QVERIFY(!QFileInfo::exists(QString::fromStdString(home.File(".local"))));
    QCOMPARE(QDir(QString::fromStdString(start.Path())).entryList(QDir::Files).size(), 2);
}

void SingleInstanceTest::ServerIgnoresWhatIsNotARequest() {
    CTempDir runtime;
    // What a copy that crashed left behind does not stop the next one.
    const QString path = QString::fromStdString(runtime.Write("socket", "stale"));
    CInstanceServer server;
    QVERIFY(server.Listen(path));
    QSignalSpy received(&server, &CInstanceServer::PathsReceived);
    const QByteArray valid = InstanceRequest({"/music/精选.m3u", "/music/晴天.mp3"});
    QByteArray huge = valid;
    huge[8] = '\x7f'; // a payload of some two thousand million bytes
    const struct {
        const char* name;
        QByteArray bytes;
        bool refused; // the server drops the line at once
    } cases[] = {
        {"text", QByteArray("open /etc/passwd\n").repeated(20), true},
        {"another version", WithVersion(valid, 2), true},
        {"length beyond any request", huge, true},
        {"cut short", valid.left(valid.size() - 3), false},
        {"header only", valid.left(12), false},
    };
    for (const auto& c : cases) {
        QLocalSocket client;
        client.connectToServer(path);
        QVERIFY2(client.waitForConnected(5000), c.name);
        client.write(c.bytes);
        client.flush();
        if (c.refused) {
            QTRY_VERIFY2_WITH_TIMEOUT(client.state() == QLocalSocket::UnconnectedState, c.name,
                                      5000);
        } else {
            client.disconnectFromServer();
        }
    }
    // The server still serves a real request, which confirms it.
    QLocalSocket client;
    client.connectToServer(path);
    QVERIFY(client.waitForConnected(5000));
    client.write(valid);
    QTRY_VERIFY_WITH_TIMEOUT(client.bytesAvailable() > 0, 5000);
    QCOMPARE(client.readAll(), QByteArray("y"));
    QCOMPARE(received.size(), 1);
    QCOMPARE(received[0][0].toStringList(), QStringList({"/music/精选.m3u", "/music/晴天.mp3"}));
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
