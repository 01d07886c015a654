// The eye-rest reminder on the real window: where its timer is set, killed
// and set again, what the dialog says and keeps, and that it neither stacks
// nor takes the keyboard from another dialog.
#include "desktop/EyeReminder.h"
#include "GuiHelpers.h"
#include "app/CommandIds.h"
#include "app/SettingsDlg.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimerEvent>
#include <QtTest>

#include <fstream>
#include <iterator>

namespace {

struct CReminderWindow {
    CReminderWindow(int enable, int delay) {
        library.Write(CMusicList(), {}, [enable, delay](CAppConfig& config) {
            config.EnableEyeProtector = enable;
            config.DelayOfEyeProtector = delay;
            config.IsExitAlert = 0;
        });
        frame = std::make_unique<CMainFrame>();
        frame->show();
    }
    // The periods of the frame's timers that run in whole minutes.
    QList<int> Periods() const {
        QList<int> periods;
        for (const auto& timer :
             QAbstractEventDispatcher::instance()->registeredTimers(frame.get())) {
            if (timer.interval % 60000 == 0) {
                periods << timer.interval;
            }
        }
        return periods;
    }
    void Fire() {
        QTimerEvent event(frame->m_nEyeTimerID);
        QCoreApplication::sendEvent(frame.get(), &event);
    }
    CEyeReminderDlg* Dialog() const { return frame->m_pEyeReminder->Dialog(); }
    int OpenDialogs() const {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            count += qobject_cast<CEyeReminderDlg*>(widget) != nullptr && widget->isVisible();
        }
        return count;
    }
    void Settings(bool on, const char* delay) {
        WhenShown<CSettingsDlg>([on, delay](CSettingsDlg* shown) {
            shown->findChild<QCheckBox*>("eyeProtector")->setChecked(on);
            shown->findChild<QLineEdit*>("eyeDelay")->setText(delay);
            shown->accept();
        });
        frame->RunCommand(ID_SETTINGS);
    }

    CScopedRecordingPlatform recording;
    CGuiLibrary library;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

class EyeReminderTest : public QObject {
    Q_OBJECT
private slots:
    void CreationArmsOnlyAUsableInterval();
    void SettingsAndEachReminderSetTheTimerWithTheCurrentInterval();
    void ClosingTheReminderKeepsOrStopsItUntilExitAlsoFromTheTray();
    void WaitsForTheUsersDialogAndNeverStacks();
};

void EyeReminderTest::CreationArmsOnlyAUsableInterval() {
    const struct {
        int enable, delay;
        QList<int> periods;
    } cases[] = {{1, 45, {2700000}}, {0, 45, {}}, {1, 0, {}}, {1, -5, {}}, {1, 20000, {600000000}}};
    for (const auto& c : cases) {
        CReminderWindow window(c.enable, c.delay);
        QVERIFY2(window.Periods() == c.periods, qPrintable(QString::number(c.delay)));
    }
}

void EyeReminderTest::SettingsAndEachReminderSetTheTimerWithTheCurrentInterval() {
    CReminderWindow window(1, 45);
    // A new interval keeps the running wait; the next reminder takes it up.
    window.Settings(true, "30");
    QCOMPARE(window.Periods(), QList<int>({2700000}));
    window.Fire();
    QCOMPARE(window.Dialog()->windowTitle(), QStringLiteral("鸣蛩提醒您保护视力！"));
    QCOMPARE(
        window.Dialog()->MessageText()->text() + window.Dialog()->AdviceText()->text(),
        QStringLiteral("您已在电脑前连续用眼30分钟了！为保护您的视力，请稍作锻炼或休息。 ^_^"));
    window.Dialog()->accept();
    QCOMPARE(window.Periods(), QList<int>({1800000}));
    window.Settings(false, "30");
    QCOMPARE(window.Periods(), QList<int>());
    window.Settings(true, "30");
    QCOMPARE(window.Periods(), QList<int>({1800000}));
}

void EyeReminderTest::ClosingTheReminderKeepsOrStopsItUntilExitAlsoFromTheTray() {
    const struct {
        bool tick, escape, inTray;
        const char* saved;
    } cases[] = {{true, false, false, "EnableEyeProtector = 1;"},
                 {false, true, true, "EnableEyeProtector = 1;"},
                 {false, false, false, "EnableEyeProtector = 0;"}};
    for (const auto& c : cases) {
        CReminderWindow window(1, 45);
        window.frame->setVisible(!c.inTray);
        window.frame->m_bMinimized = c.inTray ? 1 : 0;
        window.Fire();
        // In the tray it stands alone, above the other programs' windows.
        QCOMPARE(window.Dialog()->parentWidget() == nullptr, c.inTray);
        QCOMPARE(window.Dialog()->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.inTray);
        QVERIFY(window.Dialog()->isVisible() && window.Dialog()->RemindAgainBox()->isChecked());
        window.Dialog()->RemindAgainBox()->setChecked(c.tick);
        if (c.escape) {
            QTest::keyClick(window.Dialog(), Qt::Key_Escape);
        } else {
            window.Dialog()->accept();
        }
        QCOMPARE(window.Periods().size(), c.tick || c.escape ? 1 : 0);
        QVERIFY(window.frame->close());
        QVERIFY(window.Periods().isEmpty());
        std::ifstream in(window.library.Path("Cricklet.ini"));
        const std::string ini{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        QVERIFY2(ini.find(c.saved) != std::string::npos, c.saved);
    }
}

void EyeReminderTest::WaitsForTheUsersDialogAndNeverStacks() {
    CReminderWindow window(1, 45);
    QDialog userDialog(window.frame.get());
    userDialog.setModal(true);
    userDialog.show();
    QTRY_COMPARE(QApplication::activeModalWidget(), &userDialog);
    window.Fire();
    window.Fire();
    QCOMPARE(window.OpenDialogs(), 0);
    userDialog.close();
    QTRY_COMPARE(window.OpenDialogs(), 1);
    // Nor is a second one held back for when this one closes.
    window.Fire();
    QCOMPARE(window.OpenDialogs(), 1);
    QVERIFY(!window.frame->m_pEyeReminder->IsWaiting());
    window.Dialog()->accept();
    QCOMPARE(window.Periods(), QList<int>({2700000}));
}

QTEST_MAIN(EyeReminderTest)
#include "EyeReminderTest.moc"
