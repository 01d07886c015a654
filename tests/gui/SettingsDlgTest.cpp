// The settings dialog on its own (controls, enabling rule, refusals, the type
// boxes' rows) and the settings command on the real window (what OK redraws,
// the reminder timer).
#include "app/SettingsDlg.h"
#include "GuiHelpers.h"
#include "app/CommandIds.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "core/MusicManager.h"
#include "panes/PlayListView.h"
#include "panes/SongListView.h"
#include "support/RecordingPlatform.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <unistd.h>

namespace {

template <typename Widget> Widget* Child(QWidget* parent, const char* name) {
    return parent->findChild<Widget*>(QString::fromUtf8(name));
}

// The default type table, as the configuration file of a first start has it.
std::vector<FileTypeEntry> DefaultTypes() {
    return {{"mp3", 1}, {"mpga", 1}, {"rm", 0},  {"ra", 0},  {"ram", 0},
            {"mid", 1}, {"midi", 0}, {"wav", 0}, {"wma", 0}, {"voc", 0}};
}

// The settings a first start has.
void SetFirstStartSettings(CAppConfig& config) {
    config.IsUseDefaultPlayer = 1;
    config.PlayerPath.clear();
    config.IsImportDir = 1;
    config.IsHideWhenMin = 1;
    config.IsExitAlert = 1;
    config.IconPlaylistID = 1;
    config.IconMusicID = 1;
    config.fileTypes = DefaultTypes();
    config.EnableEyeProtector = 0;
    config.DelayOfEyeProtector = 60;
}

std::string TypeRows(const CAppConfig& config) {
    std::string text;
    for (const FileTypeEntry& row : config.fileTypes) {
        text += row.extension + "=" + std::to_string(row.enabled) + " ";
    }
    return text;
}

// A window on a library of three entries (two m3u, one folder) and four
// songs, in a fresh working folder, with questions and file dialogs
// answered by the test.
class CWindow : public CTestWindow {
public:
    CWindow() {
        CMusicManager& manager = *frame->m_pManager;
        SetFirstStartSettings(manager.config);
        for (const char* title : {"One", "Two", "Three"}) {
            auto entry = std::make_shared<CPlayListItem>();
            entry->title = title;
            entry->location = folder.Path();
            entry->fileName = std::string(title) + ".m3u";
            manager.entries.AddTail(entry);
        }
        manager.entries.GetAt(3)->fileName = folder.Path(); // a folder entry
        for (int i = 1; i <= 4; ++i) {
            auto song = std::make_shared<CSongItem>();
            song->title = "Song " + std::to_string(i);
            song->fileName = "song" + std::to_string(i) + ".mp3";
            song->location = folder.Path();
            manager.songs.AddTail(song);
        }
        frame->RefillPanes();
    }

    CAppConfig& Config() { return frame->m_pManager->config; }
};

} // namespace

class SettingsDlgTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsTheConfigurationAndWritesItBack();
    void TypeBoxesFollowTheirExtensionWhereverItsRowStands();
    void EnablingRuleFollowsTheTwoCheckBoxes();
    void RefusesOkWithoutAPlayerAndKeepsTheDialog();
    void RefusesAnIntervalOutsideTheRange();
    void BrowseSetsOnlyThePath();
    void OkWithoutChangesRefillsNothingAndKeepsTheTimer();
    void YellowBugRefillsThePlaylistPaneKeepingTheSelection();
    void NewMusicIconRefillsTheSongPane();
    void ZeroIntervalIsRefusedForTheReminder();
    void SwitchingTheReminderOnStartsTheTimerAndOffKillsIt();
    void CancelChangesNothing();
};

