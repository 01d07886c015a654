// The dialogs: the About box and its link labels, the lock that keeps a
// second copy from starting, the import-method question, and the settings
// dialog on its own and through the settings command on the real window.
#include "GuiHelpers.h"

#include "app/AboutDlg.h"
#include "app/CommandIds.h"
#include "app/ImportMethodDlg.h"
#include "app/SettingsDlg.h"
#include "app/TunecaseApp.h"
#include "desktop/HyperLinkLabel.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void LinkLabelOpensItsTextOnlyAsALink();
    void AboutBoxShowsItsTextsAndLinks();
    void SecondCopyFindsTheLockUntilTheFirstEnds();
    void MethodDialogShowsTheChoiceAndReturnsTheOneTaken();
    void SettingsShowTheConfigurationAndWriteItBack();
    void TypeBoxesFollowTheirExtensionWhereverItsRowStands();
    void EnablingRuleFollowsTheTwoCheckBoxes();
    void OkIsRefusedUntilTheSettingsHold_data();
    void OkIsRefusedUntilTheSettingsHold();
    void BrowseSetsOnlyThePath();
    void SettingsCommandRedrawsOnlyWhatChanged_data();
    void SettingsCommandRedrawsOnlyWhatChanged();
};

namespace {

// The named controls' states: 1 or 0 for boxes, the text of a line edit.
QString States(QWidget* dialog, std::initializer_list<const char*> names) {
    QStringList states;
    for (const char* name : names) {
        QWidget* control = dialog->findChild<QWidget*>(name);
        auto* edit = qobject_cast<QLineEdit*>(control);
        states << (edit                                                   ? edit->text()
                   : qobject_cast<QAbstractButton*>(control)->isChecked() ? QString("1")
                                                                          : QString("0"));
    }
    return states.join(' ');
}

// Changes given as "name=value": a box is checked for 1, an edit gets the text.
void Apply(QWidget* dialog, const QStringList& changes) {
    for (const QString& change : changes) {
        QWidget* control = dialog->findChild<QWidget*>(change.section('=', 0, 0));
        const QString value = change.section('=', 1);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(value);
        } else {
            qobject_cast<QAbstractButton*>(control)->setChecked(value == "1");
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

} // namespace

void DialogsTest::LinkLabelOpensItsTextOnlyAsALink() {
    CScopedRecordingPlatform recording;
    CHyperLinkLabel web(QStringLiteral("https://cricklet.example/"));
    CHyperLinkLabel mail(QStringLiteral("mailto:someone@example.org"));
    web.show();
    mail.show();
    QVERIFY(QTest::qWaitForWindowExposed(&web));
    QTest::mouseClick(&web, Qt::LeftButton);
    QVERIFY(recording.platform.openedPaths.empty());
    QCOMPARE(web.cursor().shape(), Qt::ArrowCursor);

    web.SetLink(true).SetTextColor(QColor(0, 0, 255)).SetFontUnderline(true);
    mail.SetLink(true).SetLinkCursor(QCursor(Qt::PointingHandCursor));
    QTest::mouseClick(&web, Qt::LeftButton);
    QTest::mouseClick(&mail, Qt::LeftButton);
    QTest::mouseClick(&mail, Qt::RightButton);
    QCOMPARE(recording.platform.openedPaths,
             std::vector<std::string>({"https://cricklet.example/", "mailto:someone@example.org"}));
    QCOMPARE(web.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(QList<bool>({web.font().underline(), mail.font().underline()}),
             QList<bool>({true, false}));
    QCOMPARE(mail.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(web.cursor().shape(), Qt::ArrowCursor);
}

void DialogsTest::AboutBoxShowsItsTextsAndLinks() {
    CAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("关于 Cricklet"));
    QVERIFY(dialog.AboutText().startsWith(
        QStringLiteral("Cricklet(鸣蛩)提供便捷的音乐管理,强大的曲目播放方式.\n"
                       "只需使用Cricklet，一切音乐尽在掌握中！\n\n")));
    QVERIFY(dialog.AboutText().contains(QStringLiteral("\n开发人员:")));
    for (CHyperLinkLabel* label : {dialog.WebLabel(), dialog.MailLabel()}) {
        QVERIFY(label->IsLink());
        QCOMPARE(label->TextColor(), QColor(0, 0, 255));
        QVERIFY(label->font().underline());
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }
    QCOMPARE(dialog.WebLabel()->Target(), AboutWebAddress());
    QVERIFY(!dialog.WebLabel()->text().isEmpty());
}

void DialogsTest::SecondCopyFindsTheLockUntilTheFirstEnds() {
    CTempDir dir;
    const QString path = QString::fromStdString(dir.File("instance.lock"));
    {
        QLockFile first(path);
        QVERIFY(AcquireInstanceLock(first));
        QLockFile second(path);
        QVERIFY(!AcquireInstanceLock(second));
    }
    QLockFile again(path);
    QVERIFY(AcquireInstanceLock(again));
    QCOMPARE(QString::fromUtf8(kAlreadyRunningText), QStringLiteral("鸣蛩(Cricklet) 已经运行了。"));
}

void DialogsTest::MethodDialogShowsTheChoiceAndReturnsTheOneTaken() {
    CImportMethodDlg dialog;
    QCOMPARE(dialog.choice, -1);
    QCOMPARE(dialog.windowTitle(), QString("Cricklet 导入音乐方式"));
    // OK takes the other choice; Cancel keeps the caller's.
    for (int result : {int(QDialog::Accepted), int(QDialog::Rejected)}) {
        dialog.choice = CImportMethodDlg::ChooseFolder;
        QString shown;
        WhenShown<CImportMethodDlg>([&shown, result](CImportMethodDlg* method) {
            shown = QString("%1 %2|%3|%4")
                        .arg(method->FolderRadio()->isChecked())
                        .arg(method->ListFileRadio()->isChecked())
                        .arg(method->FolderRadio()->text(), method->ListFileRadio()->text());
            method->ListFileRadio()->click();
            result == QDialog::Accepted ? method->accept() : method->reject();
        });
        QCOMPARE(dialog.exec(), result);
        QCOMPARE(
            shown,
            QString("1 0|选择一个文件夹导入里面的音乐文件|导入一个现有的Cricklet音乐单(.stp)"));
        QCOMPARE(dialog.choice, result == QDialog::Accepted ? int(CImportMethodDlg::ChooseListFile)
                                                            : int(CImportMethodDlg::ChooseFolder));
    }
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
    CSettingsDlg dialog;
    dialog.CopyFromConfig(config);
    QString shown;
    WhenShown<CSettingsDlg>([&shown](CSettingsDlg* settings) {
        shown = States(settings, {"useDefaultPlayer", "playerPath", "importDirs", "hideWhenMin",
                                  "exitAlert", "bugYellow", "musicLizard", "eyeProtector",
                                  "eyeDelay", "type_mp3", "type_mid", "type_wav"});
        Apply(settings, {"importDirs=1", "bugGreen=1", "musicNote=1", "type_wav=1", "type_mp3=0",
                         "eyeDelay=90"});
        settings->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(shown, QString("0 /usr/bin/audacious 0 1 0 1 1 1 45 1 1 0"));
    dialog.CopyToConfig(config);
    QCOMPARE(QList<int>({config.IsImportDir, config.IconPlaylistID, config.IconMusicID,
                         config.DelayOfEyeProtector, config.EnableEyeProtector}),
             QList<int>({1, 2, 1, 90, 1}));
    QCOMPARE(config.PlayerPath, std::string("/usr/bin/audacious"));
    QCOMPARE(TypeRows(config), std::string("mp3=0 mpga=1 rm=0 ra=0 ram=0 mid=1 midi=0 wav=1 "
                                           "wma=0 voc=0 "));
}

void DialogsTest::TypeBoxesFollowTheirExtensionWhereverItsRowStands() {
    // A hand-edited table: rows out of order, one unknown type, one flag 2
    // (which does not enable), most types missing.
    CAppConfig config;
    config.SetDefaults();
    config.fileTypes = {{"wav", 1}, {"ogg", 1}, {"mp3", 2}, {"mid", 0}};
    CSettingsDlg dialog;
    dialog.CopyFromConfig(config);
    QCOMPARE(QList<int>({dialog.wav, dialog.mp3, dialog.mid, dialog.voc}),
             QList<int>({1, 0, 0, 0}));
    // Unchanged flags leave their rows alone (the 2 stays a 2).
    dialog.CopyToConfig(config);
    QCOMPARE(TypeRows(config), std::string("wav=1 ogg=1 mp3=2 mid=0 "));
    dialog.wav = 0;
    dialog.mp3 = 1;
    dialog.voc = 1;
    dialog.CopyToConfig(config);
    QCOMPARE(TypeRows(config), std::string("wav=0 ogg=1 mp3=1 mid=0 voc=1 "));
}

void DialogsTest::EnablingRuleFollowsTheTwoCheckBoxes() {
    CSettingsDlg dialog;
    dialog.useDefaultPlayer = 1;
    dialog.eyeDelay = 60;
    QList<bool> before;
    QList<bool> after;
    WhenShown<CSettingsDlg>([&before, &after](CSettingsDlg* shown) {
        auto* path = shown->findChild<QLineEdit*>("playerPath");
        auto* delay = shown->findChild<QLineEdit*>("eyeDelay");
        auto* browse = shown->findChild<QPushButton*>("browse");
        before = {browse->isEnabled(), path->isEnabled(), path->isReadOnly(), delay->isReadOnly()};
        shown->findChild<QAbstractButton*>("useDefaultPlayer")->click();
        shown->findChild<QAbstractButton*>("eyeProtector")->click();
        // The path is chosen with the browse button only.
        after = {browse->isEnabled(), path->isEnabled(), path->isReadOnly(), delay->isReadOnly()};
        shown->reject();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(before, QList<bool>({false, false, true, true}));
    QCOMPARE(after, QList<bool>({true, true, true, false}));
}

void DialogsTest::OkIsRefusedUntilTheSettingsHold_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    const QString range = "请输入一个介于 0 和 10000 之间的整数。";
    QTest::newRow("no player") << "useDefaultPlayer=0"
                               << "请点击\"浏览\"选择一个应用程序做为音乐播放器，或是选择"
                                  "\"使用系统默认播放器\"";
    QTest::newRow("10001") << "eyeDelay=10001" << range;
    QTest::newRow("empty") << "eyeDelay=" << range;
    QTest::newRow("-1") << "eyeDelay=-1" << range;
}

void DialogsTest::OkIsRefusedUntilTheSettingsHold() {
    QFETCH(QString, change);
    QFETCH(QString, message);
    CScopedRecordingPlatform recording;
    CSettingsDlg dialog;
    dialog.useDefaultPlayer = 1;
    dialog.eyeDelay = 60;
    bool stayedOpen = false;
    WhenShown<CSettingsDlg>([&stayedOpen, change](CSettingsDlg* shown) {
        Apply(shown, {change});
        shown->accept();
        stayedOpen = shown->isVisible();
        Apply(shown, {"useDefaultPlayer=1", "eyeDelay=10000"});
        shown->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(stayedOpen);
    QCOMPARE(recording.platform.MessageTexts(), std::vector<std::string>({message.toStdString()}));
    QCOMPARE(recording.platform.messages[0].caption, std::string("Cricklet"));
    QCOMPARE(QList<int>({dialog.useDefaultPlayer, dialog.eyeDelay}), QList<int>({1, 10000}));
}

void DialogsTest::BrowseSetsOnlyThePath() {
    CScriptedFileDialogs dialogs;
    dialogs.answers = {QString("/opt/player/bin/play")};
    SetFileDialogs(&dialogs);
    CSettingsDlg dialog;
    dialog.playerPath = "/usr/bin/old";
    dialog.eyeDelay = 60;
    QString shown;
    WhenShown<CSettingsDlg>([&shown](CSettingsDlg* settings) {
        Apply(settings, {"type_wav=1"}); // not yet confirmed
        settings->findChild<QPushButton*>("browse")->click();
        shown = States(settings, {"playerPath", "type_wav"});
        settings->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    SetFileDialogs(nullptr);
    QCOMPARE(shown, QString("/opt/player/bin/play 1"));
    QCOMPARE(dialog.playerPath, std::string("/opt/player/bin/play"));
    QCOMPARE(dialog.wav, 1);
    QCOMPARE(dialogs.requests.size(), size_t(1));
    QCOMPARE(dialogs.requests[0].kind, CFileDialogRequest::OpenFile);
    QCOMPARE(dialogs.requests[0].startFolder, QString("/usr/bin"));
    QCOMPARE(dialogs.requests[0].filter, QString("播放器程序 (*)"));
}

void DialogsTest::SettingsCommandRedrawsOnlyWhatChanged_data() {
    QTest::addColumn<bool>("reminderOn");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("accept");
    // Playlist and song pane redraws; images of rows 1 to 3 (m3u, folder,
    // pls) and of the first song; the settings; the reminder timer.
    QTest::addColumn<QString>("result");
    QTest::newRow("ok unchanged") << true << QStringList() << true << "0 0|0 3 0|0|1 1 1 30 1|same";
    QTest::newRow("yellow bug") << false << QStringList({"bugYellow=1"}) << true
                                << "1 0|2 3 2|0|3 1 0 60 1|off";
    QTest::newRow("lizard") << false << QStringList({"musicLizard=1"}) << true
                            << "0 1|0 3 0|1|1 2 0 60 1|off";
    // A reminder every 0 minutes is refused; the dialog stays open.
    QTest::newRow("zero interval") << false << QStringList({"eyeProtector=1", "eyeDelay=0"}) << true
                                   << "0 0|0 3 0|0|1 1 0 60 1|off";
    QTest::newRow("reminder on") << false << QStringList({"eyeProtector=1", "eyeDelay=1"}) << true
                                 << "0 0|0 3 0|0|1 1 1 1 1|new";
    QTest::newRow("reminder off") << true << QStringList({"eyeProtector=0"}) << true
                                  << "0 0|0 3 0|0|1 1 0 30 1|off";
    QTest::newRow("cancel") << false
                            << QStringList(
                                   {"bugGreen=1", "type_wav=1", "exitAlert=0", "musicLizard=1"})
                            << false << "0 0|0 3 0|0|1 1 0 60 1|off";
}

void DialogsTest::SettingsCommandRedrawsOnlyWhatChanged() {
    QFETCH(bool, reminderOn);
    QFETCH(QStringList, changes);
    QFETCH(bool, accept);
    QFETCH(QString, result);
    CShownLibrary shown;
    QVERIFY(shown.Show(SampleEntries(shown.library.Dir().Path())));
    CMainFrame& frame = *shown.frame;
    CAppConfig& config = shown.Manager().config;
    if (reminderOn) {
        config.EnableEyeProtector = 1;
        config.DelayOfEyeProtector = 30;
        frame.m_nEyeTimerID = frame.startTimer(30 * 60000);
    }
    const int timer = frame.m_nEyeTimerID;
    const std::string types = TypeRows(config);
    ClickRow(shown.playList, 2);
    QSignalSpy playListResets(shown.playList->model(), &QAbstractItemModel::modelReset);
    QSignalSpy songResets(shown.songs->model(), &QAbstractItemModel::modelReset);
    WhenShown<CSettingsDlg>([changes, accept](CSettingsDlg* settings) {
        Apply(settings, changes);
        accept ? settings->accept() : settings->reject();
    });
    frame.RunCommand(ID_SETTINGS);

    const QString timerState = frame.m_nEyeTimerID == 0       ? "off"
                               : frame.m_nEyeTimerID == timer ? "same"
                                                              : "new";
    QCOMPARE(QString("%1 %2|%3 %4 %5|%6|%7 %8 %9 %10 %11|%12")
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
                 .arg(timerState),
             result);
    QCOMPARE(shown.playList->SelectedRows(), std::vector<int>({2}));
    QCOMPARE(shown.playList->GetSelectionMark(), 2);
    QCOMPARE(shown.Titles(), QStringList({"甜蜜蜜", "月亮代表我的心"}));
    if (changes.isEmpty() || !accept) {
        QCOMPARE(TypeRows(config), types);
    }
    if (frame.m_nEyeTimerID != 0) {
        frame.killTimer(frame.m_nEyeTimerID);
    }
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
