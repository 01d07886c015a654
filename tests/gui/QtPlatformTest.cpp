// The Qt platform and the frame's import calls, both used from the import
// worker's thread: everything they show happens on the user-interface
// thread, in the order it was asked for.
#include "GuiHelpers.h"

#include "app/MainFrame.h"
#include "app/QtPlatform.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"

#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <thread>

class QtPlatformTest : public QObject {
    Q_OBJECT
private slots:
    void WorkerMessagesOpenOnTheUiThread();
    void ImportRowsShowTheTextsOfTheirMoment();
};

void QtPlatformTest::WorkerMessagesOpenOnTheUiThread() {
    CQtPlatform platform;
    QString shownText;
    QString shownCaption;
    bool onUiThread = false;
    // Closes the box once it is open, answering Cancel.
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            shownText = box->text();
            shownCaption = box->windowTitle();
            onUiThread = QThread::currentThread() == qApp->thread();
            box->done(QMessageBox::Cancel);
        }
    });
    closer.start(20);

    std::atomic<bool> done{false};
    CAnswer answer = CAnswer::Ok;
    std::thread worker([&] {
        answer = platform.AskOkCancel("确定要移去吗?", "Cricklet");
        done = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
    worker.join();
    QCOMPARE(shownText, QStringLiteral("确定要移去吗?"));
    QCOMPARE(shownCaption, QStringLiteral("Cricklet"));
    QVERIFY(onUiThread);
    QVERIFY(answer == CAnswer::Cancel);
}

void QtPlatformTest::ImportRowsShowTheTextsOfTheirMoment() {
    CGuiLibrary library;
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    CMusicManager* manager = frame.m_pManager;
    frame.ClearPanes(1);
    frame.m_bImportFinished = false;

    auto song = MakeSong("十年", "陈奕迅", 205, 0, "/music", "十年.mp3", 2960384);
    auto entry = MakeEntry("新专辑", "陈奕迅", "/music", "/music", {song});
    std::thread worker([&] {
        manager->songs.AddTail(song);
        manager->entries.AddTail(entry);
        frame.ImportInsertSongRow(song, 0);
        frame.ImportInsertEntryRow(entry, 1);
        frame.ImportShowProgress("/music", "十年.mp3");
        frame.ImportCloseDialog(1010);
        // The worker goes on changing its records after handing them over.
        song->title = "改了";
        entry->title = "改了";
    });
    worker.join();
    QVERIFY(!frame.m_bImportFinished);
    QTRY_VERIFY(frame.m_bImportFinished);
    QCOMPARE(RowTexts(frame.GetPlayListPane(), 1),
             QStringList({"新专辑", "文件夹", "陈奕迅", "N/A", "1", "03:25", "0", "/music"}));
    QCOMPARE(frame.GetPlayListPane()->ItemImage(1), 3);
    QCOMPARE(frame.GetSongPane()->ItemText(0, 0), QStringLiteral("十年"));
    QCOMPARE(frame.GetSongPane()->ItemText(0, 4), QString());
    // A later refill shows the records as they are now.
    frame.RefillPanes();
    QCOMPARE(frame.GetPlayListPane()->ItemText(1, 0), QStringLiteral("改了"));
}

QTEST_MAIN(QtPlatformTest)
#include "QtPlatformTest.moc"