void SettingsDlgTest::ShowsTheConfigurationAndWritesItBack() {
    CAppConfig config;
    SetFirstStartSettings(config);
    config.IsUseDefaultPlayer = 0;
    config.PlayerPath = "/usr/bin/audacious";
    config.IsImportDir = 0;
    config.IsHideWhenMin = 1;
    config.IsExitAlert = 0;
    config.IconPlaylistID = 3;
    config.IconMusicID = 2;
    config.EnableEyeProtector = 1;
    config.DelayOfEyeProtector = 45;

    CSettingsDlg dialog;
    dialog.CopyFromConfig(config);
    QCOMPARE(dialog.bugColor, 2);
    QCOMPARE(dialog.musicIcon, 1);
    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        QVERIFY(!Child<QCheckBox>(shown, "useDefaultPlayer")->isChecked());
        QCOMPARE(Child<QLineEdit>(shown, "playerPath")->text(), QString("/usr/bin/audacious"));
        QVERIFY(!Child<QCheckBox>(shown, "importDirs")->isChecked());
        QVERIFY(Child<QCheckBox>(shown, "hideWhenMin")->isChecked());
        QVERIFY(!Child<QCheckBox>(shown, "exitAlert")->isChecked());
        QVERIFY(Child<QRadioButton>(shown, "bugYellow")->isChecked());
        QVERIFY(Child<QRadioButton>(shown, "musicLizard")->isChecked());
        QVERIFY(Child<QCheckBox>(shown, "eyeProtector")->isChecked());
        QCOMPARE(Child<QLineEdit>(shown, "eyeDelay")->text(), QString("45"));
        QVERIFY(Child<QCheckBox>(shown, "type_mp3")->isChecked());
        QVERIFY(Child<QCheckBox>(shown, "type_mid")->isChecked());
        QVERIFY(!Child<QCheckBox>(shown, "type_wav")->isChecked());
        // Change some of them and confirm.
        Child<QCheckBox>(shown, "importDirs")->setChecked(true);
        Child<QRadioButton>(shown, "bugGreen")->setChecked(true);
        Child<QRadioButton>(shown, "musicNote")->setChecked(true);
        Child<QCheckBox>(shown, "type_wav")->setChecked(true);
        Child<QCheckBox>(shown, "type_mp3")->setChecked(false);
        Child<QLineEdit>(shown, "eyeDelay")->setText("90");
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    dialog.CopyToConfig(config);
    QCOMPARE(config.IsImportDir, 1);
    QCOMPARE(config.IconPlaylistID, 2);
    QCOMPARE(config.IconMusicID, 1);
    QCOMPARE(config.DelayOfEyeProtector, 90);
    QCOMPARE(config.EnableEyeProtector, 1);
    QCOMPARE(config.PlayerPath, std::string("/usr/bin/audacious"));
    QCOMPARE(TypeRows(config), std::string("mp3=0 mpga=1 rm=0 ra=0 ram=0 mid=1 midi=0 wav=1 "
                                           "wma=0 voc=0 "));
}

void SettingsDlgTest::TypeBoxesFollowTheirExtensionWhereverItsRowStands() {
    // A hand-edited table: rows out of order, one unknown type, one flag 2
    // (which does not enable), most types missing.
    CAppConfig config;
    SetFirstStartSettings(config);
    config.fileTypes = {{"wav", 1}, {"ogg", 1}, {"mp3", 2}, {"mid", 0}};
    CSettingsDlg dialog;
    dialog.CopyFromConfig(config);
    QCOMPARE(dialog.wav, 1);
    QCOMPARE(dialog.mp3, 0);
    QCOMPARE(dialog.mid, 0);
    QCOMPARE(dialog.voc, 0);

    // Unchanged flags leave their rows alone (the 2 stays a 2).
    dialog.CopyToConfig(config);
    QCOMPARE(TypeRows(config), std::string("wav=1 ogg=1 mp3=2 mid=0 "));

    dialog.wav = 0;
    dialog.mp3 = 1;
    dialog.voc = 1;
    dialog.CopyToConfig(config);
    QCOMPARE(TypeRows(config), std::string("wav=0 ogg=1 mp3=1 mid=0 voc=1 "));
}

