#include "desktop/EyeReminder.h"

#include "app/MainFrame.h"
#include "app/SettingsDlg.h"
#include "core/MusicManager.h"
#include "desktop/EyeReminderDlg.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>

namespace {

const int kMillisecondsPerMinute = 60000;
// How often a held-back reminder looks whether the user's dialog has closed.
const int kRetryMs = 1000;

} // namespace

CEyeReminder::CEyeReminder(CMainFrame& frame)
    : QObject(&frame), m_frame(frame), m_retry(new QTimer(this)) {
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryMs);
    connect(m_retry, &QTimer::timeout, this, &CEyeReminder::ShowWhenFree);
}

CEyeReminder::~CEyeReminder() {
    // A reminder above other programs has no parent to take it along.
    delete m_dialog;
}

int CEyeReminder::PeriodMs(const CAppConfig& config) {
    if (config.EnableEyeProtector == 0 || config.DelayOfEyeProtector < 1) {
        return 0;
    }
    // A hand-edited interval beyond the settings' range would overflow.
    return std::min(config.DelayOfEyeProtector, CSettingsDlg::kMaxEyeDelay) *
           kMillisecondsPerMinute;
}

void CEyeReminder::Arm() {
    m_frame.StopEyeTimer();
    const int period = PeriodMs(m_frame.m_pManager->config);
    if (period > 0) {
        m_frame.m_nEyeTimerID = m_frame.startTimer(period);
    }
}

bool CEyeReminder::IsWaiting() const {
    return m_retry->isActive();
}

void CEyeReminder::OnTimer() {
    // One reminder at a time: the timer keeps running while one is open.
    if (m_dialog != nullptr || IsWaiting()) {
        return;
    }
    ShowWhenFree();
}

void CEyeReminder::ShowWhenFree() {
    // Switched off while it waited.
    if (m_frame.m_nEyeTimerID == 0) {
        return;
    }
    // Never take the keyboard from a dialog the user is working in.
    if (QApplication::activeModalWidget() != nullptr) {
        m_retry->start();
        return;
    }
    Show();
}

void CEyeReminder::Show() {
    QApplication::beep();
    // While the program sits in the tray the reminder stands on its own,
    // above the other programs' windows.
    const bool owned = m_frame.isVisible() && m_frame.m_bMinimized == 0;
    auto* dialog = new CEyeReminderDlg(owned ? &m_frame : nullptr);
    if (!owned) {
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    // Closing the reminder while the window sits in the tray is not closing
    // the program's last window.
    dialog->setAttribute(Qt::WA_QuitOnClose, false);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->Fill(m_frame.m_pManager->config.DelayOfEyeProtector);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        m_dialog.clear();
        dialog->deleteLater();
        OnClosed(dialog->remindAgain);
    });
    m_dialog = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

// The next reminder comes a full interval after this one was closed.
void CEyeReminder::OnClosed(int remindAgain) {
    m_frame.m_pManager->config.EnableEyeProtector = remindAgain;
    m_frame.StopEyeTimer();
    if (remindAgain != 0) {
        Arm();
    }
}
