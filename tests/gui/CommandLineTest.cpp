// The window program's command line and the choice of its working folder.
#include "app/CommandLine.h"
#include "support/TempDir.h"

#include <QDir>
#include <QtTest>

#include <sys/stat.h>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void ParsesOptionsAndPaths_data();
    void ParsesOptionsAndPaths();
    void WorkFolderFollowsXdgDataHome_data();
    void WorkFolderFollowsXdgDataHome();
    void EntersOnlyAFolderItMayUse();
    void RelativePathsMeanTheStartFolder();
};

void CommandLineTest::ParsesOptionsAndPaths_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("paths");
    const int run = CCommandLine::Run;
    const int invalid = CCommandLine::Invalid;
    QTest::newRow("nothing") << QStringList{} << run << "" << QStringList{};
    QTest::newRow("a file") << QStringList{"精选.m3u"} << run << "" << QStringList{"精选.m3u"};
    QTest::newRow("dir and files")
        << QStringList{"a.mp3", "--dir", "/lib", "b"} << run << "/lib" << QStringList{"a.mp3", "b"};
    QTest::newRow("dir=") << QStringList{"--dir=/usb/音乐"} << run << "/usb/音乐" << QStringList{};
    QTest::newRow("help wins") << QStringList{"x", "--help", "--bad"} << int(CCommandLine::Help)
                               << "" << QStringList{"x"};
    QTest::newRow("version") << QStringList{"--version"} << int(CCommandLine::Version) << ""
                             << QStringList{};
    QTest::newRow("single dash is a name")
        << QStringList{"-x.mp3"} << run << "" << QStringList{"-x.mp3"};
    QTest::newRow("after --") << QStringList{"--", "--help", "--dir"} << run << ""
                              << QStringList{"--help", "--dir"};
    QTest::newRow("dir without folder") << QStringList{"--dir"} << invalid << "" << QStringList{};
    QTest::newRow("dir= empty") << QStringList{"--dir="} << invalid << "" << QStringList{};
    QTest::newRow("unknown") << QStringList{"--verbose"} << invalid << "" << QStringList{};
}

void CommandLineTest::ParsesOptionsAndPaths() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, folder);
    QFETCH(QStringList, paths);
    arguments.prepend(QStringLiteral("cricklet"));
    const CCommandLine line = ParseCommandLine(arguments);
    QCOMPARE(int(line.action), action);
    if (action == CCommandLine::Invalid) {
        QVERIFY(!line.error.isEmpty());
        return;
    }
    QCOMPARE(line.folder, folder);
    if (action == CCommandLine::Run) {
        QCOMPARE(line.paths, paths);
    }
}

void CommandLineTest::WorkFolderFollowsXdgDataHome_data() {
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("expected");
    const QString fallback = QDir::homePath() + "/.local/share/cricklet";
    QTest::newRow("absolute") << true << "/data/me/"
                              << "/data/me/cricklet";
    QTest::newRow("unset") << false << "" << fallback;
    QTest::newRow("empty") << true << "" << fallback;
    QTest::newRow("relative is ignored") << true << "data" << fallback;
}

void CommandLineTest::WorkFolderFollowsXdgDataHome() {
    QFETCH(bool, set);
    QFETCH(QString, dataHome);
    QFETCH(QString, expected);
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    const bool hadOld = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    if (set) {
        qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
    const QString folder = DefaultWorkFolder();
    if (hadOld) {
        qputenv("XDG_DATA_HOME", old);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
    QCOMPARE(folder, expected);
}

void CommandLineTest::EntersOnlyAFolderItMayUse() {
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
        {"missing own folder is made", root + "/share/cricklet", true, true},
        {"existing folder", root, false, true},
        {"a file in the way", root + "/file/cricklet", true, false},
    };
    for (const auto& c : cases) {
        QString error;
        QDir::setCurrent(previous);
        QCOMPARE(EnterWorkFolder(c.folder, c.create, error), c.entered);
        QVERIFY2(c.entered ? QDir::currentPath() == c.folder : !error.isEmpty(), c.name);
        QVERIFY2(c.entered || QDir::currentPath() == previous, c.name);
    }
    QDir::setCurrent(previous);
    QVERIFY(!QFileInfo::exists(root + "/usb"));
}

void CommandLineTest::RelativePathsMeanTheStartFolder() {
    CTempDir dir;
    const QString previous = QDir::currentPath();
    const QString root = QDir(QString::fromStdString(dir.Path())).canonicalPath();
    QDir::setCurrent(root);
    const QStringList paths = AbsolutePaths({"精选.m3u", "sub/../a b.mp3", "/music/x.mp3", "."});
    QDir::setCurrent(previous);
    QCOMPARE(paths, QStringList({root + "/精选.m3u", root + "/a b.mp3", "/music/x.mp3", root}));
}

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
