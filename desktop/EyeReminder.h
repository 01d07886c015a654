// The eye-rest reminder: the main frame's timer with the interval of the
// settings, and the one reminder dialog it shows each time it fires.
#pragma once

#include "desktop/EyeReminderDlg.h"

#include <QObject>
#include <QPointer>

class CAppConfig;
class CMainFrame;
class QTimer;

class CEyeReminder : public QObject {
    Q_OBJECT
public:
    explicit CEyeReminder(CMainFrame& frame);
    ~CEyeReminder() override;

    // The timer's period for the settings; 0 when the reminder is off or its
    // interval is below one minute (it would fire without pause).
    static int PeriodMs(const CAppConfig& config);

    // Sets the frame's timer afresh with the settings' interval, or leaves it
    // stopped when the reminder is off.
    void Arm();
    // The timer fired: shows the reminder, unless one is open already or
    // waits for a modal dialog of the user's to close.
    void OnTimer();
    // The open reminder, null when none.
    CEyeReminderDlg* Dialog() const { return m_dialog; }
    // A reminder is due but held back by another modal dialog.
    bool IsWaiting() const;

private:
    void ShowWhenFree();
    void Show();
    void OnClosed(int remindAgain);

    CMainFrame& m_frame;
    QPointer<CEyeReminderDlg> m_dialog;
    QTimer* m_retry;
};
