// The dialogs and the window's companions: the About box, the settings
// dialog alone and through the settings command, the eye-rest reminder and
// its timer, and the notification-area icon.
#include "GuiHelpers.h"

#include "app/AboutDlg.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/SettingsDlg.h"
#include "desktop/EyeReminder.h"
#include "desktop/HyperLinkLabel.h"
#include "desktop/SystemTray.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimerEvent>
#include <QtTest>

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void AboutBoxShowsItsTextAndLinks();
    void SettingsShowTheConfigurationAndWriteItBack();
    void OkIsRefusedUntilTheSettingsHold();
    void SettingsCommandRedrawsOnlyWhatChanged();
    void ReminderTakesAUsableIntervalAndClosesAsAsked();
    void TrayIconAndMenuRestoreTheWindowOnlyWhenAsked();
    void OnlyClosingTheWindowEndsTheProgram(); // last: it runs the event loop to its end
};

namespace {

// Decides for a test's scope whether the desktop has a notification area
// (the offscreen desktop has none); Set makes one come or go.
class CTrayAvailability {
public:
    explicit CTrayAvailability(bool available) : m_available(std::make_shared<bool>(available)) {
        CSystemTray::SetAvailabilityCheck([shared = m_available] { return *shared; });
    }
    ~CTrayAvailability() { CSystemTray::SetAvailabilityCheck(nullptr); }
    void Set(bool available) { *m_available = available; }

private:
    std::shared_ptr<bool> m_available;
};

// The named controls' states: 1 or 0 for boxes, the text of a line edit.
QString States(QWidget* dialog, std::initializer_list<const char*> names) {
    QStringList states;
    for (const char* name : names) {
        QWidget* control = dialog->findChild<QWidget*>(name);
        auto* edit = qobject_cast<QLineEdit*>(control);
        states << (edit ? edit->text()
                        : QString::number(qobject_cast<QAbstractButton*>(control)->isChecked()));
    }
    return states.join(' ');
}

// Changes given as "name=value": a box is clicked until it is checked for 1,
// an edit gets the text.
void Apply(QWidget* dialog, const QStringList& changes) {
    for (const QString& change : changes) {
        QWidget* control = dialog->findChild<QWidget*>(change.section('=', 0, 0));
        const QString value = change.section('=', 1);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(value);
        } else if (auto* box = qobject_cast<QAbstractButton*>(control);
                   box->isChecked() != (value == "1")) {
            box->click();
        }
    }
}

std::string TypeRows(const CAppConfig& config) {
    std::string text;
    for (const FileTypeEntry& row : config.fileTypes) {
        text += row.extension + "=" + std::to_string(row.enabled) + " ";
    }
    return text;
}

// The periods of the frame's timers that run in whole minutes.
QList<int> Periods(const CShownLibrary& shown) {
    QList<int> periods;
    for (const auto& timer :
         QAbstractEventDispatcher::instance()->registeredTimers(shown.frame.get())) {
        if (timer.interval % 60000 == 0) {
            periods << timer.interval;
        }
    }
    return periods;
}

bool ShowReminder(CShownLibrary& shown, int enable, int delay) {
    return shown.Show(CMusicList(), {}, [enable, delay](CAppConfig& config) {
        config.EnableEyeProtector = enable;
        config.DelayOfEyeProtector = delay;
        config.IsExitAlert = 0;
    });
}

void FireReminder(CShownLibrary& shown) {
    QTimerEvent event(shown.frame->m_nEyeTimerID);
    QCoreApplication::sendEvent(shown.frame.get(), &event);
}

int OpenReminders() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        count += qobject_cast<CEyeReminderDlg*>(widget) != nullptr && widget->isVisible();
    }
    return count;
}

