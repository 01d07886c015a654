// The window program's command line and the choice of its working folder.
#include "app/CommandLine.h"
#include "support/TempDir.h"

#include <QDir>
#include <QtTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void ParsesOptionsAndPaths();
    void WorkFolderFollowsXdgDataHome();
    void EntersOnlyAFolderItMayUse();
};

void CommandLineTest::ParsesOptionsAndPaths() {
    const int run = CCommandLine::Run;
    const int invalid = CCommandLine::Invalid;
    const struct {
        QStringList arguments;
        int action;
        QString folder;
        QStringList paths;
    } cases[] = {
        {{}, run, "", {}},
        {{"a.mp3", "--dir", "/lib", "精选.m3u"}, run, "/lib", {"a.mp3", "精选.m3u"}},
        {{"--dir=/usb/音乐"}, run, "/usb/音乐", {}},
        {{"x", "--help", "--bad"}, CCommandLine::Help, "", {"x"}},
        {{"--version"}, CCommandLine::Version, "", {}},
        {{"-x.mp3", "--", "--help", "--dir"}, run, "", {"-x.mp3", "--help", "--dir"}},
        {{"--dir"}, invalid, "", {}},
        {{"--dir="}, invalid, "", {}},
        {{"--verbose"}, invalid, "", {}},
    };
    for (const auto& c : cases) {
        const CCommandLine line = ParseCommandLine(QStringList("cricklet") + c.arguments);
        const QByteArray row = c.arguments.join(' ').toUtf8();
        QVERIFY2(int(line.action) == c.action, row);
        QVERIFY2(line.folder == c.folder, row);
        QVERIFY2(c.action != run || line.paths == c.paths, row);
        QVERIFY2((c.action == invalid) != line.error.isEmpty(), row);
    }
}

void CommandLineTest::WorkFolderFollowsXdgDataHome() {
    const QString fallback = QDir::homePath() + "/.local/share/cricklet";
    const struct {
        const char* dataHome; // null: unset
        QString expected;
    } cases[] = {{"/data/me/", "/data/me/cricklet"},
                 {nullptr, fallback},
                 {"", fallback},
                 {"data", fallback}};
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    const bool hadOld = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    for (const auto& c : cases) {
        c.dataHome ? qputenv("XDG_DATA_HOME", c.dataHome) : qunsetenv("XDG_DATA_HOME");
        QVERIFY2(DefaultWorkFolder() == c.expected, c.dataHome ? c.dataHome : "unset");
    }
    hadOld ? qputenv("XDG_DATA_HOME", old) : qunsetenv("XDG_DATA_HOME");
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
        QVERIFY2(EnterWorkFolder(c.folder, c.create, error) == c.entered, c.name);
        QVERIFY2(QDir::currentPath() == (c.entered ? c.folder : previous), c.name);
        QVERIFY2(c.entered || !error.isEmpty(), c.name);
    }
    QDir::setCurrent(previous);
    QVERIFY(!QFileInfo::exists(root + "/usb"));
}

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
