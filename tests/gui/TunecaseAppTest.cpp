// The program itself, started as its own process in a working folder: a
// termination signal saves the library before it ends.
#include "support/TempDir.h"

#include <QProcess>
#include <QtTest>

#include <csignal>

class TunecaseAppTest : public QObject {
    Q_OBJECT
private slots:
    void SavesTheLibraryOnTerminationSignals_data();
    void SavesTheLibraryOnTerminationSignals();
};

void TunecaseAppTest::SavesTheLibraryOnTerminationSignals_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TunecaseAppTest::SavesTheLibraryOnTerminationSignals() {
    QFETCH(int, signalNumber);
    CTempDir work;
    CTempDir runtime;
    const std::string list = "number = 1;\n"; // replaced by a whole store file
    work.Write("PlayList.stp", list);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // A runtime folder of its own: another copy elsewhere holds no lock here.
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(CRICKLET_APP_PATH),
                  {QStringLiteral("--dir"), QString::fromStdString(work.Path())});
    QVERIFY(program.waitForStarted());
    const QString lock =
        QString::fromStdString(runtime.File("cricklet-PreventSecondInstance.lock"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 20000);

    ::kill(static_cast<pid_t>(program.processId()), signalNumber);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(work.Read("Cricklet.ini").find("WorkDirectory") != std::string::npos);
    QVERIFY(work.Read("PlayList.stp") != list);
    QVERIFY(!work.Read("MusicList.ckp").empty());
    QVERIFY(!QFile::exists(lock));
}

QTEST_MAIN(TunecaseAppTest)
#include "TunecaseAppTest.moc"