void SettingsDlgTest::EnablingRuleFollowsTheTwoCheckBoxes() {
    CSettingsDlg dialog;
    dialog.useDefaultPlayer = 1;
    dialog.eyeProtector = 0;
    dialog.eyeDelay = 60;
    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        auto* useDefault = Child<QCheckBox>(shown, "useDefaultPlayer");
        auto* path = Child<QLineEdit>(shown, "playerPath");
        auto* browse = Child<QPushButton>(shown, "browse");
        auto* eye = Child<QCheckBox>(shown, "eyeProtector");
        auto* delay = Child<QLineEdit>(shown, "eyeDelay");
        QVERIFY(!browse->isEnabled());
        QVERIFY(!path->isEnabled());
        QVERIFY(path->isReadOnly());
        QVERIFY(delay->isReadOnly());
        useDefault->click();
        eye->click();
        QVERIFY(browse->isEnabled());
        QVERIFY(path->isEnabled());
        QVERIFY(path->isReadOnly()); // chosen with the browse button only
        QVERIFY(!delay->isReadOnly());
        shown->reject();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

void SettingsDlgTest::RefusesOkWithoutAPlayerAndKeepsTheDialog() {
    CScopedRecordingPlatform recording;
    CSettingsDlg dialog;
    dialog.useDefaultPlayer = 0;
    dialog.eyeDelay = 60;
    bool stayedOpen = false;
    WhenShown<CSettingsDlg>([&stayedOpen](CSettingsDlg* shown) {
        shown->accept();
        stayedOpen = shown->isVisible();
        Child<QCheckBox>(shown, "useDefaultPlayer")->setChecked(true);
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(stayedOpen);
    QCOMPARE(recording.platform.messages.size(), size_t(1));
    QCOMPARE(recording.platform.messages[0].text,
             std::string("请点击\"浏览\"选择一个应用程序做为音乐播放器，或是选择"
                         "\"使用系统默认播放器\""));
    QCOMPARE(recording.platform.messages[0].caption, std::string("Cricklet"));
    QCOMPARE(dialog.useDefaultPlayer, 1);
}

void SettingsDlgTest::RefusesAnIntervalOutsideTheRange() {
    CScopedRecordingPlatform recording;
    CSettingsDlg dialog;
    dialog.useDefaultPlayer = 1;
    dialog.eyeDelay = 60;
    std::vector<bool> openAfter;
    WhenShown<CSettingsDlg>([&openAfter](CSettingsDlg* shown) {
        auto* delay = Child<QLineEdit>(shown, "eyeDelay");
        for (const char* text : {"10001", "", "-1"}) {
            delay->setText(QString::fromUtf8(text));
            shown->accept();
            openAfter.push_back(shown->isVisible());
        }
        delay->setText("10000");
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(openAfter, std::vector<bool>({true, true, true}));
    QCOMPARE(recording.platform.messages.size(), size_t(3));
    QCOMPARE(recording.platform.messages[0].text,
             std::string("请输入一个介于 0 和 10000 之间的整数。"));
    QCOMPARE(dialog.eyeDelay, 10000);
}

void SettingsDlgTest::BrowseSetsOnlyThePath() {
    CScriptedFileDialogs dialogs;
    dialogs.answers = {QString("/opt/player/bin/play")};
    SetFileDialogs(&dialogs);
    CSettingsDlg dialog;
    dialog.useDefaultPlayer = 0;
    dialog.playerPath = "/usr/bin/old";
    dialog.eyeDelay = 60;
    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        Child<QCheckBox>(shown, "type_wav")->setChecked(true); // not yet confirmed
        Child<QPushButton>(shown, "browse")->click();
        QCOMPARE(Child<QLineEdit>(shown, "playerPath")->text(), QString("/opt/player/bin/play"));
        QVERIFY(Child<QCheckBox>(shown, "type_wav")->isChecked());
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    SetFileDialogs(nullptr);
    QCOMPARE(dialog.playerPath, std::string("/opt/player/bin/play"));
    QCOMPARE(dialog.wav, 1);
    QCOMPARE(dialogs.requests.size(), size_t(1));
    QCOMPARE(dialogs.requests[0].kind, CFileDialogRequest::OpenFile);
    QCOMPARE(dialogs.requests[0].startFolder, QString("/usr/bin"));
    QCOMPARE(dialogs.requests[0].filter, QString("播放器程序 (*)"));
}

void SettingsDlgTest::OkWithoutChangesRefillsNothingAndKeepsTheTimer() {
    CWindow window;
    window.Config().EnableEyeProtector = 1;
    window.Config().DelayOfEyeProtector = 30;
    CMainFrame& frame = *window.frame;
    frame.m_nEyeTimerID = frame.startTimer(30 * 60000);
    const int timer = frame.m_nEyeTimerID;
    const std::string rowsBefore = TypeRows(window.Config());
    QSignalSpy playListResets(frame.GetPlayListPane()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy songResets(frame.GetSongPane()->model(), &QAbstractItemModel::modelReset);

    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) { shown->accept(); });
    frame.RunCommand(ID_SETTINGS);

    QCOMPARE(playListResets.count(), 0);
    QCOMPARE(songResets.count(), 0);
    QCOMPARE(frame.m_nEyeTimerID, timer);
    QCOMPARE(window.Config().EnableEyeProtector, 1);
    QCOMPARE(window.Config().DelayOfEyeProtector, 30);
    QCOMPARE(TypeRows(window.Config()), rowsBefore);
    frame.killTimer(timer);
}

void SettingsDlgTest::YellowBugRefillsThePlaylistPaneKeepingTheSelection() {
    CWindow window;
    CMainFrame& frame = *window.frame;
    CPlayListView* pane = frame.GetPlayListPane();
    pane->SelectRow(2, 1);
    QSignalSpy resets(pane->model(), &QAbstractItemModel::modelReset);

    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        Child<QRadioButton>(shown, "bugYellow")->setChecked(true);
        shown->accept();
    });
    frame.RunCommand(ID_SETTINGS);

    QCOMPARE(resets.count(), 1);
    QCOMPARE(window.Config().IconPlaylistID, 3);
    QCOMPARE(pane->ItemImage(1), 2);
    QCOMPARE(pane->ItemImage(2), 2);
    QCOMPARE(pane->ItemImage(3), 3); // the folder entry keeps the folder image
    QCOMPARE(pane->SelectedRows(), std::vector<int>({2}));
    QCOMPARE(pane->GetSelectionMark(), 2);
}

void SettingsDlgTest::NewMusicIconRefillsTheSongPane() {
    CWindow window;
    CMainFrame& frame = *window.frame;
    QSignalSpy playListResets(frame.GetPlayListPane()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy songResets(frame.GetSongPane()->model(), &QAbstractItemModel::modelReset);
    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        Child<QRadioButton>(shown, "musicLizard")->setChecked(true);
        shown->accept();
    });
    frame.RunCommand(ID_SETTINGS);
    QCOMPARE(window.Config().IconMusicID, 2);
    QCOMPARE(playListResets.count(), 0);
    QVERIFY(songResets.count() >= 1);
    QCOMPARE(frame.GetSongPane()->GetItemCount(), 4);
    QCOMPARE(frame.GetSongPane()->ItemImage(0), 1);
}

void SettingsDlgTest::ZeroIntervalIsRefusedForTheReminder() {
    CWindow window;
    CMainFrame& frame = *window.frame;
    bool keptOpen = false;
    WhenShown<CSettingsDlg>([&keptOpen](CSettingsDlg* shown) {
        Child<QCheckBox>(shown, "eyeProtector")->setChecked(true);
        Child<QLineEdit>(shown, "eyeDelay")->setText("0");
        shown->accept();
        keptOpen = shown->isVisible();
    });
    frame.RunCommand(ID_SETTINGS);
    QVERIFY(keptOpen);
    QCOMPARE(window.platform.MessageTexts().size(), size_t(1));
    QVERIFY(window.platform.MessageTexts()[0].find("至少为 1 分钟") != std::string::npos);
    QCOMPARE(window.Config().EnableEyeProtector, 0);
    QCOMPARE(window.Config().DelayOfEyeProtector, 60);
    QCOMPARE(frame.m_nEyeTimerID, 0);
}

void SettingsDlgTest::SwitchingTheReminderOnStartsTheTimerAndOffKillsIt() {
    CWindow window;
    CMainFrame& frame = *window.frame;
    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        Child<QCheckBox>(shown, "eyeProtector")->setChecked(true);
        Child<QLineEdit>(shown, "eyeDelay")->setText("1");
        shown->accept();
    });
    frame.RunCommand(ID_SETTINGS);
    QCOMPARE(window.Config().EnableEyeProtector, 1);
    QVERIFY(frame.m_nEyeTimerID != 0);

    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        Child<QCheckBox>(shown, "eyeProtector")->setChecked(false);
        shown->accept();
    });
    frame.RunCommand(ID_SETTINGS);
    QCOMPARE(window.Config().EnableEyeProtector, 0);
    QCOMPARE(frame.m_nEyeTimerID, 0);
}

void SettingsDlgTest::CancelChangesNothing() {
    CWindow window;
    CMainFrame& frame = *window.frame;
    const std::string rowsBefore = TypeRows(window.Config());
    WhenShown<CSettingsDlg>([](CSettingsDlg* shown) {
        Child<QRadioButton>(shown, "bugGreen")->setChecked(true);
        Child<QCheckBox>(shown, "type_wav")->setChecked(true);
        Child<QCheckBox>(shown, "exitAlert")->setChecked(false);
        shown->reject();
    });
    frame.RunCommand(ID_SETTINGS);
    QCOMPARE(window.Config().IconPlaylistID, 1);
    QCOMPARE(window.Config().IsExitAlert, 1);
    QCOMPARE(TypeRows(window.Config()), rowsBefore);
}

QTEST_MAIN(SettingsDlgTest)
#include "SettingsDlgTest.moc"
