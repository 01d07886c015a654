// The program itself: its command line and working folder; started as its own process with its
// own HOME and runtime folder, a second copy hands its files to the running one and ends, and a
// termination signal saves the library; the socket ignores anything that is not such a request.
#include "app/CommandLine.h"
#include "app/InstanceChannel.h"
#include "app/TunecaseApp.h"
#include "support/TempDir.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>

class ProgramTest : public QObject {
    Q_OBJECT
private slots:
    void ParsesOptionsAndEntersOnlyAFolderItMayUse();
    void SecondCopyHandsOverItsFileAndTerminationSavesIt();
    void ServerIgnoresWhatIsNotARequest();
};

namespace {

// Folders of one run: HOME, XDG_RUNTIME_DIR (the lock and the socket) and the --dir folder.
struct CProgramFolders {
    CTempDir home;
    CTempDir runtime;
    CTempDir work;

    QString RuntimeFile(const char* suffix) const {
        return QString::fromStdString(runtime.File("cricklet-PreventSecondInstance")) + suffix;
    }
    void Start(QProcess& program, const QStringList& arguments) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", QString::fromStdString(home.Path()));
        environment.remove("XDG_DATA_HOME");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CRICKLET_APP_PATH), arguments);
    }
    // Starts the first copy in the working folder; true once it listens.
    bool StartFirst(QProcess& program) const {
        Start(program, {"--dir", QString::fromStdString(work.Path())});
        const QString socket = RuntimeFile(".socket");
        return program.waitForStarted() &&
               QTest::qWaitFor([&] { return QFile::exists(socket); }, 20000);
    }
};

} // namespace

void ProgramTest::ParsesOptionsAndEntersOnlyAFolderItMayUse() {
    // Arguments, then the action, the folder, the paths and whether an error is given.
    const std::pair<QString, QString> lines[] = {
        {"", "run|||"},
        {"a.mp3 --dir /lib 精选.m3u", "run|/lib|a.mp3,精选.m3u|"},
        {"--dir=/usb/音乐", "run|/usb/音乐||"},
        {"x --help --bad", "help||x|"},
        {"-x.mp3 -- --help --dir", "run||-x.mp3,--help,--dir|"},
        {"--dir", "invalid|||error"},
        {"--verbose", "invalid|||error"},
    };
    const char* actions[] = {"run", "help", "version", "invalid"};
    for (const auto& [arguments, expected] : lines) {
        const CCommandLine line =
            ParseCommandLine(QStringList("cricklet") + arguments.split(' ', Qt::SkipEmptyParts));
        const QStringList paths = line.action == CCommandLine::Invalid ? QStringList() : line.paths;
        QCOMPARE(QString("%1|%2|%3|%4")
                     .arg(actions[line.action], line.folder, paths.join(','),
                          line.error.isEmpty() ? "" : "error"),
                 expected);
    }

    CTempDir dir;
    dir.Write("file", "x");
    const QString root = QString::fromStdString(dir.Path());
    const QString previous = QDir::currentPath();
    const struct {
        const char* name;
        QString folder;
        bool create;
        bool entered;
    } cases[] = {
        {"missing --dir is not made", root + "/usb", false, false},
        {"existing folder", root, false, true},
        {"a file in the way", root + "/file/cricklet", true, false},
    };
    for (const auto& c : cases) {
        QString error;
        QDir::setCurrent(previous);
        QVERIFY2(EnterWorkFolder(c.folder, c.create, error) == c.entered, c.name);
        QVERIFY2(QDir::currentPath() == (c.entered ? c.folder : previous), c.name);
        QVERIFY2(c.entered || !error.isEmpty(), c.name);
    }
    QDir::setCurrent(previous);
    QVERIFY(!QFileInfo::exists(root + "/usb"));
    // The default folder follows XDG_DATA_HOME only when it is absolute.
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    const bool hadOld = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    QStringList folders;
    for (const char* dataHome : {"/data/me/", "", "data"}) {
        qputenv("XDG_DATA_HOME", dataHome);
        folders << DefaultWorkFolder();
    }
    hadOld ? qputenv("XDG_DATA_HOME", old) : qunsetenv("XDG_DATA_HOME");
    const QString fallback = QDir::homePath() + "/.local/share/cricklet";
    QCOMPARE(folders, QStringList({"/data/me/cricklet", fallback, fallback}));
}

// The file is named relative to the second copy's folder, which the running copy, working
// elsewhere, has never seen. Each exit signal's capture is the signal layer's own test; here
// SIGTERM stands for them.
void ProgramTest::SecondCopyHandsOverItsFileAndTerminationSavesIt() {
    CProgramFolders folders;
    CTempDir start;
    start.Write("精选.m3u", "#EXTM3U\n#EXTINF:10,夜曲\n夜曲.mid\n");
    start.Write("夜曲.mid", std::string("MThd") + std::string(400, '\0'));
    QProcess first;
    QVERIFY(folders.StartFirst(first));
    QVERIFY(QFile::exists(folders.RuntimeFile(".lock")));

    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(start.Path()));
    folders.Start(second, {"精选.m3u"});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(folders.work.Read("PlayList.stp").empty()); // written only at the end

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(20000));
    QVERIFY(folders.work.Read("PlayList.stp").find("曲目标题 = 精选;") != std::string::npos);
    QVERIFY(folders.work.Read("MusicList.ckp").find("音乐标题 = 夜曲;") != std::string::npos);
    QVERIFY(!QFile::exists(folders.RuntimeFile(".lock")));
    // The second copy made no folder of its own and wrote nothing beside its file.
    QVERIFY(!QFileInfo::exists(QString::fromStdString(folders.home.File(".local"))));
    QCOMPARE(QDir(QString::fromStdString(start.Path())).entryList(QDir::Files).size(), 2);
    // What a copy says when it can reach neither the lock nor the running copy.
    QCOMPARE(QString::fromUtf8(kAlreadyRunningText), QStringLiteral("鸣蛩(Cricklet) 已经运行了。"));
}

void ProgramTest::ServerIgnoresWhatIsNotARequest() {
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
        {"another version", QByteArray(valid).replace(7, 1, "\x02"), true},
        {"length beyond any request", huge, true},
        {"cut short", valid.left(valid.size() - 3), false},
        {"valid, confirmed", valid, false},
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
        } else if (c.bytes == valid) {
            // The server still serves a real request, which confirms it.
            QTRY_VERIFY_WITH_TIMEOUT(client.bytesAvailable() > 0, 5000);
            QCOMPARE(client.readAll(), QByteArray("y"));
        } else {
            client.disconnectFromServer();
        }
    }
    QCOMPARE(received.size(), 1);
    QCOMPARE(received[0][0].toStringList(), QStringList({"/music/精选.m3u", "/music/晴天.mp3"}));
}

QTEST_MAIN(ProgramTest)
#include "ProgramTest.moc"
