// The notification-area icon on the real window: its clicks, its menu with
// the artists of the moment, showing and hiding the window, and a desktop
// without a notification area.
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

// The window of a library with two artists, shown, with a notification area
// as given, questions and file dialogs answered by the test.
struct CTrayWindow {
    explicit CTrayWindow(bool trayAvailable, int hideWhenMin = 1) : tray(trayAvailable) {
        SetFileDialogs(&dialogs);
        CMusicList entries;
        entries.AddTail(MakeEntry("周末", "陈奕迅", "/music", "a.m3u", {}));
        entries.AddTail(MakeEntry("Party", "DJ", "/music", "b.m3u", {}));
        library.Write(entries, {}, [hideWhenMin](CAppConfig& config) {
            config.IsHideWhenMin = hideWhenMin;
            config.IsExitAlert = 1;
        });
        owned = std::make_unique<CMainFrame>();
        frame = owned.get();
        frame->resize(800, 600);
        frame->show();
        ok = QTest::qWaitForWindowExposed(frame);
    }
    ~CTrayWindow() { SetFileDialogs(nullptr); }

    CSystemTray& Tray() { return *frame->m_TrayIcon; }
    void Minimise() { frame->setWindowState(frame->windowState() | Qt::WindowMinimized); }
    QStringList EnabledTrayCommands() {
        QStringList enabled;
        for (int id : {ID_SHOW_WINDOW, ID_HIDE_WINDOW, ID_CANCEL_POPUP}) {
            if (frame->IsCommandEnabled(id)) {
                enabled << CommandText(id);
            }
        }
        return enabled;
    }
    // Opens the tray menu and reads it: the items, "-" for a separator, and
    // the artist submenu's items in brackets.
    QStringList OpenMenu() {
        QMenu* menu = Tray().Menu();
        menu->popup(QPoint(10, 10));
        QStringList items;
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        for (QAction* action : CMainFrame::ArtistSubmenu(menu)->actions()) {
            items << "[" + action->text() + "]";
        }
        return items;
    }

    CTrayAvailability tray;
    CScopedRecordingPlatform recording;
    CScriptedFileDialogs dialogs;
    CGuiLibrary library;
    std::unique_ptr<CMainFrame> owned;
    CMainFrame* frame = nullptr;
    bool ok = false;
};

} // namespace

class SystemTrayTest : public QObject {
    Q_OBJECT
private slots:
    void OnlyADoubleClickOnThisIconRestoresTheWindow();
    void ShowAndHideFollowTheWindowAndTheTray();
    void MenuListsTheArtistsOfTheMomentAndRestoresForCommands();
    void CancelPopupOnlyClosesTheMenu();
    void IconFollowsTheNotificationAreaAndTheWindow();
};

void SystemTrayTest::OnlyADoubleClickOnThisIconRestoresTheWindow() {
    CTrayWindow window(true);
    QVERIFY(window.ok);
    window.Minimise();
    QTRY_VERIFY(window.frame->isHidden());
    QCOMPARE(window.frame->m_bMinimized, 1);
    const struct {
        int iconId;
        QSystemTrayIcon::ActivationReason reason;
        int result;
        bool hidden;
    } cases[] = {
        {IDR_TRAY + 1, QSystemTrayIcon::DoubleClick, 0, true},
        {IDR_TRAY, QSystemTrayIcon::Trigger, 1, true},
        {IDR_TRAY, QSystemTrayIcon::MiddleClick, 1, true},
        {IDR_TRAY, QSystemTrayIcon::Context, 1, true},
        {IDR_TRAY, QSystemTrayIcon::Unknown, 1, true},
        {IDR_TRAY, QSystemTrayIcon::DoubleClick, 1, false},
    };
    for (const auto& c : cases) {
        const QByteArray row =
            QByteArray::number(c.iconId) + " reason " + QByteArray::number(c.reason);
        QVERIFY2(window.Tray().OnTrayNotification(c.iconId, c.reason) == c.result, row);
        QVERIFY2(window.frame->isHidden() == c.hidden, row);
    }
    QVERIFY(!window.frame->isMinimized());
    QCOMPARE(window.frame->m_bMinimized, 0);
}

void SystemTrayTest::ShowAndHideFollowTheWindowAndTheTray() {
    const QStringList all = {"显示主界面", "隐藏主界面", "取消弹出"};
    const struct {
        bool trayAvailable;
        const char* state;
        QStringList enabled;
    } cases[] = {
        {true, "shown", {"隐藏主界面", "取消弹出"}},
        {true, "hidden", {"显示主界面", "取消弹出"}},
        {true, "minimised", all}, // IsHideWhenMin off: still on the task bar
        {false, "shown", {}},
        {false, "minimised", {}},
    };
    for (const auto& c : cases) {
        CTrayWindow window(c.trayAvailable, 0);
        QVERIFY(window.ok);
        if (QByteArray(c.state) == "hidden") {
            window.frame->hide();
        } else if (QByteArray(c.state) == "minimised") {
            window.Minimise();
            QTRY_COMPARE(window.frame->m_bMinimized, 1);
        }
        QVERIFY2(window.frame->isHidden() == (QByteArray(c.state) == "hidden"), c.state);
        QCOMPARE(window.EnabledTrayCommands(), c.enabled);
        if (c.enabled.contains("显示主界面")) {
            QVERIFY(window.frame->ExecuteCommand(ID_SHOW_WINDOW));
            QVERIFY2(window.frame->isVisible() && !window.frame->isMinimized(), c.state);
        }
    }
}