// A shown window on a library of two artists; minimising hides it.
bool ShowTrayWindow(CShownLibrary& shown) {
    CMusicList entries;
    entries.AddTail(MakeEntry("周末", "陈奕迅", "/music", "a.m3u", {}));
    entries.AddTail(MakeEntry("Party", "DJ", "/music", "b.m3u", {}));
    return shown.Show(entries, {}, [](CAppConfig& config) { config.IsHideWhenMin = 1; });
}

} // namespace

void DialogsTest::AboutBoxShowsItsTextAndLinks() {
    CAboutDlg dialog;
    QVERIFY((dialog.windowTitle() + dialog.AboutText())
                .startsWith(QStringLiteral(
                    "关于 CrickletCricklet(鸣蛩)提供便捷的音乐管理,强大的曲目播放方式.\n"
                    "只需使用Cricklet，一切音乐尽在掌握中！\n\n")));
    QVERIFY(dialog.AboutText().contains(QStringLiteral("\n开发人员:")));
    QVERIFY(dialog.WebLabel()->IsLink() && dialog.MailLabel()->IsLink());
}

void DialogsTest::SettingsShowTheConfigurationAndWriteItBack() {
    CAppConfig config;
    config.SetDefaults();
    config.IsUseDefaultPlayer = 0;
    config.PlayerPath = "/usr/bin/audacious";
    config.IsImportDir = 0;
    config.IsExitAlert = 0;
    config.IconPlaylistID = 3;
    config.IconMusicID = 2;
    config.EnableEyeProtector = 1;
    config.DelayOfEyeProtector = 45;
    CScriptedFileDialogs dialogs; // the path is chosen with the browse button only
    dialogs.answers = {QString("/opt/player/bin/play")};
    SetFileDialogs(&dialogs);
    CSettingsDlg dialog;
    dialog.CopyFromConfig(config);
    QString shown;
    WhenShown<CSettingsDlg>([&shown](CSettingsDlg* settings) {
        shown = States(settings, {"useDefaultPlayer", "playerPath", "importDirs", "hideWhenMin",
                                  "exitAlert", "bugYellow", "musicLizard", "eyeProtector",
                                  "eyeDelay", "type_mp3", "type_mid", "type_wav", "type_flac",
                                  "type_ogg", "type_opus", "type_m4a", "type_ape", "type_wv"});
        Apply(settings, {"importDirs=1", "bugGreen=1", "musicNote=1", "type_wav=1", "type_mp3=0",
                         "eyeDelay=90", "type_opus=1", "type_flac=1"});
        settings->findChild<QPushButton*>("browse")->click();
        settings->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    SetFileDialogs(nullptr);
    QCOMPARE(dialogs.requests.at(0).startFolder + "|" + dialogs.requests[0].filter,
             QString("/usr/bin|播放器程序 (*)"));
    QCOMPARE(shown, QString("0 /usr/bin/audacious 0 1 0 1 1 1 45 1 1 0 0 0 0 0 0 0"));
    dialog.CopyToConfig(config);
    QCOMPARE(QList<int>({config.IsImportDir, config.IconPlaylistID, config.IconMusicID,
                         config.DelayOfEyeProtector, config.EnableEyeProtector}),
             QList<int>({1, 2, 1, 90, 1}));
    QCOMPARE(config.PlayerPath, std::string("/opt/player/bin/play"));
    // The types read through TagLib come after the ten rows a new file has.
    QCOMPARE(TypeRows(config), std::string("mp3=0 mpga=1 rm=0 ra=0 ram=0 mid=1 midi=0 wav=1 "
                                           "wma=0 voc=0 flac=1 opus=1 "));

    // A hand-edited table (rows out of order, an unknown type, a flag 2 that
    // does not enable): unchanged flags leave their rows alone; a cleared
    // box keeps its row, switched off.
    config.fileTypes = {{"wav", 1}, {"ogg", 1}, {"mp3", 2}, {"mid", 0}, {"flac", 1}};
    dialog.CopyFromConfig(config);
    dialog.CopyToConfig(config);
    QCOMPARE(TypeRows(config), std::string("wav=1 ogg=1 mp3=2 mid=0 flac=1 "));
    dialog.wav = 0;
    dialog.mp3 = 1;
    dialog.voc = 1;
    dialog.flac = 0;
    dialog.CopyToConfig(config);
    QCOMPARE(TypeRows(config), std::string("wav=0 ogg=1 mp3=1 mid=0 flac=0 voc=1 "));
}

void DialogsTest::OkIsRefusedUntilTheSettingsHold() {
    const struct {
        QString changes;
        std::string message;
    } cases[] = {
        {"useDefaultPlayer=0 eyeProtector=1",
         "请点击\"浏览\"选择一个应用程序做为音乐播放器，或是选择\"使用系统默认播放器\""},
        {"eyeDelay=10001", "请输入一个介于 0 和 10000 之间的整数。"},
        // A reminder every 0 minutes could never remind.
        {"eyeProtector=1 eyeDelay=0",
         "视力保护提示的间隔至少为 1 分钟：请输入 1 到 10000 之间的分钟数，或者不启用视力保护"
         "提示。"}};
    for (const auto& c : cases) {
        CScopedRecordingPlatform recording;
        CSettingsDlg dialog;
        dialog.useDefaultPlayer = 1;
        dialog.eyeDelay = 60;
        bool stayedOpen = false;
        WhenShown<CSettingsDlg>([&](CSettingsDlg* shown) {
            Apply(shown, c.changes.split(' '));
            shown->accept();
            stayedOpen = shown->isVisible();
            Apply(shown, {"useDefaultPlayer=1", "eyeDelay=10000"});
            shown->accept();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY2(stayedOpen, qPrintable(c.changes));
        QCOMPARE(recording.platform.MessageTexts(), std::vector<std::string>({c.message}));
        QCOMPARE(QList<int>({dialog.useDefaultPlayer, dialog.eyeDelay}), QList<int>({1, 10000}));
    }
}

void DialogsTest::SettingsCommandRedrawsOnlyWhatChanged() {
    // A new interval keeps the running wait, the next reminder takes it up.
    // The result: playlist and song pane redraws; images of rows 1 to 3 (m3u,
    // folder, pls) and of the first song; the settings; the reminder's minutes.
    const struct {
        bool reminderOn;
        const char* changes;
        bool accept;
        QString result;
    } cases[] = {
        {false, "bugYellow=1", true, "1 0|2 3 2|0|3 1 0 60 1|"},
        {false, "musicLizard=1", true, "0 1|0 3 0|1|1 2 0 60 1|"},
        {false, "eyeProtector=1 eyeDelay=1", true, "0 0|0 3 0|0|1 1 1 1 1|1"},
        {true, "eyeDelay=45", true, "0 0|0 3 0|0|1 1 1 45 1|30"},
        {true, "eyeProtector=0", true, "0 0|0 3 0|0|1 1 0 30 1|"},
        {false, "bugGreen=1 type_wav=1 exitAlert=0 musicLizard=1", false,
         "0 0|0 3 0|0|1 1 0 60 1|"},
    };
    for (const auto& c : cases) {
        CShownLibrary shown;
        QVERIFY(shown.Show(SampleEntries(shown.Root())));
        CMainFrame& frame = *shown.frame;
        CAppConfig& config = shown.Manager().config;
        if (c.reminderOn) {
            config.EnableEyeProtector = 1;
            config.DelayOfEyeProtector = 30;
            frame.m_nEyeTimerID = frame.startTimer(30 * 60000);
        }
        ClickRow(shown.playList, 2);
        QSignalSpy playListResets(shown.playList->model(), &QAbstractItemModel::modelReset);
        QSignalSpy songResets(shown.songs->model(), &QAbstractItemModel::modelReset);
        const QStringList changes = QString(c.changes).split(' ', Qt::SkipEmptyParts);
        WhenShown<CSettingsDlg>([changes, accept = c.accept](CSettingsDlg* settings) {
            Apply(settings, changes);
            accept ? settings->accept() : settings->reject();
        });
        frame.RunCommand(ID_SETTINGS);
        QStringList minutes; // of the reminder's timer
        for (int period : Periods(shown)) {
            minutes << QString::number(period / 60000);
        }
        const QString row = QString(c.changes) + (c.accept ? ": " : " cancelled: ");
        QCOMPARE(row + QString("%1 %2|%3 %4 %5|%6|%7 %8 %9 %10 %11|%12")
                           .arg(playListResets.count())
                           .arg(songResets.isEmpty() ? 0 : 1)
                           .arg(shown.playList->ItemImage(1))
                           .arg(shown.playList->ItemImage(2))
                           .arg(shown.playList->ItemImage(3))
                           .arg(shown.songs->ItemImage(0))
                           .arg(config.IconPlaylistID)
                           .arg(config.IconMusicID)
                           .arg(config.EnableEyeProtector)
                           .arg(config.DelayOfEyeProtector)
                           .arg(config.IsExitAlert)
                           .arg(minutes.join(' ')),
                 row + c.result);
        QCOMPARE(shown.Titles(), QStringList({"甜蜜蜜", "月亮代表我的心"}));
        if (frame.m_nEyeTimerID != 0) {
            frame.killTimer(frame.m_nEyeTimerID);
        }
    }
}

void DialogsTest::ReminderTakesAUsableIntervalAndClosesAsAsked() {
    const struct {
        int enable, delay;
        QList<int> periods;
    } cases[] = {{1, 45, {2700000}}, {0, 45, {}}, {1, 0, {}}, {1, -5, {}}, {1, 20000, {600000000}}};
    for (const auto& c : cases) {
        CShownLibrary shown;
        QVERIFY(ShowReminder(shown, c.enable, c.delay));
        QVERIFY2(Periods(shown) == c.periods, qPrintable(QString::number(c.delay)));
    }
    // The reminder never stacks; it tells, and sets the timer with, the
    // interval of the moment.
    CShownLibrary shown;
    QVERIFY(ShowReminder(shown, 1, 45));
    shown.Manager().config.DelayOfEyeProtector = 30;
    FireReminder(shown);
    FireReminder(shown);
    QCOMPARE(OpenReminders(), 1);
    CEyeReminderDlg* dialog = shown.frame->m_pEyeReminder->Dialog();
    QCOMPARE(dialog->windowTitle() + dialog->MessageText()->text() + dialog->AdviceText()->text(),
             QStringLiteral("鸣蛩提醒您保护视力！您已在电脑前连续用眼30分钟了！为保护您的视力，"
                            "请稍作锻炼或休息。 ^_^"));
    dialog->accept();
    QCOMPARE(Periods(shown), QList<int>({1800000}));

    // Closing the reminder keeps or stops it until the exit, also from the tray.
    const struct {
        bool tick, escape, inTray;
        const char* saved;
    } closings[] = {{true, false, false, "EnableEyeProtector = 1;"},
                    {false, true, true, "EnableEyeProtector = 1;"},
                    {false, false, false, "EnableEyeProtector = 0;"}};
    for (const auto& c : closings) {
        CShownLibrary shown;
        QVERIFY(ShowReminder(shown, 1, 45));
        shown.frame->setVisible(!c.inTray);
        shown.frame->m_bMinimized = c.inTray ? 1 : 0;
        FireReminder(shown);
        CEyeReminderDlg* dialog = shown.frame->m_pEyeReminder->Dialog();
        QVERIFY(dialog->isVisible() && dialog->RemindAgainBox()->isChecked());
        dialog->RemindAgainBox()->setChecked(c.tick);
        c.escape ? QTest::keyClick(dialog, Qt::Key_Escape) : dialog->accept();
        QCOMPARE(Periods(shown).size(), c.tick || c.escape ? 1 : 0);
        QVERIFY(shown.frame->close());
        QVERIFY(Periods(shown).isEmpty());
        QVERIFY2(shown.dir.Read("Cricklet.ini").find(c.saved) != std::string::npos, c.saved);
    }
}

void DialogsTest::TrayIconAndMenuRestoreTheWindowOnlyWhenAsked() {
    CShownLibrary shown;
    QVERIFY(ShowTrayWindow(shown));
    CSystemTray& tray = *shown.frame->m_TrayIcon;
    // 显示主界面, 隐藏主界面, 取消弹出
    const std::initializer_list<int> trayCommands = {ID_SHOW_WINDOW, ID_HIDE_WINDOW,
                                                     ID_CANCEL_POPUP};
    // The offscreen desktop has no notification area: minimising keeps the
    // window where the user can find it.
    shown.frame->setWindowState(Qt::WindowMinimized);
    QTRY_COMPARE(shown.frame->m_bMinimized, 1);
    QTest::qWait(20);
    QVERIFY(shown.frame->isVisible() && !tray.Icon()->isVisible());
    QCOMPARE(shown.Enabled(trayCommands), QString("---"));
    shown.frame->setWindowState(Qt::WindowNoState);
    CTrayAvailability trayArea(true);
    tray.CheckAvailability();
    QVERIFY(tray.Icon()->isVisible());
    QCOMPARE(tray.Icon()->toolTip(), QStringLiteral("鸣蛩 一切音乐尽在掌握中! 请点击右键"));
    QCOMPARE(shown.Enabled(trayCommands), QString("-++"));
    shown.frame->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(shown.frame->isHidden());
    QCOMPARE(shown.Enabled(trayCommands), QString("+-+"));
    const struct {
        int iconId;
        QSystemTrayIcon::ActivationReason reason;
        int result;
    } cases[] = {{IDR_TRAY + 1, QSystemTrayIcon::DoubleClick, 0},
                 {IDR_TRAY, QSystemTrayIcon::Trigger, 1},
                 {IDR_TRAY, QSystemTrayIcon::DoubleClick, 1}};
    for (const auto& c : cases) {
        const bool hidden = shown.frame->isHidden();
        QVERIFY2(hidden && tray.OnTrayNotification(c.iconId, c.reason) == c.result,
                 qPrintable(QString::number(c.reason)));
    }
    QVERIFY(shown.frame->isVisible() && !shown.frame->isMinimized());
    QMenu* menu = tray.Menu();
    menu->popup(QPoint(10, 10));
    QStringList artists;
    for (QAction* action : CMainFrame::ArtistSubmenu(menu)->actions()) {
        artists << action->text();
    }
    QCOMPARE(artists, QStringList({"DJ", "陈奕迅", "<未命名>"}));
    menu->hide();
    // The panel ends: the hidden window comes back rather than be lost.
    QVERIFY(shown.frame->ExecuteCommand(ID_HIDE_WINDOW) && shown.frame->isHidden());
    trayArea.Set(false);
    tray.CheckAvailability();
    QVERIFY(shown.frame->isVisible() && !tray.Icon()->isVisible());
}

void DialogsTest::OnlyClosingTheWindowEndsTheProgram() {
    const CTrayAvailability trayArea(true);
    CShownLibrary shown;
    QVERIFY(ShowTrayWindow(shown));
    QVERIFY(shown.frame->ExecuteCommand(ID_HIDE_WINDOW));
    shown.Manager().config.IsExitAlert = 0;
    QStringList steps;
    QDialog message;
    QObject pending;
    QTimer::singleShot(0, &pending, [&] { message.show(); });
    QTimer::singleShot(50, &pending, [&] { message.accept(); });
    QTimer::singleShot(300, &pending, [&] {
        steps << "running";
        shown.frame->close();
    });
    QTimer::singleShot(3000, &pending, [&] {
        steps << "not ended";
        QApplication::exit(1);
    });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(steps, QStringList({"running"}));
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
