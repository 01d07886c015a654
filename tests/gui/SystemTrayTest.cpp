// The notification-area icon on the real window: its clicks, its menu with
// the artists of the moment, showing and hiding, and no notification area.
#include "desktop/SystemTray.h"
#include "GuiHelpers.h"
#include "TrayAvailability.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QtTest>

namespace {

// A shown window on a library of two artists; minimising hides it.
struct CTrayWindow {
    explicit CTrayWindow(bool trayAvailable) : tray(trayAvailable) {
        SetFileDialogs(&dialogs);
        CMusicList entries;
        entries.AddTail(MakeEntry("周末", "陈奕迅", "/music", "a.m3u", {}));
        entries.AddTail(MakeEntry("Party", "DJ", "/music", "b.m3u", {}));
        library.Write(entries, {}, [](CAppConfig& config) { config.IsHideWhenMin = 1; });
        frame = std::make_unique<CMainFrame>();
        frame->show();
    }
    ~CTrayWindow() { SetFileDialogs(nullptr); }
    CSystemTray& Tray() { return *frame->m_TrayIcon; }
    void Minimise() { frame->setWindowState(Qt::WindowMinimized); }
    // The artist items of the tray menu, opened now.
    QStringList OpenMenuArtists() {
        Tray().Menu()->popup(QPoint(10, 10));
        QStringList texts;
        for (QAction* action : CMainFrame::ArtistSubmenu(Tray().Menu())->actions()) {
            texts << action->text();
        }
        return texts;
    }

    CTrayAvailability tray;
    CScopedRecordingPlatform recording;
    CScriptedFileDialogs dialogs;
    CGuiLibrary library;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

class SystemTrayTest : public QObject {
    Q_OBJECT
private slots:
    void OnlyADoubleClickOnThisIconRestoresTheWindow();
    void ShowAndHideFollowTheWindowAndTheTray();
    void MenuListsTheArtistsOfTheMomentCancelsAndRestores();
    void WithoutNotificationAreaTheWindowStaysReachable();
    void OnlyClosingTheWindowEndsTheProgram();
};

void SystemTrayTest::OnlyADoubleClickOnThisIconRestoresTheWindow() {
    CTrayWindow window(true);
    window.Minimise();
    QTRY_VERIFY(window.frame->isHidden());
    const struct {
        int iconId;
        QSystemTrayIcon::ActivationReason reason;
        int result;
    } cases[] = {{IDR_TRAY + 1, QSystemTrayIcon::DoubleClick, 0},
                 {IDR_TRAY, QSystemTrayIcon::Trigger, 1},
                 {IDR_TRAY, QSystemTrayIcon::MiddleClick, 1},
                 {IDR_TRAY, QSystemTrayIcon::Context, 1},
                 {IDR_TRAY, QSystemTrayIcon::DoubleClick, 1}};
    for (const auto& c : cases) {
        const bool hidden = window.frame->isHidden();
        QVERIFY2(hidden && window.Tray().OnTrayNotification(c.iconId, c.reason) == c.result,
                 qPrintable(QString::number(c.reason)));
    }
    QVERIFY(window.frame->isVisible() && !window.frame->isMinimized());
    QCOMPARE(window.frame->m_bMinimized, 0);
}

void SystemTrayTest::ShowAndHideFollowTheWindowAndTheTray() {
    const struct {
        bool tray;
        Qt::WindowState state; // WindowNoState: hidden through the tray menu
        QList<bool> enabled;   // 显示主界面, 隐藏主界面, 取消弹出
    } cases[] = {{true, Qt::WindowActive, {false, true, true}},
                 {true, Qt::WindowNoState, {true, false, true}},
                 {false, Qt::WindowActive, {false, false, false}},
                 {false, Qt::WindowMinimized, {false, false, false}}};
    for (const auto& c : cases) {
        CTrayWindow window(c.tray);
        if (c.state == Qt::WindowNoState) {
            QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));
        } else if (c.state == Qt::WindowMinimized) {
            window.Minimise();
            QTRY_COMPARE(window.frame->m_bMinimized, 1);
            QTest::qWait(20);
        }
        QCOMPARE(window.frame->isVisible(), c.state != Qt::WindowNoState);
        QList<bool> enabled;
        for (int id : {ID_SHOW_WINDOW, ID_HIDE_WINDOW, ID_CANCEL_POPUP}) {
            enabled << window.frame->IsCommandEnabled(id);
        }
        QCOMPARE(enabled, c.enabled);
    }
}

void SystemTrayTest::MenuListsTheArtistsOfTheMomentCancelsAndRestores() {
    CTrayWindow window(true);
    QMenu* menu = window.Tray().Menu();
    QCOMPARE(window.OpenMenuArtists(), QStringList({"DJ", "陈奕迅", "<未命名>"}));
    QCOMPARE(menu->actions().size(), 15);
    QCOMPARE(menu->defaultAction(), menu->actions().at(0));
    // 取消弹出 only closes the menu.
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[2]).center());
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(window.frame->isVisible() && window.recording.platform.messages.empty());

    // A list imported through the tray menu while the window sits in the tray.
    CMusicList imported;
    imported.AddTail(MakeEntry("红豆", "王菲", "/music", "d.m3u", {}));
    QVERIFY(WriteMusicListFile(window.library.Path("new.stp"), imported));
    window.dialogs.answers.push_back(window.library.QPath("new.stp"));
    QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));
    menu->actions().at(9)->trigger();
    QVERIFY(window.frame->isVisible());
    QCOMPARE(window.OpenMenuArtists(), QStringList({"王菲", "<未命名>"}));
    menu->hide();

    for (int id : {ID_IMPORT_FOLDER, ID_SETTINGS, ID_APP_EXIT}) {
        QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));
        if (id != ID_IMPORT_FOLDER) {
            WhenShown<QDialog>([](QDialog* shown) { shown->reject(); });
        }
        QVERIFY(window.frame->ExecuteCommand(id));
        QVERIFY2(window.frame->isVisible(), qPrintable(CommandText(id)));
    }
}

void SystemTrayTest::WithoutNotificationAreaTheWindowStaysReachable() {
    CTrayWindow window(false);
    QVERIFY(!window.Tray().Icon()->isVisible());
    window.tray.Set(true);
    window.Tray().CheckAvailability();
    QVERIFY(window.Tray().Icon()->isVisible());
    QCOMPARE(window.Tray().Icon()->toolTip(),
             QStringLiteral("鸣蛩 一切音乐尽在掌握中! 请点击右键"));
    QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));
    // The panel ends: the hidden window comes back rather than be lost.
    window.tray.Set(false);
    window.Tray().CheckAvailability();
    QVERIFY(window.frame->isVisible() && !window.Tray().Icon()->isVisible());
}

void SystemTrayTest::OnlyClosingTheWindowEndsTheProgram() {
    CTrayWindow window(true);
    QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));
    window.frame->m_pManager->config.IsExitAlert = 0;
    QStringList steps;
    QDialog message;
    QObject pending;
    QTimer::singleShot(0, &pending, [&] { message.show(); });
    QTimer::singleShot(50, &pending, [&] { message.accept(); });
    QTimer::singleShot(300, &pending, [&] {
        steps << "running";
        window.frame->close();
    });
    QTimer::singleShot(3000, &pending, [&] {
        steps << "not ended";
        QApplication::exit(1);
    });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(steps, QStringList({"running"}));
    // The icon goes with the window for good.
    window.Tray().CheckAvailability();
    QVERIFY(!window.Tray().Icon()->isVisible());
}

QTEST_MAIN(SystemTrayTest)
#include "SystemTrayTest.moc"