void SystemTrayTest::MenuListsTheArtistsOfTheMomentAndRestoresForCommands() {
    CTrayWindow window(true);
    QVERIFY(window.ok);
    QCOMPARE(
        window.OpenMenu(),
        QStringList({"显示主界面", "隐藏主界面", "取消弹出", "-", "随机播放曲目", "随机播放音乐",
                     "随机播放艺术家", "-", "从文件夹导入音乐..", "导入音乐单..", "-", "功能设置..",
                     "帮助", "-", "退出..", "[DJ]", "[陈奕迅]", "[<未命名>]"}));
    QMenu* menu = window.Tray().Menu();
    QCOMPARE(menu->defaultAction(), menu->actions().at(0));
    menu->hide();

    // A list imported from the tray while the window sits hidden in it.
    CMusicList imported;
    imported.AddTail(MakeEntry("老歌", "邓丽君", "/music", "c.m3u", {}));
    imported.AddTail(MakeEntry("红豆", "王菲", "/music", "d.m3u", {}));
    const std::string listPath = window.library.Path("new.stp");
    QVERIFY(WriteMusicListFile(listPath, imported));
    window.dialogs.answers.push_back(QString::fromStdString(listPath));
    QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));
    menu->actions().at(9)->trigger();
    QVERIFY(window.frame->isVisible());
    QCOMPARE(window.OpenMenu().mid(15), QStringList({"[邓丽君]", "[王菲]", "[<未命名>]"}));
    menu->hide();

    // The other commands that bring a hidden window back before they ask.
    const struct {
        int commandId;
        bool dialog;
    } commands[] = {{ID_IMPORT_FOLDER, false}, {ID_SETTINGS, true}, {ID_APP_EXIT, true}};
    for (const auto& c : commands) {
        QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));
        if (c.dialog) {
            WhenShown<QDialog>([](QDialog* shown) { shown->reject(); });
        }
        QVERIFY2(window.frame->ExecuteCommand(c.commandId), qPrintable(CommandText(c.commandId)));
        QVERIFY2(window.frame->isVisible(), qPrintable(CommandText(c.commandId)));
    }
}

void SystemTrayTest::CancelPopupOnlyClosesTheMenu() {
    CTrayWindow window(true);
    QVERIFY(window.ok);
    window.OpenMenu();
    QMenu* menu = window.Tray().Menu();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction* cancel = menu->actions().at(2);
    QCOMPARE(cancel->data().toInt(), int(ID_CANCEL_POPUP));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(cancel).center());
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(window.frame->isVisible());
    QCOMPARE(window.frame->m_bMinimized, 0);
    QVERIFY(window.recording.platform.messages.empty());
}

void SystemTrayTest::IconFollowsTheNotificationAreaAndTheWindow() {
    CTrayWindow window(false);
    QVERIFY(window.ok);
    QCOMPARE(window.Tray().enabled, 0);
    QVERIFY(!window.Tray().Icon()->isVisible());
    // Minimising never hides a window that no icon could bring back.
    window.Minimise();
    QTRY_COMPARE(window.frame->m_bMinimized, 1);
    QTest::qWait(20);
    QVERIFY(!window.frame->isHidden());

    window.tray.Set(true);
    window.Tray().CheckAvailability();
    QCOMPARE(window.Tray().enabled, 1);
    QVERIFY(window.Tray().Icon()->isVisible());
    QCOMPARE(window.Tray().Icon()->toolTip(),
             QStringLiteral("鸣蛩 一切音乐尽在掌握中! 请点击右键"));
    QVERIFY(!window.Tray().Icon()->icon().isNull());
    QVERIFY(window.frame->ExecuteCommand(ID_HIDE_WINDOW));

    // The panel goes away: the hidden window comes back rather than be lost.
    window.tray.Set(false);
    window.Tray().CheckAvailability();
    QCOMPARE(window.Tray().enabled, 0);
    QVERIFY(window.frame->isVisible());

    window.tray.Set(true);
    window.Tray().CheckAvailability();
    window.frame->m_pManager->config.IsExitAlert = 0;
    QVERIFY(window.frame->close());
    QCOMPARE(window.Tray().enabled, 0);
    QVERIFY(!window.Tray().Icon()->isVisible());
    window.Tray().CheckAvailability();
    QVERIFY(!window.Tray().Icon()->isVisible());
}

QTEST_MAIN(SystemTrayTest)
#include "SystemTrayTest.moc"
